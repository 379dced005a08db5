// The structure description of the demo dealership, computed from the window's control
// inventory: a field's position and size are its control's, converted to twips the way the tab
// builder converts them back, so every label lands beside its control.
#include "dataserver/demo/structure.h"

#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "formdesc/fieldkinds.h"
#include "inventory/inventory.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver::demo {

namespace {

using inventory::Kind;

constexpr int kTwips = 15;      // twips per pixel
constexpr int kTopOffset = 35;  // the tab builder subtracts 35 pixels from every top

// Rights tags (groups allowed to edit).
constexpr const char* kSales = "SVO;RVO;SUPERADMINS";
constexpr const char* kAccounts = "COMPTA;SUPERADMINS";
constexpr const char* kClients = "CLARUM;SVO;RVO;SUPERADMINS";
constexpr const char* kReadOnly = "READONLY";

constexpr int kAmountColour = 0x00800000;  // dark blue (blue is the third byte)

// What the inventory cannot say about a field: its caption, list, type, rights and defaults.
// tInfo / tControl 0 take the control's natural type (see NaturalType).
struct FieldDescription {
    const char* control;
    const char* caption;  // UTF-8
    const char* fieldInfo = "";
    int tInfo = 0;
    int tControl = 0;
    const char* tag = kSales;
    bool mandatory = false;
    int enabled = 0;
    const char* defval = "";  // UTF-8
    int length = -1;          // -1: the inventory's maximum length
};

constexpr FieldDescription Mand(FieldDescription s) { s.mandatory = true; return s; }

// Combos offering a staff member: the value is the staff identifier.
constexpr FieldDescription Staff(const char* control, const char* caption, const char* tag) {
    return FieldDescription{control, caption, "idCom;idCom", datatype::Integer,
                            kind::ComboPosition, tag};
}
constexpr FieldDescription Bool(const char* control, const char* caption) {
    return FieldDescription{control, caption, "", datatype::Boolean, kind::ComboText, kSales,
                            false, 0, "False"};
}
constexpr FieldDescription Int(const char* control, const char* caption, const char* tag = kSales) {
    return FieldDescription{control, caption, "", datatype::Integer, 0, tag};
}
constexpr FieldDescription Rubric(const char* control, const char* caption, const char* tag = kSales) {
    return FieldDescription{control, caption, "ListRubrics", 0, 0, tag};
}
constexpr FieldDescription List(const char* control, const char* caption, const char* list,
                         const char* tag = kSales) {
    return FieldDescription{control, caption, list, 0, 0, tag};
}
constexpr FieldDescription Accounts(const char* control, const char* caption, int tInfo = 0,
                             const char* fieldInfo = "") {
    return FieldDescription{control, caption, fieldInfo, tInfo, 0, kAccounts, false, 2};
}

// Captions: the tab builder puts a label 48 pixels left of a control in the middle columns and
// only 22 pixels left of one at 401 pixels or more, so the right-hand columns get short ones.
const FieldDescription kFields[] = {
    // Used vehicle (Sheet01).
    Mand(Int("cNVO", "N° VO")),
    Mand({"cInfoMarque", "Marque"}),
    {"cInfoModele", "Modèle", "ListModels"},
    {"cInfoVersion", "Version"},
    Rubric("cCarrosserie", "Carrosserie"),
    Rubric("cEnergie", "Énergie"),
    Rubric("cBoiteVitesse", "Boîte"),
    Rubric("cNbPortes", "Portes"),
    Int("cNbPlaces", "Places"),
    Int("cCV", "CV fiscaux"),
    Int("cKMS", "Kilométrage"),
    Rubric("cInfoCouleur", "Couleur"),
    {"cImmatriculation", "Immat.", "", 0, 0, kSales, false, 0, "", 10},
    {"cChassis", "Châssis"},
    {"cMEC", "1re MEC"},
    Mand(List("cSite", "Site", "Site")),
    Staff("cVendeur", "Vendeur", kSales),
    Rubric("cOrigine", "Origine"),
    Rubric("cOrigineVendeur", "Apporteur"),
    Rubric("cLieuStockage", "Stockage"),
    {"cDateEntree", "Entrée", "", 0, 0, kSales, false, 0, "now"},
    {"cDateOrdre", "Ordre"},
    {"cDateDisponibilite", "Dispo."},
    {"cDateLivraison", "Livré le"},
    List("cAcheteur", "Acheteur", "Acheteur"),
    {"cCP", "CP"},
    Rubric("cDestination", "Dest."),
    {"cModeTVA", "TVA", "ModeTVA", datatype::Integer, kind::ComboPosition, kSales, false, 0, "1"},
    {"cIntermediaire", "Interm."},
    Accounts("cMtComIntermediaire", "Com. int."),
    Accounts("cMtComVendeur", "Com. vd."),
    Bool("cFlagPrepaEsthetique", "Esthét."),
    Bool("cFlagPrepaCarrosserie", "Carross."),
    Bool("cFlagPrepaMecanique", "Méca."),
    Bool("cFlagEligible", "Éligible"),
    Rubric("cDureeGarantie", "Garantie"),
    Rubric("cTypeGarantie", "Type gar."),
    Accounts("cDateValidationGarantie", "Val. gar."),
    {"cPrixGarantie", "Prix gar."},
    {"cDatePresFinancement", "Prés. fin."},
    Accounts("cDatePaiement", "Paiement"),
    {"cPrixReprise", "Rep."},
    {"cMontantReprise", "MtR"},
    {"cCommentaireReprise", "Obs"},
    {"cPrixVente", "PV"},
    {"cTPVO", "TP"},
    {"ccTVA", "TVA"},
    Rubric("cTypeFinancement", "Fin."),
    Rubric("cFinanceur", "Org"),
    {"cVFinancement", "Mt"},
    {"cComFinPrevue", "Cp"},
    Accounts("cComFinRecue", "Cr"),
    {"cNomImage", "Ph.", "", 0, 0, kReadOnly},
    {"cMBrute", ""},  // the form labels the three margins itself
    {"cTotFrevo", ""},
    {"cMNette", ""},
    {"cCommentaires", ""},

    // Demonstration vehicle (Sheet02).
    Mand(Int("cVDNVO", "N° VD")),
    Mand({"cVDInfoMarque", "Marque"}),
    {"cVDInfoModele", "Modèle"},
    {"cVDInfoVersion", "Version"},
    {"cVDInfoTypeVersion", "Finition", "ListVersions"},
    Rubric("cVDCarrosserie", "Carrosserie"),
    Rubric("cVDEnergie", "Énergie"),
    Rubric("cVDBoiteVitesse", "Boîte"),
    Rubric("cVDNbPortes", "Portes"),
    Int("cVDNbPlaces", "Places"),
    Int("cVDCV", "CV fiscaux"),
    Int("cVDKMS", "Kilométrage"),
    {"cVDMEC", "1re MEC"},
    {"cVDImmatriculation", "Immat.", "", 0, 0, kSales, false, 0, "", 10},
    {"cVDChassis", "Châssis", "", 0, 0, kSales, false, 0, "", 25},
    {"cVDNomImage", "Photo", "", 0, 0, kReadOnly},
    List("cVDInfoCouleur", "Couleur", "InfoCouleur;InfoCouleur"),
    Rubric("cVDInfoCouleurInt", "Sellerie"),
    Mand(List("cVDSite", "Site", "Site")),
    {"cVDStatutVD", "Statut", "StatutVD;StatutVD", 0, 0, kSales, false, 0, "Démonstration"},
    Bool("cVDFlagNonDiffuse", "Non diff."),
    {"cVDCodeRemise", "Remise"},
    {"cVDPrixCatalogue", "Prix cat."},
    {"cVDPrixVente", "Prix"},
    {"cVDUtilisateur", "Utilisat."},
    {"cVDCommentaires", "Notes"},
    {"cVDInfoOptions", "Options"},

    // New vehicle (Sheet03), then its accounting panel.
    Mand(Int("cVNNVO", "N° VN")),
    Mand({"cVNInfoMarque", "Marque"}),
    {"cVNInfoModele", "Modèle"},
    {"cVNInfoVersion", "Version"},
    {"cVNInfoTypeVersion", "Finition", "ListVersions"},
    Rubric("cVNCarrosserie", "Carrosserie"),
    Rubric("cVNEnergie", "Énergie"),
    Rubric("cVNBoiteVitesse", "Boîte"),
    Rubric("cVNNbPortes", "Portes"),
    Int("cVNNbPlaces", "Places"),
    Int("cVNCV", "CV fiscaux"),
    List("cVNInfoCouleur", "Couleur", "InfoCouleur;InfoCouleur"),
    Rubric("cVNInfoCouleurInt", "Sellerie"),
    {"cVNImmatriculation", "Immat.", "", 0, 0, kSales, false, 0, "", 10},
    {"cVNChassis", "Châssis"},
    {"cVNMEC", "1re MEC"},
    Mand(List("cVNSite", "Site", "Site")),
    Staff("cVNVendeur", "Vendeur", kSales),
    List("cVNAcheteur", "Client", "Acheteur;Acheteur"),
    {"cVNCP", "CP", "", 0, 0, kSales, false, 0, "", 5},
    {"cVNDateOrdre", "Cde", "", 0, 0, kSales, false, 0, "now"},
    {"cVNDateCdeVW", "Usine"},
    {"cVNDateUpdateCde", "Maj cde"},
    {"cVNDateFabrication", "Fabric."},
    {"cVNDateDisponibilite", "Dispo."},
    {"cVNDateLivrMaxi", "Maxi"},
    {"cVNDateLivraison", "Livré le"},
    {"cVNDateDeclareLivre", "Déclaré"},
    {"cVNDateFacture", "Facture"},
    {"cVNDateDebutGarantie", "Garantie"},
    {"cVNDateAnnulation", "Annulé"},
    {"cVNDatePresFinancement", "Prés. fin."},
    Accounts("cVNDatePaiement", "Payé"),
    {"cVNStatutVN", "Statut", "StatutVN;StatutVN", 0, 0, kSales, false, 0, "Commandé"},
    List("cVNStatutVD", "Stat. VD", "StatutVD;StatutVD"),
    Bool("cVNFlagNonDiffuse", "Non diff."),
    Bool("cVNFlagEligible", "Éligible"),
    List("cVNDestination", "Dest.", "Destination;Destination"),
    {"cVNCodeRemise", "Remise"},
    {"cVNPrixCatalogue", "Prix cat."},
    {"cVNPrixVente", "Prix"},
    List("cVNTypeFinancement", "Fin.", "TypeFinancement;TypeFinancement"),
    List("cVNTypeFinancementDelai", "Dél.", "TypeFinancementDelai;TypeFinancementDelai"),
    List("cVNFinanceur", "Org.", "Financeur;Financeur"),
    {"cVNVFinancement", "Mt"},
    {"cVNComFinPrevue", "Cp"},
    Accounts("cVNComFinRecue", "Cr"),
    List("cVNReprMarque", "Rep.", "InfoMarque;InfoMarque"),
    {"cVNReprModele", "Mod."},
    Int("cVNReprNVO", "N°"),
    {"cVNReprPrix", "PR"},
    {"cVNCommentaires", "Obs"},
    {"cVNUtilisateur", "Util"},
    {"cVNCFMemo", "CF"},
    {"cVNInfoOptions", "Options"},
    Accounts("cVNDateAchat", "Achat"),
    Accounts("cVNMontantAchat", "Mt achat"),
    Accounts("cVNSituationAchat", "Situation", 0, "SituationAchat;SituationAchat"),
    Accounts("cVNDateEcheance", "Échéance"),
    Accounts("cVNDateEchTresorerie", "Éch. trés."),
    Accounts("cVNDateEchReglement", "Éch. régl."),
    Accounts("cVNMontantAcompte", "Acompte"),
    Accounts("cVNDateRecFinancement", "Reçu fin."),
    Accounts("cVNDateRecPaiement", "Reçu paie."),
    Accounts("cVNSolde", "Solde"),

    // Equipment (Sheet04): option lists of the vehicle.
    {"cInfoEquiInterieur", "Équipements intérieurs"},
    {"cInfoEquiExterieur", "Équipements extérieurs"},
    {"cInfoEquiSecurite", "Sécurité"},
    {"cInfoComplement", "Informations complémentaires"},

    // Refurbishment totals (Sheet05): the end-of-month figures are never written back.
    {"cFrevoPrevFDM", "Prévision", "", 0, 0, kReadOnly},
    {"cFrevoFixeFDM", "Fixe", "", 0, 0, kReadOnly},
    {"cFrevoIntFDM", "Interne", "", 0, 0, kReadOnly},
    {"cFrevoExtFDM", "Externe", "", 0, 0, kReadOnly},
    {"cFrevoTotFDM", "Total FDM", "", 0, 0, kReadOnly},
    {"cFrevoPrevision", "Prévis."},
    {"cFrevoFixe", "Fixe"},
    {"cFrevoInterne", "Interne"},
    {"cFrevoExterne", "Externe"},
    {"cFrevo", "Total"},

    // Client (Sheet07).
    List("aCliCivilite", "Civilité", "Civilite;Civilite", kClients),
    Mand({"aCliNom", "Nom", "", 0, 0, kClients, false, 0, "", 50}),
    {"aCliPrenom", "Prénom", "", 0, 0, kClients, false, 0, "", 50},
    {"aCliAdresse1", "Adresse", "", 0, 0, kClients, false, 0, "", 60},
    {"aCliAdresse2", "Compl.", "", 0, 0, kClients, false, 0, "", 60},
    {"aCliCP", "CP", "", 0, 0, kClients},
    {"aCliVille", "Ville", "", 0, 0, kClients, false, 0, "", 40},
    {"aCliPays", "Pays", "Pays;Pays", 0, 0, kClients, false, 0, "France"},
    {"aCliTelDom", "Tél. dom.", "", 0, 0, kClients, false, 0, "", 14},
    {"aCliMobile", "Mobile", "", 0, 0, kClients, false, 0, "", 14},
    {"aCliTelBur", "Tél. bur.", "", 0, 0, kClients, false, 0, "", 14},
    {"aCliEmail", "E-mail", "", 0, 0, kClients, false, 0, "", 60},
    {"aCliDateNaissance", "Né(e) le", "", 0, 0, kClients},
    List("aCliSituationFamille", "Famille", "SituationFamille;SituationFamille", kClients),
    Int("aCliNbEnfants", "Enfants", kClients),
    {"aCliProfession", "Métier", "", 0, 0, kClients},
    {"aCliEmployeur", "Employ.", "", 0, 0, kClients},
    List("aCliOrigine", "Origine", "OrigineClient;OrigineClient", kClients),
    Mand(List("aSite", "Site", "Site", kClients)),
    {"aidCom", "Vendeur", "", datatype::Integer, kind::ComboPosition, kClients},
    {"aCliObservations", "Obs.", "", 0, 0, kClients},

    // Client vehicle (Sheet08).
    Mand({"vInfoMarque", "Marque", "", 0, 0, kClients}),
    Mand({"vInfoModele", "Modèle", "", 0, 0, kClients}),
    {"vInfoVersion", "Version", "", 0, 0, kClients},
    {"vInfoTypeVersion", "Finition", "", 0, 0, kClients},
    {"vImmatriculation", "Immat.", "", 0, 0, kClients, false, 0, "", 10},
    {"vMEC", "1re MEC", "", 0, 0, kClients},
    Int("vKMS", "Km", kClients),
    {"vTypeVO", "Type", "TypeVehicule;TypeVehicule", datatype::Integer, kind::ComboPosition,
     kClients, false, 0, "1"},
    List("vSite", "Site", "Site;Site", kClients),
    {"vDateOrdre", "Commande", "", 0, 0, kClients},
    List("vTypeFinancement", "Fin.", "TypeFinancement;TypeFinancement", kClients),
    List("vAbbrFinancement", "Org.", "Financeur;Financeur", kClients),
    {"vMensualiteFinancement", "Mensual.", "", 0, 0, kClients},
    {"vDateFinFinancement", "Fin fin.", "", 0, 0, kClients},
    {"vDateFinGarantie", "Fin gar.", "", 0, 0, kClients},
    List("vSatisfVehicle", "Sat. VN", "Satisfaction;Satisfaction", kClients),
    List("vSatisfSAV", "Sat. SAV", "Satisfaction;Satisfaction", kClients),
    {"vDateLastSAV", "SAV", "", 0, 0, kClients},
    Int("vKmLastSAV", "", kClients),
    {"vDateNextSAV", "Pro.", "", 0, 0, kClients},
    Int("vKmNextSAV", "", kClients),
    {"vLieuEntretien1", "Lieu", "", 0, 0, kClients},
    {"vLieuEntretien2", "L2", "", 0, 0, kClients},

    // Next purchase (Sheet09).
    {"cPACliDateProchainAchat", "Proch. achat", "", 0, 0, kClients},
    {"cPAPADateSpirit", "Spirit", "", 0, 0, kClients},
    {"cPAPATypeVO", "Type de véhicule", "", 0, 0, kClients},
    {"cPAPASegment", "Segment", "", 0, 0, kClients},
    {"cPAPACarrosserie", "Carrosserie", "", 0, 0, kClients},
    {"cPAPAEnergie", "Énergie", "", 0, 0, kClients},
    List("cPAPAMarque1", "Marque", "InfoMarque;InfoMarque", kClients),
    List("cPAPAModele1", "Modèle", "InfoModele;InfoModele", kClients),
    List("cPAPAMarque2", "Marque", "InfoMarque;InfoMarque", kClients),
    List("cPAPAModele2", "Modèle", "InfoModele;InfoModele", kClients),
    {"cPAPAChoix1", "Modèles du site", "", 0, 0, kClients},
    {"cPAPAChoix2", "Autres modèles", "", 0, 0, kClients},
};

// Controls of a tab page that carry no record data, though their names begin with its prefix.
constexpr std::array<const char*, 1> kNotData = {"cTxtPathImage"};

const std::vector<PageDef> kPages = {
    {"_TVO", 0, "Véhicule d'occasion", "recVO", "tVehicles", "c"},
    {"_TVO", 1, "Fiche VO", "pgVO", "tVehicles", "c"},
    {"_TVO", 4, "Équipements", "pgEquip", "tVehicles", "c"},
    {"_TVO", 5, "Frais de remise en état", "pgFrevo", "tVO - Frevo", "c"},
    {"_TVO", 6, "Photos", "pgPhotos", "tVO - Liens Images", "c"},
    {"_TVD", 0, "Véhicule de démonstration", "recVD", "tVehicles", "cVD"},
    {"_TVD", 2, "Fiche VD", "pgVD", "tVehicles", "cVD"},
    {"_TVD", 4, "Équipements", "pgEquip", "tVehicles", "c"},
    {"_TVD", 6, "Photos", "pgPhotos", "tVO - Liens Images", "c"},
    {"_TVN", 0, "Véhicule neuf", "recVN", "tVehicles", "cVN"},
    {"_TVN", 3, "Fiche VN", "pgVN", "tVehicles", "cVN"},
    {"_TVN", 4, "Équipements", "pgEquip", "tVehicles", "c"},
    {"_TVN", 6, "Photos", "pgPhotos", "tVO - Liens Images", "c"},
    {"_TCL", 0, "Client", "recCL", "tClients", "a"},
    {"_TCL", 7, "Client", "pgClient", "tClients", "a"},
    {"_TCL", 8, "Véhicules", "pgVehicles", "TVehiclesClarum", "v"},
    {"_TCL", 9, "Projet d'achat", "pgProjet", "tClients", "cPA"},
};

// The hidden key of the row each page writes (no control: it makes the WHERE clause).
const char* KeyColumnOf(std::string_view fieldKey) {
    if (fieldKey == "pgClient" || fieldKey == "pgProjet") return "idClient";
    if (fieldKey == "pgVehicles") return "idTVO";
    return "idVO";
}

bool CarriesData(Kind kind) {
    switch (kind) {
    case Kind::Edit:
    case Kind::NumberEdit:
    case Kind::DatePicker:
    case Kind::Combo:
    case Kind::Memo:
    case Kind::ListBox:
        return true;
    default:
        return false;
    }
}

void NaturalType(Kind kind, int& tInfo, int& tControl) {
    switch (kind) {
    case Kind::DatePicker: tInfo = datatype::Date; tControl = kind::Text; break;
    case Kind::NumberEdit: tInfo = datatype::Decimal; tControl = kind::Text; break;
    case Kind::Combo: tInfo = datatype::Text; tControl = kind::ComboText; break;
    case Kind::ListBox: tInfo = datatype::Text; tControl = kind::ListBox; break;
    default: tInfo = datatype::Text; tControl = kind::Text; break;
    }
}

const FieldDescription& DescriptionOf(std::string_view control) {
    static const std::map<std::string_view, const FieldDescription*> byName = [] {
        std::map<std::string_view, const FieldDescription*> m;
        for (const FieldDescription& s : kFields) m.emplace(s.control, &s);
        return m;
    }();
    auto it = byName.find(control);
    if (it == byName.end()) {
        // A data control added to the window without a description would silently get no
        // label and no list; better to fail the generator (and its test) at once.
        throw std::logic_error("no field description for control " + std::string(control));
    }
    return *it->second;
}

StructEntry FieldEntry(const PageDef& page, const inventory::Entry& control, int idNum) {
    const FieldDescription& described = DescriptionOf(control.name);
    StructEntry e;
    e.descInfo = page.fieldKey;
    e.idNum = idNum;
    e.txtInfo = Latin1FromUtf8(described.caption);
    e.vInfo = std::string(control.name).substr(std::string_view(page.prefix).size());
    e.tag = described.tag;
    e.defval = Latin1FromUtf8(described.defval);
    e.width = control.width * kTwips;
    e.left = control.left * kTwips;
    e.top = (control.top + kTopOffset) * kTwips;
    e.height = control.height * kTwips;
    const bool isDate = control.kind == Kind::DatePicker;
    e.length = described.length >= 0 ? described.length : (isDate ? 0 : control.maxLength);
    NaturalType(control.kind, e.tInfo, e.tControl);
    if (described.tInfo != 0) e.tInfo = described.tInfo;
    if (described.tControl != 0) e.tControl = described.tControl;
    if (control.kind == Kind::NumberEdit && e.tInfo == datatype::Decimal) e.color = kAmountColour;
    e.notNull = described.mandatory ? "TRUE" : "FALSE";
    e.enabled = described.enabled;
    e.fieldInfo = described.fieldInfo;
    return e;
}

StructEntry KeyEntry(const PageDef& page) {
    StructEntry e;
    e.descInfo = page.fieldKey;
    e.vInfo = KeyColumnOf(page.fieldKey);
    e.tInfo = datatype::Integer;
    e.tControl = kind::Text;
    e.notNull = "FALSE";
    e.enabled = 3;
    return e;  // width 0: no control, no label
}

// The sheet ("Sheet01".."Sheet09") of a page number.
std::string SheetOf(int number) { return "Sheet0" + std::to_string(number); }

void AppendFields(const PageDef& page, std::vector<StructEntry>& out) {
    out.push_back(KeyEntry(page));
    const std::string sheet = SheetOf(page.number);
    const std::string_view prefix = page.prefix;
    int order = 0, panelOrder = 0;
    for (const inventory::Entry& c : inventory::Controls()) {
        const std::string_view parent = c.parent;
        const bool onPanel = parent == "PanelCompta" && sheet == "Sheet03";
        if (parent != sheet && !onPanel) continue;
        if (!CarriesData(c.kind)) continue;
        const std::string_view name = c.name;
        if (name.substr(0, prefix.size()) != prefix || name.size() == prefix.size()) continue;
        bool skip = false;
        for (const char* n : kNotData) skip = skip || name == n;
        // The "c" prefix of the used-vehicle page also begins the demonstration and new-vehicle
        // names; those belong to their own pages.
        if (prefix == "c" && (name.starts_with("cVD") || name.starts_with("cVN") ||
                              name.starts_with("cPA"))) {
            skip = true;
        }
        if (skip) continue;
        out.push_back(FieldEntry(page, c, onPanel ? 1000 + ++panelOrder : ++order));
    }
}

StructEntry PageEntry(const PageDef& page) {
    StructEntry e;
    e.descInfo = page.kind;
    e.idNum = page.number;
    e.txtInfo = Latin1FromUtf8(page.caption);
    e.vInfo = page.fieldKey;
    e.tag = page.table;
    e.defval = page.prefix;
    e.notNull = "FALSE";
    return e;
}

StructEntry ColumnEntry(const char* grid, const char* column, const char* caption, int tInfo,
                        int tControl, const char* tag, int width, const char* defval = "",
                        bool mandatory = false) {
    StructEntry e;
    e.descInfo = grid;
    e.vInfo = column;
    e.txtInfo = Latin1FromUtf8(caption);
    e.tInfo = tInfo;
    e.tControl = tControl;
    e.tag = tag;
    e.width = width;
    e.defval = defval;
    e.notNull = mandatory ? "TRUE" : "FALSE";
    return e;
}

// Width of a grid column in the inventory (pixels).
int ColumnWidth(const char* name) {
    const inventory::Entry* e = inventory::Find(name);
    return e ? e->width : 0;
}

void AppendGridColumns(std::vector<StructEntry>& out) {
    const char* frevoTag = "SVO;RVO;COMPTA;SUPERADMINS";
    // The line identifier is described with width 0: the grid hides it.
    out.push_back(ColumnEntry("gFrev", "idFrevo", "N°", datatype::Integer, kind::Text, "", 0));
    out.push_back(ColumnEntry("gFrev", "DateFrevo", "Date", datatype::Date, kind::Text, frevoTag,
                              ColumnWidth("DateFrevo"), "", true));
    out.push_back(ColumnEntry("gFrev", "LibelleFrevo", "Libellé", datatype::Text, kind::ComboText,
                              frevoTag, ColumnWidth("LibelleFrevo"), "", true));
    out.push_back(ColumnEntry("gFrev", "NComptable", "N° compte", datatype::Text, kind::Text,
                              kAccounts, ColumnWidth("NComptable")));
    out.push_back(ColumnEntry("gFrev", "NomFournisseur", "Fournisseur", datatype::Text,
                              kind::ComboText, frevoTag, ColumnWidth("NomFournisseur")));
    out.push_back(ColumnEntry("gFrev", "NFacture", "N° facture", datatype::Text, kind::Text,
                              frevoTag, ColumnWidth("NFacture")));
    out.push_back(ColumnEntry("gFrev", "TypeFrevo", "Type", datatype::Text, kind::ComboText,
                              frevoTag, ColumnWidth("TypeFrevo"), "", true));
    out.push_back(ColumnEntry("gFrev", "MontantHT", "Montant HT", datatype::Decimal, kind::Text,
                              frevoTag, ColumnWidth("MontantHT"), "", true));

    const char* actTag = "CLARUM;SUPERADMINS";
    out.push_back(ColumnEntry("gAct", "idAction", "N°", datatype::Integer, kind::Text, "",
                              ColumnWidth("idAction")));
    out.push_back(ColumnEntry("gAct", "DateAction", "Date", datatype::Date, kind::Text, actTag,
                              ColumnWidth("DateAction"), "now", true));
    out.push_back(ColumnEntry("gAct", "idCom", "Vendeur", datatype::Integer, kind::ComboPosition,
                              actTag, ColumnWidth("idCom"), "", true));
    out.push_back(ColumnEntry("gAct", "TypeAction", "Type", datatype::Integer, kind::ComboPosition,
                              actTag, ColumnWidth("TypeAction"), "1", true));
    out.push_back(ColumnEntry("gAct", "SujetAction", "Sujet", datatype::Integer,
                              kind::ComboPosition, actTag, ColumnWidth("SujetAction"), "1", true));
    out.push_back(ColumnEntry("gAct", "CommentaireAction", "Commentaire", datatype::Text,
                              kind::Text, actTag, ColumnWidth("CommentaireAction"), "", true));
    out.push_back(ColumnEntry("gAct", "DateRelance", "Relance", datatype::Date, kind::Text, actTag,
                              ColumnWidth("DateRelance")));
    out.push_back(ColumnEntry("gAct", "idComRelance", "Par", datatype::Integer, kind::ComboPosition,
                              actTag, ColumnWidth("idComRelance")));
    out.push_back(ColumnEntry("gAct", "SujetRelance", "Sujet", datatype::Integer,
                              kind::ComboPosition, actTag, ColumnWidth("SujetRelance")));
    out.push_back(ColumnEntry("gAct", "PrioriteRelance", "Priorité", datatype::Integer,
                              kind::ComboPosition, actTag, ColumnWidth("PrioriteRelance"), "2"));
}

}  // namespace

