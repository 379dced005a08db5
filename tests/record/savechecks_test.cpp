// What a save checks before sending, the statements of grid lines, the fixed fees, the site a
// new record preselects and the delete texts.
#include "record/savechecks.h"

#include <gtest/gtest.h>

#include <map>

#include "formdesc/fieldkinds.h"
#include "record/fixedfees.h"
#include "record/linestatements.h"
#include "record/newdelete.h"

namespace tarmel {
namespace {

ControlTexts Texts(std::map<std::string, std::string> values) {
    return [values](std::string_view name) {
        const auto found = values.find(std::string(name));
        return found == values.end() ? std::string() : found->second;
    };
}

TEST(SaveChecks, VehicleFamiliesStopAtTheFirstMissingField) {
    const std::map<std::string, std::string> vo = {
        {"cNVO", "123"}, {"cSite", "LYON-SUD"}, {"cInfoMarque", "RENAULT"}};
    struct Case {
        RecordFamily family;
        std::map<std::string, std::string> change;
        std::string focus;
    } cases[] = {
        {RecordFamily::VO, {}, ""},
        {RecordFamily::VO, {{"cNVO", ""}}, "cNVO"},
        {RecordFamily::VO, {{"cNVO", "0"}}, "cNVO"},
        {RecordFamily::VO, {{"cNVO", "12a"}}, "cNVO"},
        {RecordFamily::VO, {{"cSite", ""}}, "cSite"},
        {RecordFamily::VO, {{"cInfoMarque", ""}}, "cInfoMarque"},
        {RecordFamily::VO, {{"cDateOrdre", "02/03/2026"}}, "cDestination"},
        {RecordFamily::VO, {{"cDateOrdre", "02/03/2026"}, {"cDestination", "PARTICULIERS"}}, ""},
        {RecordFamily::VO, {{"cDateEntree", "02/03/2026"}, {"cMEC", "02/03/2026"}}, ""},
        {RecordFamily::VO, {{"cDateEntree", "02/03/2026"}, {"cMEC", "03/03/2026"}}, "cMEC"},
        {RecordFamily::VO, {{"cDateEntree", "02/03/2026"}, {"cMEC", "01/03/2026"}}, ""},
        // The order date wins over the registration check.
        {RecordFamily::VO,
         {{"cDateOrdre", "02/03/2026"},
          {"cDestination", "X"},
          {"cDateEntree", "02/03/2026"},
          {"cMEC", "09/03/2026"}},
         ""},
        {RecordFamily::VD, {{"cVDNVO", "9"}, {"cVDSite", "A"}, {"cVDInfoMarque", "B"}}, ""},
        {RecordFamily::VD, {{"cVDNVO", "9"}, {"cVDSite", "A"}}, "cVDInfoMarque"},
        {RecordFamily::VN,
         {{"cVNNVO", "9"}, {"cVNSite", "A"}, {"cVNInfoMarque", "B"}},
         "cVNInfoModele"},
        {RecordFamily::VN,
         {{"cVNNVO", "9"}, {"cVNSite", "A"}, {"cVNInfoMarque", "B"}, {"cVNInfoModele", "C"}},
         "cVNInfoTypeVersion"},
        {RecordFamily::CL, {{"cNVO", ""}}, ""},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> values =
            c.family == RecordFamily::VO ? vo : std::map<std::string, std::string>{};
        for (const auto& [k, v] : c.change) values[k] = v;
        SCOPED_TRACE(FamilyName(c.family) + " -> " + c.focus);
        EXPECT_EQ(MissingVehicleField(c.family, Texts(values)), c.focus);
    }
}

TEST(SaveChecks, ClientPagesAndTheirVehicle) {
    EXPECT_EQ(MissingClientField(Texts({{"aSite", "A"}, {"aidCom", "3"}, {"aCliNom", "N"}})), "");
    EXPECT_EQ(MissingClientField(Texts({{"aSite", "A"}, {"aCliNom", "N"}})), "aidCom");
    EXPECT_EQ(MissingClientField(Texts({})), "aSite");
    for (const char* notYet : {"-2", "-1", "", "0", "abc"}) {
        EXPECT_EQ(MissingClientVehicleField(Texts({{"LbIDCustomer", notYet}})), kNoClientYet)
            << notYet;
    }
    EXPECT_EQ(MissingClientVehicleField(Texts({{"LbIDCustomer", "1349"}})), "vInfoMarque");
    EXPECT_EQ(MissingClientVehicleField(
                  Texts({{"LbIDCustomer", "1349"}, {"vInfoMarque", "A"}, {"vInfoModele", "B"}})),
              "");
}

TsDesc Cell(const char* column, int type, const char* stored, const char* current) {
    TsDesc d;
    d.columnName = column;
    d.dataType = type;
    d.storedValue = stored;
    d.currentValue = current;
    return d;
}

TsLine CostLine(const char* storedAmount, const char* amount, const char* storedId = "77") {
    TsLine line;
    line.cells[0] = Cell("idFrevo", datatype::Integer, storedId, storedId);
    line.cells[1] = Cell("DateFrevo", datatype::Date, "05/03/2026", "05/03/2026");
    line.cells[2] = Cell("LibelleFrevo", datatype::Text, "Pneus", "Pneus");
    line.cells[6] = Cell("MontantHT", datatype::Decimal, storedAmount, amount);
    return line;
}

TEST(LineStatements, InsertUpdateDeleteAndNoKey) {
    const LineTarget frevo{"[tVO - Frevo]", "idVO", "2001", "idFrevo"};
    EXPECT_EQ(LineStatement(CostLine("100.00", "120.50"), LineMode::Update, frevo),
              "Update [tVO - Frevo] set MontantHT=120.50 where (idFrevo=77)");
    EXPECT_EQ(LineStatement(CostLine("100.00", "100.00"), LineMode::Update, frevo), "");
    EXPECT_EQ(LineStatement(CostLine("100.00", "0"), LineMode::Delete, frevo),
              "Delete * from [tVO - Frevo] where (idFrevo=77)");

    TsLine fresh = CostLine("", "45.00", "");
    fresh.cells[1].storedValue.clear();
    fresh.cells[2].storedValue.clear();
    EXPECT_EQ(LineStatement(fresh, LineMode::Insert, frevo),
              "Insert into [tVO - Frevo] (DateFrevo,LibelleFrevo,MontantHT, idVO, idFrevo ) "
              "Values (#03/05/2026#,'Pneus',45.00, 2001, :NewID)");

    // Every cell changed: no key is left, and an UPDATE without one would reach every line.
    TsLine all = CostLine("1", "2", "");
    all.cells[0].currentValue = "5";
    all.cells[1].currentValue = "06/03/2026";
    all.cells[2].currentValue = "Vidange";
    EXPECT_EQ(LineStatement(all, LineMode::Update, frevo), "");

    TsLine action;
    action.cells[0] = Cell("idAction", datatype::Integer, "1234", "1234");
    action.cells[2] = Cell("idCom", datatype::Integer, "12", "14");
    action.cells[3] = Cell("TypeAction", datatype::Integer, "3", "2");
    const LineTarget actions{"tActions", "idClient", "4711", "idAction"};
    EXPECT_EQ(LineStatement(action, LineMode::Update, actions),
              "Update tActions set idCom=14,TypeAction=2 where (idAction=1234)");

    // The two forms as the actions grid writes them, character for character.
    TsLine added;
    added.cells[0] = Cell("A", datatype::Integer, "", "");
    added.cells[1] = Cell("D", datatype::Date, "", "20/05/2010");
    added.cells[2] = Cell("S", datatype::Integer, "", "12");
    added.cells[3] = Cell("T", datatype::Integer, "", "3");
    EXPECT_EQ(LineStatement(added, LineMode::Insert, actions),
              "Insert into tActions (D,S,T, idClient, idAction ) Values "
              "(#05/20/2010#,12,3, 4711, :NewID)");
    TsLine edited;
    edited.cells[0] = Cell("A", datatype::Integer, "1234", "1234");
    edited.cells[2] = Cell("S", datatype::Integer, "12", "14");
    edited.cells[3] = Cell("T", datatype::Integer, "3", "2");
    EXPECT_EQ(LineStatement(edited, LineMode::Update, actions),
              "Update tActions set S=14,T=2 where (A=1234)");
}

TEST(LineStatements, MissingActionColumnSkipsTheIdentifier) {
    TsLine line;
    for (TsDesc& cell : line.cells) cell.currentValue = "x";
    line.cells[0].currentValue.clear();
    EXPECT_EQ(MissingActionColumn(line), 0);
    line.cells[6].currentValue.clear();
    line.cells[9].currentValue.clear();
    EXPECT_EQ(MissingActionColumn(line), 7);
}

TEST(FixedFees, OnceForAPrivateBuyerOfASiteThatCharges) {
    const std::string equip =
        "<ParsS></ParsS><InfoSiteS><InfoSite><Site>LYON-SUD</Site>"
        "<MontantFraisDossier>150</MontantFraisDossier></InfoSite><InfoSite><Site>VILLEURBANNE"
        "</Site><MontantFraisDossier>abc</MontantFraisDossier></InfoSite></InfoSiteS>";
    auto doc = [](const std::string& text) {
        TXml x;
        x.setText(text);
        return x;
    };
    const TXml lists = doc(equip);
    const TXml record =
        doc("<tVO><idVO>2001</idVO></tVO><FrevoS><Frevo><TypeFrevo>interne"
            "</TypeFrevo></Frevo></FrevoS>");
    const TXml withFee =
        doc("<tVO><idVO>2001</idVO></tVO><FrevoS><Frevo><TypeFrevo>Fixe"
            "</TypeFrevo></Frevo></FrevoS>");
    const TXml unsaved = doc("<tVO><idVO></idVO></tVO>");
    struct Case {
        const TXml* record;
        const char* site;
        const char* destination;
        bool inserts;
    } cases[] = {
        {&record, "lyon-sud", "particuliers", true},
        {&withFee, "LYON-SUD", "PARTICULIERS", false},
        {&unsaved, "LYON-SUD", "PARTICULIERS", false},
        {&record, "LYON-SUD", "MARCHANDS", false},
        {&record, "VILLEURBANNE", "PARTICULIERS", false},
        {&record, "AILLEURS", "PARTICULIERS", false},
    };
    for (const Case& c : cases) {
        FixedFeesInput input{c.record, &lists, c.site, c.destination, Date{2026, 3, 14}};
        SCOPED_TRACE(std::string(c.site) + " " + c.destination);
        const std::string statement = FixedFeesStatement(input);
        EXPECT_EQ(statement.empty(), !c.inserts);
        if (c.inserts) {
            EXPECT_EQ(statement,
                      "Insert into [tVO - Frevo] (DateFrevo, TypeFrevo, MontantHT, idVO, idFrevo ) "
                      "Values (#03/14/2026#,'fixe', 150.00, 2001, :NewID) ");
        }
    }
}

TEST(NewRecord, SitePreselection) {
    const std::vector<std::string> items = {"", "Lyon-Sud", "VILLEURBANNE", "lyon-sud", "DARDILLY"};
    struct Case {
        const char* lastSite;
        const char* userSite;
        int chosen;
    } cases[] = {
        {"LYON-SUD", "", 3},               // the last equal item stays selected
        {"", "#", -1},                     // the user's list says none
        {"", "DARDILLY;VILLEURBANNE", 4},  // earliest in the user's list
        {"", "villeurbanne;lyon-sud", 2},
        {"", "LYON-SUD", 1},  // a tie goes to the earlier item
        {"", "GRENOBLE", -1},
        {"AILLEURS", "DARDILLY", -1},  // a last site not in the list selects nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PreselectedSite(items, c.lastSite, c.userSite), c.chosen)
            << c.lastSite << " / " << c.userSite;
    }
}

TEST(DeleteTexts, QuestionsAndStatements) {
    EXPECT_EQ(VehicleDeleteQuestion("VO", "123"),
              "Veuillez confirmer la suppression du VO n\xB0"
              "123");
    EXPECT_EQ(ClientDeleteQuestion("DUPONT", "Jean"),
              "Veuillez confirmer la suppression du client \"DUPONT Jean\"");
    EXPECT_EQ(VehicleDeleteStatements("2001"),
              (std::vector<std::string>{"Delete * From [tVO - Liens Images] where idVO=2001",
                                        "Delete * From [tVO - Frevo] where idVO=2001",
                                        "Delete * From [tVehicles] where idVO=2001"}));
    EXPECT_EQ(ClientDeleteStatement("1349"), "Delete * From [tClients] where idClient=1349");
}

}  // namespace
}  // namespace tarmel
