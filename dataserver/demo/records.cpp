// The demo records: vehicles of the three families (used with refurbishment lines and margins,
// demonstration, new with their order dates and accounting), their photos and reservations;
// clients with their vehicles, follow-up actions and next-purchase wishes.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver::demo {

namespace {

double Round2(double v) { return std::round(v * 100.0) / 100.0; }
double RoundTo(double v, double step) { return std::round(v / step) * step; }

// A photo's date and time, as the client writes it when it links one: a working hour of the day
// drawn from the photo's identifier, so that the random sequence of the demo stays as it was.
std::string PhotoDateTime(int days, int64_t idImage) {
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", 9 + static_cast<int>(idImage % 9),
                  static_cast<int>(idImage * 7 % 60), static_cast<int>(idImage * 13 % 60));
    return IsoDate(days) + time;
}

const SiteDef& PickSite(Random& rng) {
    // The main sites carry most of the stock.
    const int r = rng.Range(1, 100);
    const auto& sites = Sites();
    return sites[r <= 40 ? 0 : r <= 60 ? 1 : r <= 88 ? 2 : 3];
}

std::vector<const StaffDef*> StaffOf(std::string_view site) {
    std::vector<const StaffDef*> out;
    for (const StaffDef& s : Staff()) {
        if (std::string_view(s.sites).find(site) != std::string_view::npos) out.push_back(&s);
    }
    return out;
}

int OwnerOf(Random& rng, std::string_view concession) {
    // Users of the dealership who create records (see the users of the group).
    return concession == "DAU" ? rng.Range(6, 8) : rng.Range(1, 4);
}

// A ";"-wrapped selection of codes of an option list: ";A;C;".
std::string Codes(Random& rng, std::string_view key, int percent) {
    std::string out;
    for (const Option& o : OptionList(key)) {
        if (rng.Chance(percent)) out += std::string(";") + o.code;
    }
    return out.empty() ? out : out + ";";
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return text;
}

// An item of a parameter list, skipping its empty first choice.
const char* Item(Random& rng, std::string_view type) {
    const auto& items = ParameterList(type);
    const bool emptyFirst = !items.empty() && std::string_view(items[0]) == "..";
    return items[static_cast<size_t>(rng.Range(emptyFirst ? 1 : 0,
                                                static_cast<int>(items.size()) - 1))];
}

// The settlement day of a new vehicle from a day: the delay the financing type's entry of
// "TypeFinancementDelai" gives ("TYPE : n", the list's first entry by default, none without a
// type); a sale to the group falls due at the first month end 30 days on.
int SettlementDay(int from, const std::string& financing, bool group) {
    if (group) {
        int day = from + 30;
        while (IsoDate(day + 1).substr(8) != "01") ++day;
        return day;
    }
    if (financing.empty()) return from;
    const auto& delays = ParameterList("TypeFinancementDelai");
    int delay = delays.empty() ? 0 : std::atoi(delays.front());
    const std::string prefix = financing + " : ";
    for (const char* entry : delays) {
        if (std::string_view(entry).rfind(prefix, 0) == 0) delay = std::atoi(entry + prefix.size());
    }
    return from + delay;
}

const NewModel& NewModelFor(Random& rng, const SiteDef& site) {
    std::vector<const NewModel*> sold;
    for (const NewModel& m : NewModels()) {
        if (std::string_view(site.makes).find(m.make) != std::string_view::npos) sold.push_back(&m);
    }
    return *sold[static_cast<size_t>(rng.Range(0, static_cast<int>(sold.size()) - 1))];
}

// Body colours of the photos, by the colour names of the list.
uint32_t BodyColour(std::string_view colour) {
    if (colour.starts_with("Blanc")) return 0xF2F2F0;
    if (colour.starts_with("Noir")) return 0x1C1C1E;
    if (colour.starts_with("Bleu")) return 0x1F4E8C;
    if (colour.starts_with("Rouge")) return 0xB3141C;
    if (colour.starts_with("Argent")) return 0xB8BCC0;
    if (colour.starts_with("Vert")) return 0x2F5D3A;
    return 0x6E7378;  // greys
}

std::string PersonName(const Person& p) { return Upper(p.lastName) + " " + p.firstName; }

// An engine of the make's range.
std::string EngineFor(Random& rng, std::string_view make) {
    static const std::vector<const char*> vw = {"1.0 TSI 95 BVM5", "1.0 TSI 110 DSG7",
                                                "1.5 TSI 150 DSG7", "2.0 TDI 115 BVM6",
                                                "2.0 TDI 150 DSG7", "1.4 eHybrid 204",
                                                "e-Motor 204 ch"};
    static const std::vector<const char*> renault = {"TCe 90 BVM5", "1.5 dCi 115",
                                                     "1.6 E-Tech 145", "TCe 140 EDC7"};
    static const std::vector<const char*> psa = {"1.2 PureTech 100 BVM6",
                                                 "1.2 PureTech 130 EAT8", "1.5 BlueHDi 130"};
    static const std::vector<const char*> other = {"1.5 Hybrid 116", "1.0 EcoBoost 125",
                                                   "1.5 dCi 115"};
    if (make == "RENAULT" || make == "DACIA") return rng.Pick(renault);
    if (make == "PEUGEOT" || make == "CITRO\xCBN") return rng.Pick(psa);
    if (make == "TOYOTA" || make == "FORD") return rng.Pick(other);
    return rng.Pick(vw);
}