const std::vector<PageDef>& DemoPages() { return kPages; }

std::vector<StructEntry> DemoStructure() {
    std::vector<StructEntry> out;
    for (const PageDef& page : kPages) out.push_back(PageEntry(page));
    std::vector<std::string> done;
    for (const PageDef& page : kPages) {
        if (page.number == 0) continue;  // the record-level entries describe no field
        bool seen = false;
        for (const std::string& d : done) seen = seen || d == page.fieldKey;
        if (seen) continue;
        done.emplace_back(page.fieldKey);
        AppendFields(page, out);
    }
    AppendGridColumns(out);
    return out;
}

bool InsertStructure(SqlSession& db, std::string_view concession,
                     const std::vector<StructEntry>& entries, std::string& error) {
    std::unique_ptr<SqlStatement> st = db.Prepare(
        "INSERT INTO tStructure (Concession, Position, descInfo, idNum, txtInfo, vInfo, tag, "
        "defval, xWidth, xLeft, xTop, xHeight, xLength, tInfo, tControl, color, xNotNull, enabled, "
        "fieldInfo) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    int position = 0;
    for (const StructEntry& e : entries) {
        st->Bind(1, concession).Bind(2, int64_t{++position}).Bind(3, e.descInfo);
        st->Bind(4, int64_t{e.idNum}).Bind(5, e.txtInfo).Bind(6, e.vInfo).Bind(7, e.tag);
        st->Bind(8, e.defval);
        const int numbers[] = {e.width, e.left,     e.top,   e.height,
                               e.length, e.tInfo, e.tControl, e.color};
        for (int i = 0; i < 8; ++i) st->Bind(9 + i, int64_t{numbers[i]});
        st->Bind(17, e.notNull).Bind(18, int64_t{e.enabled}).Bind(19, e.fieldInfo);
        st->Step();
        if (!st->error().empty()) {
            error = st->error();
            return false;
        }
        st->Reset();
    }
    return true;
}

}  // namespace tarmel::dataserver::demo
