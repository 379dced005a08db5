// French people, addresses and numbers for the demo records: names as found in the Rhône and
// Isère, plates in the current national format, telephone numbers of the right regions.
#include <cctype>
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver::demo {

namespace {

const std::vector<const char*> kMen = {
    "Jean", "Pierre", "Michel", "André", "Philippe", "Alain", "Nicolas", "Christophe",
    "Laurent", "Stéphane", "Julien", "Sébastien", "Frédéric", "Olivier", "Thomas", "Mathieu",
    "François", "Jérôme", "Benoît", "Cédric", "Hugo", "Lucas", "Théo", "Raphaël", "Gaëtan",
    "Loïc", "Hervé", "Rémi", "Clément", "Maxime"};
const std::vector<const char*> kWomen = {
    "Marie", "Nathalie", "Isabelle", "Sylvie", "Catherine", "Françoise", "Valérie", "Sandrine",
    "Christine", "Céline", "Sophie", "Émilie", "Aurélie", "Camille", "Léa", "Chloé", "Manon",
    "Hélène", "Agnès", "Mélanie", "Amélie", "Élodie", "Noémie", "Inès", "Zoé", "Anaïs",
    "Géraldine", "Maëlle", "Océane", "Laëtitia"};
const std::vector<const char*> kSurnames = {
    "Martin", "Bernard", "Dubois", "Thomas", "Robert", "Richard", "Petit", "Durand", "Leroy",
    "Moreau", "Simon", "Laurent", "Lefèvre", "Michel", "Garcia", "David", "Bertrand", "Roux",
    "Vincent", "Fournier", "Morel", "Girard", "André", "Lefebvre", "Mercier", "Dupont",
    "Lambert", "Bonnet", "François", "Martinez", "Legrand", "Garnier", "Faure", "Rousseau",
    "Blanc", "Guérin", "Muller", "Henry", "Roussel", "Nicolas", "Perrin", "Morin", "Mathieu",
    "Clément", "Gauthier", "Dumont", "Lopez", "Fontaine", "Chevalier", "Robin", "Masson",
    "Sanchez", "Gérard", "Nguyen", "Boyer", "Denis", "Lemaire", "Duval", "Joly", "Gautier",
    "Roger", "Roche", "Roy", "Noël", "Meyer", "Lucas", "Meunier", "Jean", "Pérez", "Marchand",
    "Dufour", "Blanchard", "Marie", "Barbier", "Brun", "Dumas", "Brunet", "Schmitt", "Leroux",
    "Colin", "Fernandez", "Pierre", "Renard", "Arnaud", "Rolland", "Caron", "Aubert", "Giraud",
    "Leclerc", "Vidal", "Bourgeois", "Renaud", "Lemoine", "Picard", "Gaillard", "Philippe",
    "Leclercq", "Lacroix", "Fabre", "Dupuis", "Olivier", "Rodriguez", "Da Silva", "Hubert",
    "Louis", "Charles", "Guillot", "Rivière", "Le Gall", "Guillaume", "Adam", "Rey", "Moulin",
    "Gonzalez", "Berger", "Lecomte", "Ménard", "Fleury", "Deschamps", "Carpentier", "Julien",
    "Benoît", "Paris", "Maillard", "Marchal", "Aubry", "Vasseur", "Le Roux", "Renault",
    "Jacquet", "Collet", "Prévost", "Poirier", "Charpentier", "Royer", "Huet", "Baron",
    "Dupuy", "Pons", "Paul", "Laine", "Carré", "Breton", "Rémy", "Schneider", "Perrot",
    "Guyot", "Barre", "Marty", "Cousin", "D'Almeida", "Bouvier", "Cordier", "Chabert"};

const std::vector<const char*> kStreetKinds = {"rue", "avenue", "boulevard", "chemin",
                                               "allée", "place", "impasse", "route"};
const std::vector<const char*> kStreetNames = {
    "Victor Hugo", "Jean Jaurès", "de la République", "Pasteur", "du Général de Gaulle",
    "des Lilas", "de la Gare", "Émile Zola", "du Stade", "des Écoles", "de l'Église",
    "Gambetta", "Paul Bert", "des Tilleuls", "Voltaire", "du Moulin", "Jules Ferry",
    "de la Libération", "des Acacias", "Anatole France", "Édouard Herriot", "du Rhône",
    "de Belledonne", "du Vercors", "des Alpes", "Berthelot", "Garibaldi", "de Saint-Cyr"};

struct Town {
    const char* cp;
    const char* name;
};
const std::vector<Town> kLyonTowns = {
    {"69007", "Lyon"},        {"69008", "Lyon"},          {"69200", "Vénissieux"},
    {"69100", "Villeurbanne"}, {"69500", "Bron"},          {"69800", "Saint-Priest"},
    {"69400", "Villefranche-sur-Saône"}, {"69230", "Saint-Genis-Laval"},
    {"69600", "Oullins"},     {"69190", "Saint-Fons"},    {"69360", "Saint-Symphorien-d'Ozon"},
    {"69380", "Lozanne"},     {"69620", "Le Bois-d'Oingt"}, {"01600", "Trévoux"}};
const std::vector<Town> kIsereTowns = {
    {"38000", "Grenoble"},     {"38100", "Grenoble"},      {"38400", "Saint-Martin-d'Hères"},
    {"38130", "Échirolles"},   {"38500", "Voiron"},        {"38600", "Fontaine"},
    {"38120", "Saint-Égrève"}, {"38240", "Meylan"},        {"38330", "Montbonnot-Saint-Martin"},
    {"38210", "Tullins"},      {"38140", "Rives"},         {"38190", "Crolles"}};

const std::vector<const char*> kCompanies = {
    "Autos Distribution Rhône", "BCA Enchères Lyon", "Garage du Centre", "Auto Négoce 38",
    "Alpes VO Export", "Sud-Est Véhicules", "Garage Chabert & Fils", "Négoce Auto Dauphiné"};

// Letters of the plates: I, O and U are never used.
constexpr const char* kPlateLetters = "ABCDEFGHJKLMNPQRSTVWXYZ";

char PlateLetter(Random& rng) { return kPlateLetters[rng.Range(0, 22)]; }

// ASCII lower case of a Latin-1 name for an e-mail address: accents dropped, blanks and
// apostrophes removed.
std::string MailPart(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (std::isalnum(c)) out += static_cast<char>(std::tolower(c));
            if (c == '-') out += '-';
            continue;
        }
        // Two-byte UTF-8 letters of French names: map the common accented letters.
        if (c == 0xC3 && i + 1 < utf8.size()) {
            const unsigned char d = static_cast<unsigned char>(utf8[++i]);
            const char* map = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // from 0xA0 (à...)
            if (d >= 0xA0 && d <= 0xBF) {
                out += map[d - 0xA0];
            } else if (d >= 0x80 && d <= 0x9F) {
                out += static_cast<char>(std::tolower(
                    static_cast<unsigned char>("AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTs"[d - 0x80])));
            }
        }
    }
    return out;
}

}  // namespace