// Body, energy and gearbox that go with a model and its engine.
const char* BodyOf(std::string_view model) {
    for (const char* suv : {"T-ROC", "TIGUAN", "Q3", "Q5", "KAROQ", "KODIAQ", "ARONA", "ATECA",
                            "FORMENTOR", "BORN", "CAPTUR", "KADJAR", "2008", "3008", "5008",
                            "C5 AIRCROSS", "C-HR", "DUSTER", "KUGA"}) {
        if (model == suv) return "SUV";
    }
    for (const char* small : {"POLO", "CLIO", "208", "C3", "FABIA", "IBIZA", "YARIS", "SANDERO",
                              "FIESTA", "A1", "ID.3"}) {
        if (model == small) return "Citadine";
    }
    if (model == "PASSAT" || model == "OCTAVIA") return "Break";
    if (model == "SCENIC") return "Monospace";
    return "Berline";
}
const char* EnergyOf(std::string_view engine) {
    if (engine.find("TDI") != std::string_view::npos || engine.find("dCi") != std::string_view::npos ||
        engine.find("HDi") != std::string_view::npos) {
        return "Diesel";
    }
    if (engine.find("eHybrid") != std::string_view::npos) return "Hybride rechargeable";
    if (engine.find("E-Tech") != std::string_view::npos) return "Hybride";
    if (engine.find("e-Motor") != std::string_view::npos) return "\xC9lectrique";  // Latin-1
    return "Essence";
}
const char* GearboxOf(std::string_view engine) {
    for (const char* automatic : {"DSG", "EAT", "E-Tech", "eHybrid", "e-Motor"}) {
        if (engine.find(automatic) != std::string_view::npos) return "Automatique";
    }
    return "Manuelle";
}

struct FrevoLine {
    int date;
    const char* label;
    std::string account;
    const char* supplier;
    std::string invoice;
    const char* type;
    double amount;
};

}  // namespace

