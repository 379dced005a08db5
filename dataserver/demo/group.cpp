// The demo dealership group "QUINTAR": two dealerships (Lyon Sud Automobiles "LYO" and Dauphiné
// Automobiles "DAU"), four sites, their staff, the users of the client with telling group
// combinations, and the date options of each dealership.
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"

namespace tarmel::dataserver::demo {

namespace {

const std::vector<SiteDef> kSites = {
    {"LYON-SUD", "LYO", "Lyon Sud Automobiles - Vénissieux", "VOLKSWAGEN AUDI SKODA", 290.0},
    {"VILLEFRANCHE", "LYO", "Lyon Sud Automobiles - Villefranche", "VOLKSWAGEN SKODA", 250.0},
    {"GRENOBLE", "DAU", "Dauphiné Automobiles - Grenoble", "SEAT CUPRA VOLKSWAGEN", 310.0},
    {"VOIRON", "DAU", "Dauphiné Automobiles - Voiron", "SEAT CUPRA", 0.0},
};

const std::vector<StaffDef> kStaff = {
    {1, "Julien Moreau", "LYON-SUD", "LYO", "Vendeur VO"},
    {2, "Karim Benali", "LYON-SUD", "LYO", "Vendeur VN"},
    {3, "Émilie Garnier", "LYON-SUD", "LYO", "Vendeuse VN"},
    {4, "Marc Girard", "LYON-SUD;VILLEFRANCHE", "LYO", "Chef des ventes"},
    {5, "Sophie Lefèvre", "LYON-SUD;VILLEFRANCHE", "LYO", "Comptable"},
    {6, "Nicolas Perrin", "VILLEFRANCHE", "LYO", "Vendeur VO"},
    {7, "Céline Dubois", "VILLEFRANCHE", "LYO", "Vendeuse VN"},
    {8, "Thomas Roux", "GRENOBLE", "DAU", "Vendeur VO"},
    {9, "Amélie Faure", "GRENOBLE", "DAU", "Vendeuse VN"},
    {10, "Hervé Chabert", "GRENOBLE;VOIRON", "DAU", "Directeur de site"},
    {11, "Nathalie Roche", "GRENOBLE;VOIRON", "DAU", "Comptable"},
    {12, "Loïc Mercier", "VOIRON", "DAU", "Vendeur VO"},
    {13, "Inès Gauthier", "VOIRON", "DAU", "Vendeuse VN"},
    {14, "François D'Almeida", "LYON-SUD", "LYO", "Conseiller fidélisation"},
};

struct UserDef {
    int id;
    const char* name;
    const char* concession;
    const char* sites;  // "#" for all sites
    const char* us1;
    const char* groups;  // as the group names are stored, some with the "USER_" prefix
};

// The telling combinations: a salesperson of one site, an accountant of the whole dealership,
// a site manager of two sites with the loyalty module, a super-administrator, a group-level user
// of "QUINTAR", and the same roles on the other dealership.
const std::vector<UserDef> kUsers = {
    {1, "Julien Moreau", "LYO", "LYON-SUD", "LYON-SUD", "SVO"},
    {2, "Sophie Lefèvre", "LYO", "#", "LYON-SUD", "USER_Compta"},
    {3, "Marc Girard", "LYO", "LYON-SUD;VILLEFRANCHE", "VILLEFRANCHE", "RVO;SVO;CLARUM"},
    {4, "Administrateur Tarmel", "LYO", "#", "LYON-SUD", "SUPERADMINS;COMPTA;CLARUM;RVO"},
    {5, "Claire Quintar", "QUINTAR", "#", "LYON-SUD", "USER_RVO;CLARUM"},
    {6, "Thomas Roux", "DAU", "GRENOBLE", "GRENOBLE", "SVO;CLARUM"},
    {7, "Nathalie Roche", "DAU", "#", "GRENOBLE", "COMPTA;RVO"},
    {8, "Hervé Chabert", "DAU", "GRENOBLE;VOIRON", "VOIRON", "RVO;SVO;CLARUM;SUPERADMINS"},
    {9, "François D'Almeida", "LYO", "LYON-SUD", "LYON-SUD", "CLARUM"},
};

struct ConcessionDef {
    const char* code;
    const char* name;
    const char* address;
    const char* cp;
    const char* town;
    const char* phone;
};
const std::vector<ConcessionDef> kConcessions = {
    {"LYO", "Lyon Sud Automobiles SAS", "12 avenue Jean Jaurès", "69200", "Vénissieux",
     "04 72 50 12 34"},
    {"DAU", "Dauphiné Automobiles SARL", "45 cours de la Libération", "38100", "Grenoble",
     "04 76 33 21 09"},
    {"QUINTAR", "Groupe Quintar Automobiles", "3 place Bellecour", "69002", "Lyon",
     "04 78 42 00 00"},
};

}  // namespace

const std::vector<SiteDef>& Sites() { return kSites; }
const std::vector<StaffDef>& Staff() { return kStaff; }

bool SeedGroup(SqlSession& db, std::string& error) {
    Inserter concession(db, "tConcessions",
                        {"Concession", "RaisonSociale", "Adresse", "CP", "Ville", "Telephone"});
    for (const ConcessionDef& c : kConcessions) {
        concession.Text("Concession", c.code).Utf8("RaisonSociale", c.name)
            .Utf8("Adresse", c.address).Text("CP", c.cp).Utf8("Ville", c.town)
            .Text("Telephone", c.phone);
        if (!concession.Run()) {
            error = concession.error();
            return false;
        }
    }
    Inserter site(db, "tSites", {"Site", "Concession", "LibelleSite", "Marques", "MontantFraisDossier"});
    for (const SiteDef& s : kSites) {
        site.Text("Site", s.site).Text("Concession", s.concession).Utf8("LibelleSite", s.label)
            .Text("Marques", s.makes).Real("MontantFraisDossier", s.fileFee);
        if (!site.Run()) {
            error = site.error();
            return false;
        }
    }
    Inserter staff(db, "tStaff", {"idCom", "cNom", "Site", "Concession", "Fonction"});
    for (const StaffDef& s : kStaff) {
        staff.Int("idCom", s.idCom).Utf8("cNom", s.name).Text("Site", s.sites)
            .Text("Concession", s.concession).Utf8("Fonction", s.role);
        if (!staff.Run()) {
            error = staff.error();
            return false;
        }
    }
    Inserter user(db, "tUsers", {"idUser", "Name_", "Concession", "UserSite", "US1", "Groups"});
    for (const UserDef& u : kUsers) {
        user.Int("idUser", u.id).Utf8("Name_", u.name).Text("Concession", u.concession)
            .Text("UserSite", u.sites).Text("US1", u.us1).Text("Groups", u.groups);
        if (!user.Run()) {
            error = user.error();
            return false;
        }
    }
    // Entries may be dated from the start of the previous year; refurbishment lines from the
    // start of this year's accounting period; loyalty actions further back.
    Inserter dates(db, "tOptDates", {"Concession", "Opt_LimiteDateDeb", "Opt_LimiteDateDebFrevo",
                                     "Opt_LimiteDateDebClarum"});
    for (const char* c : {"LYO", "DAU", "QUINTAR"}) {
        dates.Text("Concession", c).Date("Opt_LimiteDateDeb", DaysFromCivil(kAnchorYear - 3, 1, 1))
            .Date("Opt_LimiteDateDebFrevo", DaysFromCivil(kAnchorYear - 1, 1, 1))
            .Date("Opt_LimiteDateDebClarum", DaysFromCivil(kAnchorYear - 5, 1, 1));
        if (!dates.Run()) {
            error = dates.error();
            return false;
        }
    }
    return true;
}

}  // namespace tarmel::dataserver::demo
