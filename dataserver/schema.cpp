// The schema DDL and the table lists the statement guard checks against.
#include "dataserver/schema.h"

#include <array>

namespace tarmel::dataserver {

namespace {

// Text columns compare case-insensitively (NOCASE), as the dealership's former engine did; dates
// are ISO texts (declared DATE), amounts are declared MONEY (written with two decimals) and flags
// BOOLEAN (written True/False). The declared types drive the answer writer.
constexpr std::string_view kSchema = R"sql(
CREATE TABLE tVehicles (
  idVO INTEGER PRIMARY KEY, idTVO INTEGER UNIQUE, TypeVO INTEGER,
  StatutVD TEXT COLLATE NOCASE, StatutVN TEXT COLLATE NOCASE, NVO INTEGER,
  Immatriculation TEXT COLLATE NOCASE, Chassis TEXT COLLATE NOCASE,
  InfoMarque TEXT COLLATE NOCASE, InfoModele TEXT COLLATE NOCASE, InfoVersion TEXT COLLATE NOCASE,
  InfoTypeVersion TEXT COLLATE NOCASE, InfoCouleur TEXT COLLATE NOCASE,
  InfoCouleurInt TEXT COLLATE NOCASE, Carrosserie TEXT COLLATE NOCASE, Energie TEXT COLLATE NOCASE,
  BoiteVitesse TEXT COLLATE NOCASE, NbPortes TEXT COLLATE NOCASE, NbPlaces INTEGER, CV INTEGER,
  KMS INTEGER, MEC DATE, DateEntree DATE, DateValidationGarantie DATE, DateOrdre DATE,
  DateDisponibilite DATE, DateLivraison DATE, DatePresFinancement DATE, DatePaiement DATE,
  DateCdeVW DATE, DateAnnulation DATE, DateFabrication DATE, DateFacture DATE,
  DateDebutGarantie DATE, DateUpdateCde DATE, DateDeclareLivre DATE, DateLivrMaxi DATE,
  DateAchat DATE, DateEcheance DATE, DateEchTresorerie DATE, DateEchReglement DATE,
  DateRecFinancement DATE, DateRecPaiement DATE, DateCreation DATE,
  Origine TEXT COLLATE NOCASE, OrigineVendeur TEXT COLLATE NOCASE,
  FlagPrepaEsthetique BOOLEAN, FlagPrepaCarrosserie BOOLEAN, FlagPrepaMecanique BOOLEAN,
  FlagEligible BOOLEAN, FlagNonDiffuse BOOLEAN, Destination TEXT COLLATE NOCASE,
  ModeTVA INTEGER, DureeGarantie TEXT COLLATE NOCASE, TypeGarantie TEXT COLLATE NOCASE,
  LieuStockage TEXT COLLATE NOCASE, TypeFinancement TEXT COLLATE NOCASE,
  TypeFinancementDelai TEXT COLLATE NOCASE, Acheteur TEXT COLLATE NOCASE, Site TEXT COLLATE NOCASE,
  Vendeur INTEGER, Financeur TEXT COLLATE NOCASE, Commentaires TEXT COLLATE NOCASE,
  CommentaireReprise TEXT COLLATE NOCASE, CP TEXT COLLATE NOCASE,
  Intermediaire TEXT COLLATE NOCASE, NomImage TEXT COLLATE NOCASE, CodeRemise TEXT COLLATE NOCASE,
  Utilisateur TEXT COLLATE NOCASE, ReprMarque TEXT COLLATE NOCASE, ReprModele TEXT COLLATE NOCASE,
  ReprNVO INTEGER, ReprPrix MONEY, CFMemo TEXT COLLATE NOCASE, SituationAchat TEXT COLLATE NOCASE,
  InfoOptions TEXT COLLATE NOCASE, InfoEquiInterieur TEXT COLLATE NOCASE,
  InfoEquiExterieur TEXT COLLATE NOCASE, InfoEquiSecurite TEXT COLLATE NOCASE,
  InfoComplement TEXT COLLATE NOCASE,
  PrixVente MONEY, PrixReprise MONEY, TPVO MONEY, PrixGarantie MONEY, VFinancement MONEY,
  MontantReprise MONEY, MtComIntermediaire MONEY, MtComVendeur MONEY, ComFinPrevue MONEY,
  ComFinRecue MONEY, PrixCatalogue MONEY, MontantAchat MONEY, Solde MONEY, MontantAcompte MONEY,
  MNette MONEY, MBrute MONEY, cTVA MONEY, TotFrevo MONEY,
  Frevo MONEY, FrevoFixe MONEY, FrevoInterne MONEY, FrevoExterne MONEY, FrevoPrevision MONEY,
  FrevoTotFDM MONEY, FrevoFixeFDM MONEY, FrevoIntFDM MONEY, FrevoExtFDM MONEY, FrevoPrevFDM MONEY,
  Concession TEXT COLLATE NOCASE, idOwner INTEGER);
-- The searches filter on the dealership and order by the searched column, then the order date
-- (newest first); a group-level user searches without the dealership condition. The plate search,
-- the most frequent, finds every column it selects in its index: no row is read from the table.
CREATE INDEX tVehicles_plate ON tVehicles (Concession, Immatriculation, DateOrdre DESC, TypeVO,
  idTVO, StatutVD, NVO, InfoMarque, InfoModele, InfoVersion, Acheteur, Site, idOwner);
CREATE INDEX tVehicles_buyer ON tVehicles (Concession, Acheteur, DateOrdre DESC);
CREATE INDEX tVehicles_number ON tVehicles (Concession, NVO, DateOrdre DESC);
CREATE INDEX tVehicles_plate_all ON tVehicles (Immatriculation, DateOrdre DESC);
CREATE INDEX tVehicles_buyer_all ON tVehicles (Acheteur, DateOrdre DESC);
CREATE INDEX tVehicles_number_all ON tVehicles (NVO, DateOrdre DESC);

CREATE TABLE tClients (
  idClient INTEGER PRIMARY KEY, CliCivilite TEXT COLLATE NOCASE, CliOrigine TEXT COLLATE NOCASE,
  CliSituationFamille TEXT COLLATE NOCASE, Site TEXT COLLATE NOCASE, idCom INTEGER,
  CliPays TEXT COLLATE NOCASE, CliNom TEXT COLLATE NOCASE, CliPrenom TEXT COLLATE NOCASE,
  CliAdresse1 TEXT COLLATE NOCASE, CliAdresse2 TEXT COLLATE NOCASE, CliEmail TEXT COLLATE NOCASE,
  CliTelDom TEXT COLLATE NOCASE, CliMobile TEXT COLLATE NOCASE, CliTelBur TEXT COLLATE NOCASE,
  CliProfession TEXT COLLATE NOCASE, CliEmployeur TEXT COLLATE NOCASE,
  CliObservations TEXT COLLATE NOCASE, CliCP TEXT COLLATE NOCASE, CliVille TEXT COLLATE NOCASE,
  CliNbEnfants INTEGER, CliDateNaissance DATE, DateCreation DATE,
  CliDateProchainAchat DATE, PADateSpirit DATE, PATypeVO TEXT COLLATE NOCASE,
  PASegment TEXT COLLATE NOCASE, PACarrosserie TEXT COLLATE NOCASE, PAEnergie TEXT COLLATE NOCASE,
  PAChoix1 TEXT COLLATE NOCASE, PAChoix2 TEXT COLLATE NOCASE, PAMarque1 TEXT COLLATE NOCASE,
  PAModele1 TEXT COLLATE NOCASE, PAMarque2 TEXT COLLATE NOCASE, PAModele2 TEXT COLLATE NOCASE,
  Concession TEXT COLLATE NOCASE, idOwner INTEGER);
CREATE INDEX tClients_name ON tClients (Concession, CliNom, CliPrenom, idClient DESC);
CREATE INDEX tClients_mobile ON tClients (Concession, CliMobile, idClient DESC);
CREATE INDEX tClients_phone ON tClients (Concession, CliTelDom, idClient DESC);
CREATE INDEX tClients_name_all ON tClients (CliNom, CliPrenom, idClient DESC);
CREATE INDEX tClients_mobile_all ON tClients (CliMobile, idClient DESC);
CREATE INDEX tClients_phone_all ON tClients (CliTelDom, idClient DESC);

CREATE TABLE TVehiclesClarum (
  idTVO INTEGER PRIMARY KEY, idClient INTEGER, NVO INTEGER, TypeVO INTEGER,
  Immatriculation TEXT COLLATE NOCASE, InfoMarque TEXT COLLATE NOCASE,
  InfoModele TEXT COLLATE NOCASE, InfoVersion TEXT COLLATE NOCASE,
  InfoTypeVersion TEXT COLLATE NOCASE, Acheteur TEXT COLLATE NOCASE, Site TEXT COLLATE NOCASE,
  DateOrdre DATE, DateLastSAV DATE, DateNextSAV DATE, MEC DATE, DateFinGarantie DATE,
  DateFinFinancement DATE, TypeFinancement TEXT COLLATE NOCASE,
  AbbrFinancement TEXT COLLATE NOCASE, SatisfVehicle TEXT COLLATE NOCASE,
  SatisfSAV TEXT COLLATE NOCASE, LieuEntretien1 TEXT COLLATE NOCASE,
  LieuEntretien2 TEXT COLLATE NOCASE, MensualiteFinancement MONEY, KMS INTEGER,
  KmLastSAV INTEGER, KmNextSAV INTEGER, Concession TEXT COLLATE NOCASE, idOwner INTEGER);
CREATE INDEX TVehiclesClarum_client ON TVehiclesClarum (idClient);
CREATE INDEX TVehiclesClarum_plate ON TVehiclesClarum (Concession, Immatriculation, DateOrdre DESC);
CREATE INDEX TVehiclesClarum_plate_all ON TVehiclesClarum (Immatriculation, DateOrdre DESC);

CREATE TABLE [tVO - Frevo] (
  idFrevo INTEGER PRIMARY KEY, idVO INTEGER, DateFrevo DATE, LibelleFrevo TEXT COLLATE NOCASE,
  NComptable TEXT COLLATE NOCASE, NomFournisseur TEXT COLLATE NOCASE,
  NFacture TEXT COLLATE NOCASE, TypeFrevo TEXT COLLATE NOCASE, MontantHT MONEY);
CREATE INDEX tVO_Frevo_vehicle ON [tVO - Frevo] (idVO);

-- DateImage is a date and time, "yyyy-mm-dd hh:mm:ss".
CREATE TABLE [tVO - Liens Images] (
  idImage INTEGER PRIMARY KEY, idVO INTEGER, NumImage INTEGER, NomImage TEXT COLLATE NOCASE,
  DateImage DATE);
CREATE INDEX tVO_Images_vehicle ON [tVO - Liens Images] (idVO);

CREATE TABLE tActions (
  idAction INTEGER PRIMARY KEY, idClient INTEGER, DateAction DATE, idCom INTEGER,
  TypeAction INTEGER, SujetAction INTEGER, CommentaireAction TEXT COLLATE NOCASE,
  DateRelance DATE, idComRelance INTEGER, SujetRelance INTEGER, PrioriteRelance INTEGER);
CREATE INDEX tActions_client ON tActions (idClient);

CREATE TABLE ListRubrics (
  RubricType TEXT COLLATE NOCASE, RubricIndex INTEGER, RubricItem TEXT COLLATE NOCASE,
  RubricText TEXT COLLATE NOCASE);
CREATE INDEX ListRubrics_type ON ListRubrics (RubricType, RubricIndex);
CREATE TABLE ListModels (VMarque TEXT COLLATE NOCASE, VModele TEXT COLLATE NOCASE);
CREATE INDEX ListModels_make ON ListModels (VMarque, VModele);
CREATE TABLE ListVersions (
  VMarque TEXT COLLATE NOCASE, VModele TEXT COLLATE NOCASE, VVersion TEXT COLLATE NOCASE,
  VConcession TEXT COLLATE NOCASE);
CREATE INDEX ListVersions_model ON ListVersions (VConcession, VMarque, VModele);

CREATE TABLE tConcessions (Concession TEXT PRIMARY KEY COLLATE NOCASE, RaisonSociale TEXT,
  Adresse TEXT, CP TEXT, Ville TEXT, Telephone TEXT);
CREATE TABLE tSites (Site TEXT PRIMARY KEY COLLATE NOCASE, Concession TEXT COLLATE NOCASE,
  LibelleSite TEXT, Marques TEXT COLLATE NOCASE, MontantFraisDossier MONEY);
CREATE TABLE tStaff (idCom INTEGER PRIMARY KEY, cNom TEXT COLLATE NOCASE,
  Site TEXT COLLATE NOCASE, Concession TEXT COLLATE NOCASE, Fonction TEXT COLLATE NOCASE);
CREATE TABLE tUsers (idUser INTEGER PRIMARY KEY, Name_ TEXT, Concession TEXT COLLATE NOCASE,
  UserSite TEXT COLLATE NOCASE, US1 TEXT COLLATE NOCASE, Groups TEXT COLLATE NOCASE);
CREATE TABLE tOptDates (Concession TEXT PRIMARY KEY COLLATE NOCASE, Opt_LimiteDateDeb DATE,
  Opt_LimiteDateDebFrevo DATE, Opt_LimiteDateDebClarum DATE);
CREATE TABLE tReservations (idResa INTEGER PRIMARY KEY, idVO INTEGER, DResaMax DATE,
  Vendeur TEXT, Acheteur TEXT, Commentaire TEXT);
CREATE INDEX tReservations_vehicle ON tReservations (idVO);
-- The structure description, one row per entry in document order; Concession '*' is the group's
-- description, used by every dealership that has none of its own.
CREATE TABLE tStructure (Concession TEXT COLLATE NOCASE, Position INTEGER, descInfo TEXT,
  idNum INTEGER, txtInfo TEXT, vInfo TEXT, tag TEXT, defval TEXT, xWidth INTEGER, xLeft INTEGER,
  xTop INTEGER, xHeight INTEGER, xLength INTEGER, tInfo INTEGER, tControl INTEGER, color INTEGER,
  xNotNull TEXT, enabled INTEGER, fieldInfo TEXT);
CREATE INDEX tStructure_order ON tStructure (Concession, Position);
-- Option lists of the list-box fields (code and label, in display order).
CREATE TABLE tOptionLists (ListKey TEXT COLLATE NOCASE, Position INTEGER, Abbr TEXT, eText TEXT);
CREATE INDEX tOptionLists_key ON tOptionLists (ListKey, Position);

CREATE TABLE tCounters (Name TEXT PRIMARY KEY, Value INTEGER NOT NULL);
INSERT INTO tCounters VALUES ('NewID', 1000);
CREATE TABLE tSmsLog (idSms INTEGER PRIMARY KEY, DateEnvoi TEXT, Destinataire TEXT, Texte TEXT);
)sql";

// Version 1 declared the photo date TEXT and the demo wrote it "dd/mm/yyyy", while the client
// writes "yyyy-mm-dd hh:mm:ss": the answers showed both. SQLite cannot change a declared type in
// place, so the table is rebuilt (its definition as in the schema above) and each date moved to
// ISO, a date without a time taking midnight; a text that is no date is kept as it is.
constexpr std::string_view kUpgradeFrom1 = R"sql(
CREATE TABLE [tVO - Liens Images upgrade] (
  idImage INTEGER PRIMARY KEY, idVO INTEGER, NumImage INTEGER, NomImage TEXT COLLATE NOCASE,
  DateImage DATE);
INSERT INTO [tVO - Liens Images upgrade] (idImage, idVO, NumImage, NomImage, DateImage)
  SELECT idImage, idVO, NumImage, NomImage, CASE
    WHEN DateImage GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'
      THEN substr(DateImage, 7, 4) || '-' || substr(DateImage, 4, 2) || '-' ||
           substr(DateImage, 1, 2) || ' 00:00:00'
    WHEN DateImage GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9] [0-9]*'
      THEN substr(DateImage, 7, 4) || '-' || substr(DateImage, 4, 2) || '-' ||
           substr(DateImage, 1, 2) || substr(DateImage, 11)
    WHEN DateImage GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' THEN DateImage || ' 00:00:00'
    ELSE DateImage END
  FROM [tVO - Liens Images];