bool SeedVehicles(SqlSession& db, Random& rng, int count, IdCounter& ids, int photoVehicles,
                  const std::string& photoDir, std::string& error) {
    Inserter vehicle(db, "tVehicles", {
        "idVO", "idTVO", "TypeVO", "StatutVD", "StatutVN", "NVO", "Immatriculation", "Chassis",
        "InfoMarque", "InfoModele", "InfoVersion", "InfoTypeVersion", "InfoCouleur",
        "InfoCouleurInt", "Carrosserie", "Energie", "BoiteVitesse", "NbPortes", "NbPlaces", "CV",
        "KMS", "MEC", "DateEntree", "DateValidationGarantie", "DateOrdre", "DateDisponibilite",
        "DateLivraison", "DatePresFinancement", "DatePaiement", "DateCdeVW", "DateAnnulation",
        "DateFabrication", "DateFacture", "DateDebutGarantie", "DateUpdateCde",
        "DateDeclareLivre", "DateLivrMaxi", "DateAchat", "DateEcheance", "DateEchTresorerie",
        "DateEchReglement", "DateRecFinancement", "DateRecPaiement", "DateCreation", "Origine",
        "OrigineVendeur", "FlagPrepaEsthetique", "FlagPrepaCarrosserie", "FlagPrepaMecanique",
        "FlagEligible", "FlagNonDiffuse", "Destination", "ModeTVA", "DureeGarantie",
        "TypeGarantie", "LieuStockage", "TypeFinancement", "TypeFinancementDelai", "Acheteur",
        "Site", "Vendeur", "Financeur", "Commentaires", "CommentaireReprise", "CP",
        "Intermediaire", "NomImage", "CodeRemise", "Utilisateur", "ReprMarque", "ReprModele",
        "ReprNVO", "ReprPrix", "CFMemo", "SituationAchat", "InfoOptions", "InfoEquiInterieur",
        "InfoEquiExterieur", "InfoEquiSecurite", "InfoComplement", "PrixVente", "PrixReprise",
        "TPVO", "PrixGarantie", "VFinancement", "MontantReprise", "MtComIntermediaire",
        "MtComVendeur", "ComFinPrevue", "ComFinRecue", "PrixCatalogue", "MontantAchat", "Solde",
        "MontantAcompte", "MNette", "MBrute", "cTVA", "TotFrevo", "Frevo", "FrevoFixe",
        "FrevoInterne", "FrevoExterne", "FrevoPrevision", "FrevoTotFDM", "FrevoFixeFDM",
        "FrevoIntFDM", "FrevoExtFDM", "FrevoPrevFDM", "Concession", "idOwner"});
    Inserter frevo(db, "[tVO - Frevo]", {"idFrevo", "idVO", "DateFrevo", "LibelleFrevo",
                                         "NComptable", "NomFournisseur", "NFacture", "TypeFrevo",
                                         "MontantHT"});
    Inserter image(db, "[tVO - Liens Images]",
                   {"idImage", "idVO", "NumImage", "NomImage", "DateImage"});
    Inserter resa(db, "tReservations",
                  {"idResa", "idVO", "DResaMax", "Vendeur", "Acheteur", "Commentaire"});
    auto fail = [&](const Inserter& ins) {
        error = ins.error();
        return false;
    };
    const int anchor = AnchorDay();
    if (!photoDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(photoDir, ec);
    }

    for (int i = 0; i < count; ++i) {
        const SiteDef& site = PickSite(rng);
        const std::string concession = site.concession;
        const auto staff = StaffOf(site.site);
        const StaffDef& seller = *staff[static_cast<size_t>(rng.Range(0, static_cast<int>(staff.size()) - 1))];
        const int family = rng.Range(1, 100);  // 1-55 used, 56-70 demonstration, 71-100 new
        const bool used = family <= 55, demo = family > 55 && family <= 70;  // the rest are new
        const int64_t idTVO = ids.Take();
        const int64_t idVO = ids.Take();
        vehicle.Int("idVO", idVO).Int("idTVO", idTVO).Int("TypeVO", used ? 1 : 2)
            .Text("Concession", concession).Int("idOwner", OwnerOf(rng, concession))
            .Text("Site", site.site).Int("Vendeur", seller.idCom);
        vehicle.Int("NVO", (used ? 20000 : demo ? 60000 : 80000) + i);

        std::string make, model, trim;
        int catalogue = 0;
        if (used) {
            const UsedModel& m = rng.Pick(UsedModels());
            make = Latin1FromUtf8(m.make);
            model = Latin1FromUtf8(m.model);
            catalogue = 16000 + rng.Range(0, 24) * 1000;
            for (const NewModel& n : NewModels()) {
                if (std::string_view(n.model) == m.model) catalogue = n.basePrice;
            }
        } else {
            const NewModel& m = NewModelFor(rng, site);
            make = m.make;
            model = m.model;
            const int t = rng.Range(0, static_cast<int>(m.versions.size()) - 1);
            trim = Latin1FromUtf8(m.versions[static_cast<size_t>(t)]);
            catalogue = m.basePrice + t * 2500 + rng.Range(0, 6) * 250;
            vehicle.Text("InfoTypeVersion", trim);
        }
        const std::string engine = EngineFor(rng, make);
        const std::string version = model + " " + engine + (trim.empty() ? "" : " " + Upper(trim));
        const std::string colour = Latin1FromUtf8(Item(rng, "InfoCouleur"));
        vehicle.Text("InfoMarque", make).Text("InfoModele", model).Text("InfoVersion", version)
            .Text("InfoCouleur", colour).Utf8("InfoCouleurInt", Item(rng, "InfoCouleurInt"))
            .Text("Carrosserie", BodyOf(model)).Text("Energie", EnergyOf(engine))
            .Text("BoiteVitesse", GearboxOf(engine)).Text("NbPortes", rng.Chance(85) ? "5" : "3")
            .Int("NbPlaces", rng.Chance(90) ? 5 : 7).Int("CV", rng.Range(4, 11))
            .Text("Chassis", RandomVin(rng, make));
        vehicle.Text("InfoEquiInterieur", Codes(rng, "InfoEquiInterieur", 50))
            .Text("InfoEquiExterieur", Codes(rng, "InfoEquiExterieur", 50))
            .Text("InfoEquiSecurite", Codes(rng, "InfoEquiSecurite", 70))
            .Text("InfoComplement", Codes(rng, "InfoComplement", 40))
            .Int("FlagNonDiffuse", rng.Chance(10) ? 1 : 0);

        bool sold = false, reservable = false;
        if (used) {
            const int mec = anchor - rng.Range(200, 3600);
            const int entry = anchor - rng.Range(0, 700);
            const int km = std::max(1000, (anchor - mec) * rng.Range(25, 60));
            vehicle.Text("Immatriculation", RandomPlate(rng)).Date("MEC", mec)
                .Int("KMS", RoundTo(km, 100)).Date("DateEntree", entry).Date("DateCreation", entry)
                .Utf8("Origine", Item(rng, "Origine")).Utf8("OrigineVendeur", Item(rng, "OrigineVendeur"))
                .Utf8("LieuStockage", Item(rng, "LieuStockage"))
                .Int("FlagPrepaEsthetique", rng.Chance(70)).Int("FlagPrepaCarrosserie", rng.Chance(40))
                .Int("FlagPrepaMecanique", rng.Chance(60)).Int("FlagEligible", rng.Chance(50));
            const double age = (anchor - mec) / 365.0;
            const double price = RoundTo(catalogue * std::pow(0.86, age), 100);
            const double tradeIn = RoundTo(price * 0.78, 50);
            const double warranty = rng.Chance(60) ? (rng.Chance(50) ? 190.0 : 290.0) : 0.0;
            const int mode = rng.Chance(92) ? 1 : 2;
            vehicle.Real("PrixVente", price).Real("PrixReprise", tradeIn).Real("TPVO", 0)
                .Real("MontantReprise", tradeIn).Real("PrixGarantie", warranty).Int("ModeTVA", mode)
                .Utf8("DureeGarantie", warranty > 0 ? "12 mois" : "3 mois")
                .Utf8("TypeGarantie", warranty > 0 ? "Garantie Premium" : "Garantie légale");
            int delivery = 0;
            std::string destination;
            sold = rng.Chance(55) && entry + 5 < anchor;
            if (sold) {
                const int order = std::min(anchor, entry + rng.Range(5, 120));
                delivery = std::min(anchor, order + rng.Range(3, 30));
                const bool trade = rng.Chance(20);
                destination = trade ? "MARCHANDS" : (rng.Chance(5) ? "EXPORT" : "PARTICULIERS");
                vehicle.Date("DateOrdre", order).Date("DateDisponibilite", order + 2)
                    .Date("DateLivraison", delivery).Text("Destination", destination)
                    .Text("Acheteur", trade ? RandomCompany(rng) : PersonName(RandomPerson(rng)))
                    .Text("CP", RandomAddress(rng, concession).cp)
                    .Real("MtComVendeur", RoundTo(price * 0.012, 10))
                    .Date("DatePaiement", delivery);
                if (warranty > 0) vehicle.Date("DateValidationGarantie", delivery);
                if (rng.Chance(40)) {
                    const char* type = Item(rng, "TypeFinancement");
                    const double financed = RoundTo(price * 0.7, 100);
                    vehicle.Text("TypeFinancement", type).Utf8("Financeur", Item(rng, "Financeur"))
                        .Real("VFinancement", financed).Real("ComFinPrevue", Round2(financed * 0.02))
                        .Date("DatePresFinancement", order + 1);
                    if (delivery + 20 < anchor) vehicle.Real("ComFinRecue", Round2(financed * 0.02));
                }
                if (rng.Chance(10)) {
                    vehicle.Utf8("Intermediaire", "Apporteur Rhône Auto")
                        .Real("MtComIntermediaire", 150.0);
                }
            } else {
                reservable = rng.Chance(12);
            }
            if (rng.Chance(30)) {
                vehicle.Utf8("CommentaireReprise", rng.Chance(50) ? "Rayure aile AR" : "Pneus à changer");
            }
            if (rng.Chance(35)) {
                vehicle.Utf8("Commentaires",
                             "Véhicule révisé, carnet à jour.\r\nDisponible de suite & garanti.");
            }

            // Refurbishment lines, with the fixed file fee of a private sale.
            std::vector<FrevoLine> lines;
            const int n = rng.Range(1, 4);
            for (int k = 0; k < n; ++k) {
                FrevoLine l;
                l.date = std::min(anchor, entry + rng.Range(1, 40));
                l.label = Item(rng, "LibFrevo");
                l.supplier = Item(rng, "Fournisseur");
                const int t = rng.Range(1, 10);
                l.type = t <= 5 ? "INTERNE" : t <= 9 ? "EXTERNE" : "PREVISION";
                l.amount = Round2(rng.Range(4000, 120000) / 100.0);
                if (rng.Chance(60)) {
                    char invoice[16];
                    std::snprintf(invoice, sizeof invoice, "F%06d", rng.Range(1, 999999));
                    l.invoice = invoice;
                    if (rng.Chance(70)) l.account = "6011" + std::to_string(rng.Range(100, 999));
                }
                lines.push_back(l);
            }
            if (sold && rng.Chance(30)) {
                // An invoice that arrives after the delivery: it falls outside the delivery
                // month's figures.
                lines.push_back({std::min(anchor, delivery + rng.Range(20, 60)), "Pneumatiques",
                                 "", "Euromaster", "F" + std::to_string(rng.Range(100000, 999999)),
                                 "EXTERNE", Round2(rng.Range(20000, 60000) / 100.0)});
            }
            if (sold && destination == "PARTICULIERS" && site.fileFee > 0) {
                lines.push_back({delivery, "Frais de dossier", "", "", "", "FIXE", site.fileFee});
            }
            // Totals by type, overall and up to the end of the delivery month.
            const int bound = [&] {
                const std::string iso = IsoDate(delivery > 0 ? delivery : anchor);
                const int year = std::stoi(iso.substr(0, 4)), month = std::stoi(iso.substr(5, 2));
                return month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
            }();
            double total = 0, fixe = 0, interne = 0, externe = 0, prevision = 0;
            double tFdm = 0, fFdm = 0, iFdm = 0, eFdm = 0, pFdm = 0;
            for (const FrevoLine& l : lines) {
                const std::string_view type = l.type;
                double& byType = type == "FIXE" ? fixe : type == "INTERNE" ? interne
                               : type == "EXTERNE" ? externe : prevision;
                double& byTypeFdm = type == "FIXE" ? fFdm : type == "INTERNE" ? iFdm
                                  : type == "EXTERNE" ? eFdm : pFdm;
                total += l.amount;
                byType += l.amount;
                if (l.date < bound) {
                    tFdm += l.amount;
                    byTypeFdm += l.amount;
                }
                frevo.Int("idFrevo", ids.Take()).Int("idVO", idVO).Date("DateFrevo", l.date)
                    .Utf8("LibelleFrevo", l.label).Utf8("NomFournisseur", l.supplier)
                    .Text("TypeFrevo", l.type).Real("MontantHT", l.amount);
                if (!l.account.empty()) frevo.Text("NComptable", l.account);
                if (!l.invoice.empty()) frevo.Text("NFacture", l.invoice);
                if (!frevo.Run()) return fail(frevo);
            }
            // VAT and margins as the window computes them, at the dealership's rate.
            const double rate = VatPercent(concession) / 100;
            const double base = price - tradeIn;
            const double vat = mode == 1 ? Round2(base / (1 + rate) * rate) : 0.0;
            const double gross = mode == 1 ? Round2(base - vat) : Round2(base / (1 + rate));
            vehicle.Real("Frevo", Round2(total)).Real("TotFrevo", Round2(total))
                .Real("FrevoFixe", Round2(fixe)).Real("FrevoInterne", Round2(interne))
                .Real("FrevoExterne", Round2(externe)).Real("FrevoPrevision", Round2(prevision))
                .Real("FrevoTotFDM", Round2(tFdm)).Real("FrevoFixeFDM", Round2(fFdm))
                .Real("FrevoIntFDM", Round2(iFdm)).Real("FrevoExtFDM", Round2(eFdm))
                .Real("FrevoPrevFDM", Round2(pFdm)).Real("cTVA", vat).Real("MBrute", gross)
                .Real("MNette", Round2(gross - warranty - total));
        } else if (demo) {
            const int mec = anchor - rng.Range(30, 400);
            vehicle.Utf8("StatutVD", Item(rng, "StatutVD")).Text("Immatriculation", RandomPlate(rng))
                .Date("MEC", mec).Date("DateEntree", mec).Date("DateCreation", mec)
                .Int("KMS", RoundTo((anchor - mec) * rng.Range(15, 45), 100))
                .Real("PrixCatalogue", catalogue).Real("PrixVente", RoundTo(catalogue * 0.84, 100))
                .Text("InfoOptions", Codes(rng, "InfoOptions", 35))
                .Text("CodeRemise", "DEMO" + std::to_string(rng.Range(10, 25)))
                .Utf8("Utilisateur", seller.name);
            if (rng.Chance(30)) {
                vehicle.Utf8("Commentaires", "Véhicule de démonstration du site, essais clients.");
            }
            reservable = rng.Chance(8);
        } else {
            const int order = anchor - rng.Range(0, 540);
            const int factoryOrder = order + rng.Range(1, 6);
            const int made = factoryOrder + rng.Range(20, 90);
            const int available = made + rng.Range(7, 25);
            const bool cancelled = rng.Chance(4);
            const bool delivered = !cancelled && available + 3 < anchor && rng.Chance(80);
            const char* status = cancelled       ? "Annulé"
                                 : delivered     ? "Livré"
                                 : available <= anchor ? "En stock"
                                 : made <= anchor ? "En transit"
                                                  : "En production";
            const double price = RoundTo(catalogue * (rng.Range(88, 97) / 100.0), 10);
            vehicle.Utf8("StatutVN", status).Date("DateOrdre", order).Date("DateCreation", order)
                .Date("DateCdeVW", factoryOrder).Date("DateUpdateCde", factoryOrder + 2)
                .Date("DateFabrication", made).Date("DateLivrMaxi", available + 30)
                .Real("PrixCatalogue", catalogue).Real("PrixVente", price).Int("KMS", 10)
                .Text("InfoOptions", Codes(rng, "InfoOptions", 30))
                .Text("CodeRemise", "VN" + std::to_string(rng.Range(100, 999)));
            const bool group = !rng.Chance(90);
            vehicle.Text("Destination", group ? "GROUPE" : "PARTICULIERS")
                .Int("FlagEligible", rng.Chance(60) ? 1 : 0);
            const Person buyer = RandomPerson(rng);
            vehicle.Text("Acheteur", PersonName(buyer)).Text("CP", RandomAddress(rng, concession).cp);
            if (available <= anchor) vehicle.Date("DateDisponibilite", available);
            if (cancelled) vehicle.Date("DateAnnulation", order + rng.Range(5, 40));
            double financed = 0, tradeIn = 0, deposit = RoundTo(price * 0.1, 100);
            std::string financing;
            if (rng.Chance(55)) {
                const char* type = Item(rng, "TypeFinancement");
                financing = type;
                financed = RoundTo(price * 0.8, 100);
                vehicle.Text("TypeFinancement", type).Utf8("Financeur", Item(rng, "Financeur"))
                    .Real("VFinancement", financed).Real("ComFinPrevue", Round2(financed * 0.025))
                    .Date("DatePresFinancement", order + 2)
                    // A "code : label" item is stored as its code, as the client's combo does.
                    .Text("TypeFinancementDelai", type);
            }
            if (rng.Chance(35)) {
                const UsedModel& r = rng.Pick(UsedModels());
                tradeIn = RoundTo(rng.Range(3000, 15000), 100);
                vehicle.Utf8("ReprMarque", r.make).Utf8("ReprModele", r.model)
                    .Int("ReprNVO", 20000 + rng.Range(0, std::max(1, count))).Real("ReprPrix", tradeIn);
            }
            // The dealership's own purchase of the car from the maker, and its due dates.
            const double purchase = RoundTo(catalogue * 0.82, 10);
            vehicle.Date("DateAchat", made).Real("MontantAchat", purchase)
                .Utf8("SituationAchat", delivered ? "Payé" : "À payer")
                .Date("DateEcheance", made + 60).Real("MontantAcompte", deposit)
                .Real("Solde", Round2(price - financed - tradeIn - deposit));
            int delivery = 0;
            if (delivered) {
                delivery = std::min(anchor, available + rng.Range(2, 30));
                vehicle.Date("DateLivraison", delivery).Date("DateDeclareLivre", delivery)
                    .Date("DateFacture", delivery).Date("DateDebutGarantie", delivery)
                    .Date("MEC", delivery).Text("Immatriculation", RandomPlate(rng))
                    .Date("DatePaiement", delivery + 10);
                if (financed > 0) vehicle.Date("DateRecFinancement", delivery + 12);
                vehicle.Date("DateRecPaiement", delivery + 10);
                sold = true;
            } else {
                reservable = !cancelled && rng.Chance(15);
            }
            // Due dates as the window computes them: the treasury five days after the
            // declared delivery (or the availability, within the maker's due date), the
            // settlement after the financing's delay from the delivery or the availability.
            const int due = made + 60;
            const int from = delivered ? delivery : available <= anchor ? available : 0;
            const int treasury = delivered                     ? delivery + 5
                                 : from != 0 && from + 5 <= due ? from + 5
                                                                : due;
            vehicle.Date("DateEchTresorerie", treasury);
            if (from != 0) vehicle.Date("DateEchReglement", SettlementDay(from, financing, group));
            if (rng.Chance(25)) vehicle.Utf8("CFMemo", "Client prioritaire : livraison à domicile.");
        }

        // Photos: the first vehicles of the file get real pictures (a benchmark database keeps
        // its photo folder small).
        if (i < photoVehicles) {
            const int photos = rng.Range(1, 3);
            const uint32_t body = BodyColour(colour);
            char base[32];
            std::snprintf(base, sizeof base, "%c%07lld", concession[0],
                          static_cast<long long>(idVO));
            for (int k = 1; k <= photos; ++k) {
                char name[64];
                std::snprintf(name, sizeof name, "%s-%02d", base, k);
                if (!photoDir.empty()) {
                    const std::string stem = photoDir + "/" + name;
                    if (!WriteCarJpeg(stem + ".jpg", 640, 480, body, k, error) ||
                        !WriteCarJpeg(stem + "m.jpg", 120, 90, body, k, error)) {
                        return false;
                    }
                }
                const int64_t idImage = ids.Take();
                image.Int("idImage", idImage).Int("idVO", idVO).Int("NumImage", k)
                    .Text("NomImage", name)
                    .Text("DateImage", PhotoDateTime(anchor - rng.Range(0, 60), idImage));
                if (!image.Run()) return fail(image);
                if (k == 1) vehicle.Text("NomImage", name);
            }
        }
        if (reservable) {
            const Person buyer = RandomPerson(rng);
            resa.Int("idResa", ids.Take()).Int("idVO", idVO)
                .Date("DResaMax", anchor + rng.Range(2, 20)).Utf8("Vendeur", seller.name)
                .Text("Acheteur", PersonName(buyer))
                .Utf8("Commentaire", rng.Chance(50) ? "Acompte de 500 euros versé"
                                                    : "Attente accord de financement");
            if (!resa.Run()) return fail(resa);
        }
        (void)sold;
        if (!vehicle.Run()) return fail(vehicle);
    }
    return true;
}

