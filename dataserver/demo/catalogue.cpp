// The catalogue of the demo group: parameter lists (seeded into ListRubrics, so list
// maintenance edits them), used-vehicle makes and models (ListModels), new-vehicle makes, models
// and trims per dealership (ListVersions), and the option lists of the list-box fields.
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"

namespace tarmel::dataserver::demo {

namespace {

using Items = std::vector<const char*>;

// Lists whose first item ".." offers an empty choice in a combo. Lists read by position (VAT
// mode, action types, booleans...) have none, so that positions count from their first item.
const std::vector<std::pair<const char*, Items>> kParameterLists = {
    {"BOOLEAN", {"Non", "Oui"}},
    {"ModeTVA", {"TVA sur la marge", "Hors TVA (export)"}},
    {"TypeFinancement", {"..", "COMPTANT", "CREDIT", "LOA", "LLD"}},
    {"TypeFinancementDelai", {"30", "COMPTANT : 8", "CREDIT : 45", "LOA : 30", "LLD : 60"}},
    {"Financeur", {"..", "VW BANK", "DIAC", "CETELEM", "SOFINCO", "FRANFINANCE", "CA CONSUMER"}},
    {"TypeFrevo", {"INTERNE", "EXTERNE", "FIXE", "PREVISION"}},
    {"LibFrevo", {"Révision complète", "Pneumatiques", "Carrosserie", "Peinture",
                  "Nettoyage esthétique", "Contrôle technique", "Freinage", "Distribution",
                  "Frais de dossier", "Pare-brise", "Climatisation", "Débosselage sans peinture"}},
    {"Fournisseur", {"Atelier Lyon-Sud", "Carrosserie Martin", "Point S Vénissieux", "Norauto",
                     "Euromaster", "Dekra", "Speedy", "France Pare-Brise", "Carglass",
                     "Garage Chabert & Fils"}},
    {"TypeAction", {"Appel sortant", "Appel entrant", "Courrier", "E-mail", "SMS",
                    "Visite showroom", "Essai"}},
    {"SujetAction", {"Relance devis", "Proposition de reprise", "Invitation essai",
                     "Satisfaction livraison", "Rappel entretien", "Fin de financement",
                     "Anniversaire"}},
    {"PrioriteRelance", {"Basse", "Normale", "Haute", "Urgente"}},
    {"TVTypeVO", {"Tous", "VO", "VN", "VD"}},
    {"Carrosserie", {"..", "Berline", "Break", "Citadine", "Coupé", "Cabriolet", "SUV",
                     "Monospace", "Utilitaire"}},
    {"Energie", {"..", "Essence", "Diesel", "Hybride", "Hybride rechargeable", "Électrique",
                 "GPL"}},
    {"BoiteVitesse", {"..", "Manuelle", "Automatique", "Robotisée"}},
    {"NbPortes", {"..", "3", "5"}},
    {"InfoCouleur", {"..", "Blanc Pur", "Noir Intense", "Gris Platine", "Bleu Atlantique",
                     "Rouge Tornado", "Argent Réflexe", "Gris Urano", "Vert Kings"}},
    {"InfoCouleurInt", {"..", "Tissu noir", "Tissu gris", "Cuir noir", "Cuir beige",
                        "Alcantara"}},
    {"Origine", {"..", "Reprise VN", "Reprise VO", "Achat marchand", "Véhicule de direction",
                 "Retour LLD"}},
    {"OrigineVendeur", {"..", "Vendeur VN", "Vendeur VO", "Direction", "Apporteur d'affaires"}},
    {"LieuStockage", {"..", "Parc Lyon-Sud", "Parc Villefranche", "Parc Grenoble",
                      "Parc Voiron", "Préparation", "Carrosserie"}},
    {"Acheteur", {"..", "Autos Distribution Rhône", "BCA Enchères Lyon", "Garage du Centre",
                  "Alpes VO Export"}},
    {"Destination", {"..", "PARTICULIERS", "MARCHANDS", "GROUPE", "EXPORT"}},
    {"DureeGarantie", {"..", "3 mois", "6 mois", "12 mois", "24 mois"}},
    {"TypeGarantie", {"..", "Garantie légale", "Garantie constructeur", "Garantie Premium",
                      "Garantie moteur-boîte"}},
    {"StatutVD", {"..", "Démonstration", "Véhicule de direction", "Courtoisie"}},
    {"StatutVN", {"..", "Commandé", "En production", "En transit", "En stock", "Livré",
                  "Annulé"}},
    {"SituationAchat", {"..", "À payer", "Payé", "Financé", "Litige"}},
    {"Civilite", {"..", "M.", "Mme", "Mlle", "Société"}},
    {"Pays", {"France", "Belgique", "Suisse", "Italie", "Espagne", "Allemagne"}},
    {"SituationFamille", {"..", "Célibataire", "Marié(e)", "Pacsé(e)", "Divorcé(e)",
                          "Veuf(ve)"}},
    {"OrigineClient", {"..", "Showroom", "Site internet", "Recommandation", "Salon",
                       "Publipostage", "Petites annonces"}},
    {"TypeVehicule", {"Occasion (VO)", "Neuf (VN)", "Démonstration (VD)"}},
    {"Satisfaction", {"..", "Très satisfait", "Satisfait", "Peu satisfait", "Mécontent"}},
};

// Each dealership's VAT rate, in percent: the French standard rate. Its "TauxTVA" row names the
// dealership as its item, so that each dealership's lists send only its own.
const std::vector<std::pair<const char*, const char*>> kVatRates = {{"LYO", "20"}, {"DAU", "20"}};

const std::vector<std::pair<const char*, std::vector<Option>>> kOptionLists = {
    {"InfoOptions", {{"TOE", "Toit ouvrant électrique"}, {"GPS", "Navigation GPS"},
                     {"JA17", "Jantes alliage 17\""}, {"PHIV", "Pack hiver"},
                     {"CAM", "Caméra de recul"}, {"ACC", "Régulateur adaptatif"},
                     {"HUD", "Affichage tête haute"}, {"ATT", "Attelage"},
                     {"PMET", "Peinture métallisée"}}},
    {"InfoEquiInterieur", {{"CLIM", "Climatisation automatique"}, {"SCH", "Sièges chauffants"},
                           {"CUIR", "Sellerie cuir"}, {"VOL", "Volant multifonction"},
                           {"USB", "Prises USB-C"}, {"CMF", "Carte mains libres"}}},
    {"InfoEquiExterieur", {{"JA", "Jantes alliage"}, {"LED", "Phares LED"},
                           {"RETRO", "Rétroviseurs rabattables"}, {"VT", "Vitres teintées"},
                           {"BT", "Barres de toit"}}},
    {"InfoEquiSecurite", {{"ABS", "ABS"}, {"ESP", "ESP"}, {"AIRB6", "6 airbags"},
                          {"AEB", "Freinage d'urgence"}, {"LKA", "Aide au maintien de voie"},
                          {"RADAR", "Radar de recul"}}},
    {"InfoComplement", {{"1M", "Première main"}, {"CARNET", "Carnet d'entretien"},
                        {"FACT", "Factures d'entretien"}, {"NF", "Non fumeur"},
                        {"2CLES", "Double des clés"}, {"CT", "Contrôle technique à jour"}}},
    {"PATypeVO", {{"VO", "Occasion"}, {"VN", "Neuf"}, {"VD", "Démonstration"}}},
    {"PASegment", {{"CIT", "Citadine"}, {"COMP", "Compacte"}, {"FAM", "Familiale"},
                   {"SUV", "SUV"}, {"PREM", "Premium"}, {"UTIL", "Utilitaire"}}},
    {"PACarrosserie", {{"BER", "Berline"}, {"BRK", "Break"}, {"SUV", "SUV"},
                       {"MONO", "Monospace"}, {"CAB", "Cabriolet"}}},
    {"PAEnergie", {{"ESS", "Essence"}, {"DIE", "Diesel"}, {"HYB", "Hybride"},
                   {"ELEC", "Électrique"}}},
};

const std::vector<NewModel> kNewModels = {
    {"VOLKSWAGEN", "POLO", {"Life", "Style", "R-Line", "GTI"}, 21990},
    {"VOLKSWAGEN", "GOLF", {"Life", "Style", "R-Line", "GTI"}, 31490},
    {"VOLKSWAGEN", "T-ROC", {"Life", "Style", "R-Line"}, 30990},
    {"VOLKSWAGEN", "TIGUAN", {"Life", "Elegance", "R-Line"}, 41990},
    {"VOLKSWAGEN", "ID.3", {"Pure", "Pro", "Pro S"}, 39990},
    {"AUDI", "A1", {"Design", "S line"}, 27900},
    {"AUDI", "A3", {"Design", "S line", "Business line"}, 35500},
    {"AUDI", "Q3", {"Design", "S line"}, 43900},
    {"AUDI", "Q5", {"Avus", "S line"}, 58900},
    {"SKODA", "FABIA", {"Ambition", "Style", "Monte-Carlo"}, 19990},
    {"SKODA", "OCTAVIA", {"Business", "Style", "Sportline", "RS"}, 31990},
    {"SKODA", "KAROQ", {"Ambition", "Style", "Sportline"}, 33990},
    {"SKODA", "KODIAQ", {"Style", "Sportline", "L&K"}, 45990},
    {"SEAT", "IBIZA", {"Style", "FR", "Xcellence"}, 19490},
    {"SEAT", "LEON", {"Style", "FR", "Xcellence"}, 28990},
    {"SEAT", "ARONA", {"Style", "FR"}, 23990},
    {"SEAT", "ATECA", {"Style", "FR", "Xperience"}, 32990},
    {"CUPRA", "FORMENTOR", {"V", "VZ"}, 37990},
    {"CUPRA", "BORN", {"V", "VZ"}, 41990},
};

const std::vector<UsedModel> kUsedModels = {
    {"RENAULT", "CLIO"},       {"RENAULT", "MEGANE"},     {"RENAULT", "CAPTUR"},
    {"RENAULT", "SCENIC"},     {"RENAULT", "KADJAR"},     {"PEUGEOT", "208"},
    {"PEUGEOT", "308"},        {"PEUGEOT", "2008"},       {"PEUGEOT", "3008"},
    {"PEUGEOT", "5008"},       {"CITROËN", "C3"},         {"CITROËN", "C4"},
    {"CITROËN", "C5 AIRCROSS"}, {"VOLKSWAGEN", "POLO"},   {"VOLKSWAGEN", "GOLF"},
    {"VOLKSWAGEN", "T-ROC"},   {"VOLKSWAGEN", "TIGUAN"},  {"VOLKSWAGEN", "PASSAT"},
    {"AUDI", "A1"},            {"AUDI", "A3"},            {"AUDI", "A4"},
    {"AUDI", "Q3"},            {"AUDI", "Q5"},            {"SKODA", "FABIA"},
    {"SKODA", "OCTAVIA"},      {"SKODA", "KAROQ"},        {"SEAT", "IBIZA"},
    {"SEAT", "LEON"},          {"SEAT", "ARONA"},         {"TOYOTA", "YARIS"},
    {"TOYOTA", "COROLLA"},     {"TOYOTA", "C-HR"},        {"DACIA", "SANDERO"},
    {"DACIA", "DUSTER"},       {"FORD", "FIESTA"},        {"FORD", "KUGA"}};


}  // namespace

const std::vector<NewModel>& NewModels() { return kNewModels; }
const std::vector<UsedModel>& UsedModels() { return kUsedModels; }

const std::vector<const char*>& ParameterList(std::string_view type) {
    static const Items empty;
    for (const auto& [t, items] : kParameterLists) {
        if (type == t) return items;
    }
    return empty;
}

double VatPercent(std::string_view concession) {
    for (const auto& [code, rate] : kVatRates) {
        if (concession == code) return std::atof(rate);
    }
    return 19.6;
}

const std::vector<const char*>& ParameterListTypes() {
    static const Items types = [] {
        Items t;
        for (const auto& entry : kParameterLists) t.push_back(entry.first);
        return t;
    }();
    return types;
}

const std::vector<Option>& OptionList(std::string_view key) {
    static const std::vector<Option> empty;
    for (const auto& [k, options] : kOptionLists) {
        if (key == k) return options;
    }
    return empty;
}

const std::vector<const char*>& OptionListKeys() {
    static const Items keys = [] {
        Items k;
        for (const auto& entry : kOptionLists) k.push_back(entry.first);
        return k;
    }();
    return keys;
}

bool SeedCatalogue(SqlSession& db, std::string& error) {
    {
        Inserter rubric(db, "ListRubrics", {"RubricType", "RubricIndex", "RubricItem", "RubricText"});
        for (const auto& [type, items] : kParameterLists) {
            int index = 0;
            for (const char* item : items) {
                ++index;
                rubric.Text("RubricType", type).Int("RubricIndex", index).Utf8("RubricItem", item)
                    .Utf8("RubricText", item);
                if (!rubric.Run()) {
                    error = rubric.error();
                    return false;
                }
            }
        }
        for (const auto& [concession, rate] : kVatRates) {
            rubric.Text("RubricType", "TauxTVA").Int("RubricIndex", 1)
                .Text("RubricItem", concession).Text("RubricText", rate);
            if (!rubric.Run()) {
                error = rubric.error();
                return false;
            }
        }
    }
    {
        Inserter model(db, "ListModels", {"VMarque", "VModele"});
        for (const UsedModel& m : kUsedModels) {
            if (!model.Utf8("VMarque", m.make).Utf8("VModele", m.model).Run()) {
                error = model.error();
                return false;
            }
        }
    }
    {
        // Each dealership lists the trims of the makes its sites sell.
        Inserter version(db, "ListVersions", {"VMarque", "VModele", "VVersion", "VConcession"});
        for (const char* concession : {"LYO", "DAU"}) {
            for (const NewModel& m : kNewModels) {
                bool sold = false;
                for (const SiteDef& s : Sites()) {
                    sold = sold || (std::string_view(s.concession) == concession &&
                                    std::string_view(s.makes).find(m.make) != std::string::npos);
                }
                if (!sold) continue;
                for (const char* v : m.versions) {
                    version.Utf8("VMarque", m.make).Utf8("VModele", m.model).Utf8("VVersion", v)
                        .Text("VConcession", concession);
                    if (!version.Run()) {
                        error = version.error();
                        return false;
                    }
                }
            }
        }
    }
    Inserter option(db, "tOptionLists", {"ListKey", "Position", "Abbr", "eText"});
    for (const auto& [key, options] : kOptionLists) {
        int position = 0;
        for (const Option& o : options) {
            option.Text("ListKey", key).Int("Position", ++position).Utf8("Abbr", o.code)
                .Utf8("eText", o.label);
            if (!option.Run()) {
                error = option.error();
                return false;
            }
        }
    }
    return true;
}

}  // namespace tarmel::dataserver::demo