Person RandomPerson(Random& rng) {
    Person p;
    const bool woman = rng.Chance(48);
    p.civility = woman ? "Mme" : "M.";
    p.firstName = Latin1FromUtf8(woman ? rng.Pick(kWomen) : rng.Pick(kMen));
    if (rng.Chance(6)) {  // a composed first name now and then
        p.firstName += "-" + Latin1FromUtf8(woman ? rng.Pick(kWomen) : rng.Pick(kMen));
    }
    p.lastName = Latin1FromUtf8(rng.Pick(kSurnames));
    return p;
}

Address RandomAddress(Random& rng, std::string_view concession) {
    const Town& town = rng.Pick(concession == "DAU" ? kIsereTowns : kLyonTowns);
    Address a;
    a.street = std::to_string(rng.Range(1, 180)) + (rng.Chance(8) ? " bis " : " ") +
               Latin1FromUtf8(rng.Pick(kStreetKinds)) + " " +
               Latin1FromUtf8(rng.Pick(kStreetNames));
    a.cp = town.cp;
    a.town = Latin1FromUtf8(town.name);
    return a;
}

std::string RandomPlate(Random& rng) {
    std::string p;
    p += PlateLetter(rng);
    p += PlateLetter(rng);
    p += '-';
    const int n = rng.Range(1, 999);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03d", n);
    p += digits;
    p += '-';
    p += PlateLetter(rng);
    p += PlateLetter(rng);
    return p;
}

std::string RandomLandline(Random& rng, std::string_view concession) {
    // Lyon numbers begin 04 72 / 04 78, Grenoble 04 76.
    const char* prefix = concession == "DAU" ? "0476" : (rng.Chance(50) ? "0472" : "0478");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s%06d", prefix, rng.Range(0, 999999));
    return buf;
}

std::string RandomMobile(Random& rng) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0%d%08d", rng.Chance(70) ? 6 : 7, rng.Range(0, 99999999));
    return buf;
}

std::string EmailOf(const Person& person, Random& rng) {
    static const std::vector<const char*> domains = {"orange.fr", "free.fr", "gmail.com",
                                                     "laposte.net", "sfr.fr", "wanadoo.fr"};
    const std::string first = MailPart(Utf8FromLatin1(person.firstName));
    const std::string last = MailPart(Utf8FromLatin1(person.lastName));
    std::string mail = rng.Chance(50) ? first + "." + last : first.substr(0, 1) + last;
    if (rng.Chance(30)) mail += std::to_string(rng.Range(1, 99));
    return mail + "@" + rng.Pick(domains);
}

std::string RandomVin(Random& rng, std::string_view make) {
    // World manufacturer identifiers of the group's makes; others get a generic European one.
    std::string vin = make == "VOLKSWAGEN" ? "WVW"
                      : make == "AUDI"     ? "WAU"
                      : make == "SKODA"    ? "TMB"
                      : make == "SEAT"     ? "VSS"
                      : make == "RENAULT"  ? "VF1"
                      : make == "PEUGEOT"  ? "VF3"
                                           : "VF7";
    static const char* chars = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789";
    while (vin.size() < 17) vin += chars[rng.Range(0, 32)];
    return vin;
}

std::string RandomCompany(Random& rng) { return Latin1FromUtf8(rng.Pick(kCompanies)); }

}  // namespace tarmel::dataserver::demo