bool SeedClients(SqlSession& db, Random& rng, int count, IdCounter& ids, std::string& error) {
    Inserter client(db, "tClients", {
        "idClient", "CliCivilite", "CliOrigine", "CliSituationFamille", "Site", "idCom",
        "CliPays", "CliNom", "CliPrenom", "CliAdresse1", "CliAdresse2", "CliEmail", "CliTelDom",
        "CliMobile", "CliTelBur", "CliProfession", "CliEmployeur", "CliObservations", "CliCP",
        "CliVille", "CliNbEnfants", "CliDateNaissance", "DateCreation", "CliDateProchainAchat",
        "PADateSpirit", "PATypeVO", "PASegment", "PACarrosserie", "PAEnergie", "PAChoix1",
        "PAChoix2", "PAMarque1", "PAModele1", "PAMarque2", "PAModele2", "Concession", "idOwner"});
    Inserter action(db, "tActions", {"idAction", "idClient", "DateAction", "idCom", "TypeAction",
                                     "SujetAction", "CommentaireAction", "DateRelance",
                                     "idComRelance", "SujetRelance", "PrioriteRelance"});
    Inserter car(db, "TVehiclesClarum", {
        "idTVO", "idClient", "NVO", "TypeVO", "Immatriculation", "InfoMarque", "InfoModele",
        "InfoVersion", "InfoTypeVersion", "Acheteur", "Site", "DateOrdre", "DateLastSAV",
        "DateNextSAV", "MEC", "DateFinGarantie", "DateFinFinancement", "TypeFinancement",
        "AbbrFinancement", "SatisfVehicle", "SatisfSAV", "LieuEntretien1", "LieuEntretien2",
        "MensualiteFinancement", "KMS", "KmLastSAV", "KmNextSAV", "Concession", "idOwner"});
    auto fail = [&](const Inserter& ins) {
        error = ins.error();
        return false;
    };
    static const std::vector<const char*> jobs = {
        "Infirmière", "Enseignant", "Artisan", "Cadre commercial", "Retraité(e)", "Ingénieur",
        "Agriculteur", "Médecin", "Comptable", "Chauffeur routier", "Étudiant(e)", "Pharmacien",
        "Chef d'entreprise", "Technicien"};
    static const std::vector<const char*> employers = {
        "Hospices Civils de Lyon", "Éducation nationale", "STMicroelectronics",
        "Schneider Electric", "SNCF", "CHU Grenoble Alpes", "Mairie de Vénissieux",
        "Boulangerie Roux & Fils", "Indépendant", "Renault Trucks"};
    static const std::vector<const char*> comments = {
        "Client rappelé, souhaite un essai samedi matin.",
        "Devis envoyé pour une reprise de son véhicule actuel.",
        "Très satisfait de la livraison ; à recontacter dans un an.",
        "Intéressé par l'offre LOA <300 euros/mois> & entretien inclus.",
        "Message laissé sur le répondeur.",
        "Rendez-vous atelier pris pour la révision."};
    const int anchor = AnchorDay();
    Person first;
    std::string firstMobile;
    const SiteDef* firstSite = nullptr;

    for (int i = 0; i < count; ++i) {
        const SiteDef& site = i == count - 1 && firstSite ? *firstSite : PickSite(rng);
        if (i == 0) firstSite = &site;
        const std::string concession = site.concession;
        const auto staff = StaffOf(site.site);
        auto pickStaff = [&]() -> int {
            return staff[static_cast<size_t>(rng.Range(0, static_cast<int>(staff.size()) - 1))]->idCom;
        };
        const int64_t idClient = ids.Take();
        // The last client is entered twice (a second file for the first client, as happens at
        // a counter): the duplicate check has something to find.
        const bool duplicate = i == count - 1 && count >= 2;
        const Person p = duplicate ? first : RandomPerson(rng);
        const Address a = RandomAddress(rng, concession);
        const int created = anchor - rng.Range(0, 2500);
        client.Int("idClient", idClient).Text("CliCivilite", p.civility).Text("CliNom", p.lastName)
            .Text("CliPrenom", p.firstName).Text("CliAdresse1", a.street).Text("CliCP", a.cp)
            .Text("CliVille", a.town).Text("CliPays", "France").Text("Site", site.site)
            .Int("idCom", pickStaff()).Date("DateCreation", created)
            .Text("Concession", concession).Int("idOwner", OwnerOf(rng, concession))
            .Utf8("CliOrigine", Item(rng, "OrigineClient"))
            .Utf8("CliSituationFamille", Item(rng, "SituationFamille"))
            .Int("CliNbEnfants", rng.Range(0, 4))
            .Date("CliDateNaissance", anchor - rng.Range(19 * 365, 85 * 365));
        const std::string mobile = duplicate ? firstMobile : RandomMobile(rng);
        if (i == 0) {
            first = p;
            firstMobile = mobile;
        }
        if (duplicate || i == 0 || rng.Chance(80)) client.Text("CliMobile", mobile);
        if (rng.Chance(55)) client.Text("CliTelDom", RandomLandline(rng, concession));
        if (rng.Chance(15)) client.Text("CliTelBur", RandomLandline(rng, concession));
        if (rng.Chance(70)) client.Text("CliEmail", EmailOf(p, rng));
        if (rng.Chance(10)) client.Utf8("CliAdresse2", rng.Chance(50) ? "Bâtiment B" : "Résidence Les Érables");
        if (rng.Chance(70)) {
            client.Utf8("CliProfession", rng.Pick(jobs)).Utf8("CliEmployeur", rng.Pick(employers));
        }
        if (rng.Chance(30)) {
            client.Utf8("CliObservations", "Client fidèle depuis " +
                                               IsoDate(created).substr(0, 4) +
                                               ".\r\nPréfère être appelé le soir.");
        }
        // Next-purchase wishes.
        if (rng.Chance(60)) {
            client.Date("CliDateProchainAchat", anchor + rng.Range(30, 900))
                .Text("PATypeVO", Codes(rng, "PATypeVO", 40)).Text("PASegment", Codes(rng, "PASegment", 30))
                .Text("PACarrosserie", Codes(rng, "PACarrosserie", 30))
                .Text("PAEnergie", Codes(rng, "PAEnergie", 35));
            if (rng.Chance(30)) client.Date("PADateSpirit", anchor - rng.Range(0, 200));
            std::string inSite, other;
            for (const NewModel& m : NewModels()) {
                const bool sells = std::string_view(site.makes).find(m.make) != std::string_view::npos;
                if (rng.Chance(12)) (sells ? inSite : other) += std::string(";") + m.model;
            }
            if (!inSite.empty()) client.Text("PAChoix1", inSite + ";");
            if (!other.empty()) client.Text("PAChoix2", other + ";");
            const UsedModel& m1 = rng.Pick(UsedModels());
            client.Utf8("PAMarque1", m1.make).Utf8("PAModele1", m1.model);
            if (rng.Chance(40)) {
                const UsedModel& m2 = rng.Pick(UsedModels());
                client.Utf8("PAMarque2", m2.make).Utf8("PAModele2", m2.model);
            }
        }
        if (!client.Run()) return fail(client);

        const int actions = rng.Range(0, 4);
        for (int k = 0; k < actions; ++k) {
            const int when = anchor - rng.Range(0, 700);
            action.Int("idAction", ids.Take()).Int("idClient", idClient).Date("DateAction", when)
                .Int("idCom", pickStaff()).Int("TypeAction", rng.Range(1, 7))
                .Int("SujetAction", rng.Range(1, 7)).Utf8("CommentaireAction", rng.Pick(comments));
            if (rng.Chance(60)) {
                action.Date("DateRelance", when + rng.Range(7, 365)).Int("idComRelance", pickStaff())
                    .Int("SujetRelance", rng.Range(1, 7)).Int("PrioriteRelance", rng.Range(1, 4));
            }
            if (!action.Run()) return fail(action);
        }

        const int cars = rng.Range(0, 3);
        for (int k = 0; k < cars; ++k) {
            const bool bought = rng.Chance(60);
            std::string make, model, version, trim;
            if (bought) {
                const NewModel& m = NewModelFor(rng, site);
                make = m.make;
                model = m.model;
                trim = Latin1FromUtf8(m.versions[0]);
            } else {
                const UsedModel& m = rng.Pick(UsedModels());
                make = Latin1FromUtf8(m.make);
                model = Latin1FromUtf8(m.model);
            }
            version = model + " " + EngineFor(rng, make);
            const int order = anchor - rng.Range(30, 2500);
            const int mec = order + rng.Range(10, 60);
            const int km = std::max(100, (anchor - mec) * rng.Range(20, 55));
            car.Int("idTVO", ids.Take()).Int("idClient", idClient).Int("TypeVO", bought ? 2 : 1)
                .Text("Immatriculation", RandomPlate(rng)).Text("InfoMarque", make)
                .Text("InfoModele", model).Text("InfoVersion", version)
                .Text("Acheteur", PersonName(p)).Text("Site", site.site).Date("DateOrdre", order)
                .Date("MEC", mec).Int("KMS", km).Date("DateFinGarantie", mec + 2 * 365)
                .Utf8("SatisfVehicle", Item(rng, "Satisfaction"))
                .Utf8("SatisfSAV", Item(rng, "Satisfaction"))
                .Text("Concession", concession).Int("idOwner", OwnerOf(rng, concession));
            if (!trim.empty()) car.Text("InfoTypeVersion", trim);
            if (bought) car.Int("NVO", 80000 + rng.Range(0, std::max(1, count)));
            if (rng.Chance(70)) {
                const int last = anchor - rng.Range(10, 400);
                car.Date("DateLastSAV", last).Int("KmLastSAV", RoundTo(km * 0.9, 100))
                    .Date("DateNextSAV", last + 365).Int("KmNextSAV", RoundTo(km * 0.9 + 15000, 1000))
                    .Utf8("LieuEntretien1", site.label);
            }
            if (rng.Chance(45)) {
                car.Text("TypeFinancement", rng.Chance(50) ? "LOA" : "CREDIT")
                    .Utf8("AbbrFinancement", Item(rng, "Financeur"))
                    .Real("MensualiteFinancement", Round2(rng.Range(18000, 52000) / 100.0))
                    .Date("DateFinFinancement", order + 365 * rng.Range(2, 5));
            }
            if (!car.Run()) return fail(car);
        }
    }
    return true;
}

}  // namespace tarmel::dataserver::demo