DROP TABLE [tVO - Liens Images];
ALTER TABLE [tVO - Liens Images upgrade] RENAME TO [tVO - Liens Images];
CREATE INDEX tVO_Images_vehicle ON [tVO - Liens Images] (idVO);
)sql";

// Names as the authorizer reports them (without brackets).
constexpr std::array<std::string_view, 9> kWritable = {
    "tVehicles", "tClients",    "tVO - Frevo", "tVO - Liens Images", "TVehiclesClarum",
    "tActions",  "ListRubrics", "ListModels",  "ListVersions"};
constexpr std::array<std::string_view, 8> kReferenceOnly = {
    "tConcessions", "tSites",        "tStaff",     "tUsers",
    "tOptDates",    "tReservations", "tStructure", "tOptionLists"};

// ASCII case folding only: table names are ASCII.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::string_view SchemaSql() {
    return kSchema;
}

std::string_view UpgradeSql(int from) {
    return from == 1 ? kUpgradeFrom1 : std::string_view();
}

std::span<const std::string_view> WritableTables() {
    return kWritable;
}

bool IsWritableTable(std::string_view table) {
    for (std::string_view t : kWritable) {
        if (SameName(t, table)) return true;
    }
    return false;
}

std::vector<std::string_view> ReadableTables() {
    std::vector<std::string_view> tables(kWritable.begin(), kWritable.end());
    tables.insert(tables.end(), kReferenceOnly.begin(), kReferenceOnly.end());
    return tables;
}

bool IsReadableTable(std::string_view table) {
    if (IsWritableTable(table)) return true;
    for (std::string_view t : kReferenceOnly) {
        if (SameName(t, table)) return true;
    }
    return false;
}

}  // namespace tarmel::dataserver
