// The search panel in the real window against the real data server: typing, the countdown, the
// listed rows, more rows, opening a row and stepping through the list, client searches, a warning.
#include <gtest/gtest.h>

#include <QAbstractButton>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/grid.h"
#include "server/xml/texttools.h"
#include "tests/recordform/recordfixture.h"
#include "tests/support/loopbackresponder.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

class Search : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        w().Ticks.StartLatch = 1;  // the start sequence has run
        w().Server.ctrlHeld = [this] { return ctrl_; };
    }
    ui::Grid& Grid() { return *w().Ctl<ui::Grid>(QStringLiteral("ngSearch")); }
    std::string Cell(int row, int column) { return L(Grid().cellText(row, column)); }
    std::string Shown(const char* control) { return L(w().Text(QString::fromLatin1(control))); }
    bool Enabled(const char* control) {
        return w().Control(QString::fromLatin1(control))->isEnabled();
    }
    bool Visible(const char* control) {
        return !w().Control(QString::fromLatin1(control))->isHidden();
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i) w().Timer1Timer();
    }
    // Types the text and lets the countdown run out.
    void Search_(const std::string& text) {
        w().SetText(QStringLiteral("ncbSearch"), Q(text));
        EXPECT_EQ(w().Ticks.SearchCountdown, 4);
        Tick(4);
    }
    void OpenPanel() {
        Click("JvXPBtnSearch");
        ASSERT_TRUE(Visible("Panel1"));
    }
    static std::string UsedVehicle() {
        return Sql(
            "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    }
    std::string Setting(const char* key) {
        return SettingsFile(w().Host.IniFileName).GetTagRegistry(key);
    }
    bool ctrl_ = false;
};

TEST_F(Search, APlateFragmentListsTheMatchingVehiclesOnceTheCountdownRunsOut) {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    OpenPanel();
    EXPECT_EQ(w().Control(QStringLiteral("Panel1"))->y(), 34 + 30);
    EXPECT_EQ(w().Control(QStringLiteral("TSNVO"))->x(), 10);
    EXPECT_EQ(w().Control(QStringLiteral("TSImmat"))->x(), 82);
    EXPECT_EQ(w().Control(QStringLiteral("TSClient"))->x(), 154);
    EXPECT_FALSE(Visible("TSMobile"));
    EXPECT_FALSE(Visible("TSTelephone"));
    EXPECT_TRUE(Visible("ncbSite"));
    EXPECT_EQ(w().Ticks.SearchCountdown, 10);
    w().TSLbImmatClick();
    EXPECT_TRUE(Enabled("TSImmat"));
    EXPECT_FALSE(Enabled("TSNVO"));

    const std::string plate =
        Sql("select Immatriculation from tVehicles where Concession='LYO' order by idTVO");
    const std::string fragment = plate.substr(3, 2);
    const int expected = std::stoi(Sql("select count(*) from tVehicles where Concession='LYO' "
                                       "and Immatriculation like '%" + fragment + "%'"));
    ASSERT_GT(expected, 0);
    w().SetText(QStringLiteral("ncbSearch"), Q(fragment));
    Tick(3);
    EXPECT_EQ(Grid().rowCount(), 0) << "searched before the countdown ran out";
    Tick(1);
    ASSERT_EQ(Grid().rowCount(), std::min(expected, 50));
    for (int r = 0; r < Grid().rowCount(); ++r)
        EXPECT_NE(UpperAscii(Cell(r, 4)).find(UpperAscii(fragment)), std::string::npos) << r;
    EXPECT_EQ(L(Grid().horizontalHeaderItem(4)->text()), "Immat.");
    EXPECT_EQ(Setting("svText1"), fragment);
    EXPECT_EQ(Setting("svOpt1"), "1");
    EXPECT_EQ(Shown("LbDebugInfo0"), "");

    // A reference shows the family, the site's first and last letters and the number.
    const std::string id = Cell(0, 0);
    const std::string site = Sql("select Site from tVehicles where idTVO=" + id);
    const std::string type = Sql("select TypeVO from tVehicles where idTVO=" + id);
    const std::string demo = Sql("select ifnull(StatutVD,'') from tVehicles where idTVO=" + id);
    const std::string family = !demo.empty() ? "VD-" : type == "1" ? "VO-" : type == "2" ? "VN-"
                                                                                        : "VD-";
    EXPECT_EQ(Cell(0, 2), family + site.substr(0, 1) + LowerAscii(site.substr(site.size() - 1)) +
                              "-" + Sql("select NVO from tVehicles where idTVO=" + id));
}

TEST_F(Search, MoreRowsAreAskedFiftyAtATimeButNotForANumberSearch) {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    w().Host.UserConcession = "QUINTAR";  // every dealership: more vehicles than one page
    // Every vehicle with a plate: an empty text matches them all.
    const int vehicles =
        std::stoi(Sql("select count(*) from tVehicles where Immatriculation like '%%'"));
    ASSERT_GT(vehicles, 50);
    OpenPanel();
    w().TSLbImmatClick();
    Search_("");
    EXPECT_EQ(Grid().rowCount(), 50);
    EXPECT_EQ(Shown("ncbLabel"), "50 premiers enregistrements");
    EXPECT_TRUE(Visible("JvXPBtnSearchPlus"));
    Click("JvXPBtnSearchPlus");
    EXPECT_EQ(w().Search.SearchMaxRows, 100);
    EXPECT_EQ(Grid().rowCount(), std::min(vehicles, 100));
    if (vehicles <= 100) {
        EXPECT_EQ(Shown("ncbLabel"),
                  std::to_string(vehicles) + Latin1FromUtf8(" enregistrements trouvés"));
        EXPECT_FALSE(Visible("JvXPBtnSearchPlus"));
    }

    w().TSLbNVOClick();
    Search_("1");
    EXPECT_EQ(w().Search.SearchMaxRows, 50);
    EXPECT_EQ(Shown("ncbLabel"), "50 premiers enregistrements");
    EXPECT_FALSE(Visible("JvXPBtnSearchPlus"));
    EXPECT_EQ(L(Grid().horizontalHeaderItem(2)->text()), Latin1FromUtf8("N°VO"));
}

TEST_F(Search, ARowOpensFromTheServerAndTheButtonsStepThroughTheList) {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    OpenPanel();
    w().TSLbImmatClick();
    Search_("");
    const int rows = Grid().rowCount();
    ASSERT_GE(rows, 3);

    // A pending change is saved before another record opens.
    const std::string before = Shown("LbIdTVO");
    w().SetText(QStringLiteral("cPrixVente"), QStringLiteral("11111.00"));
    ASSERT_TRUE(Enabled("JvXPBtnSave"));
    emit Grid().cellClicked(0, 3);
    EXPECT_EQ(SqlAmount("select PrixVente from tVehicles where idTVO=" + before),
              "11111.00");

    auto opened = [this] {
        TXml record = w().Form.RecordXml;
        XmlFind(record, "tVO");
        return XmlValueOf(record, "idTVO");
    };
    EXPECT_EQ(Shown("LbIdTVO"), Cell(0, 0));
    EXPECT_EQ(opened(), Cell(0, 0));
    EXPECT_FALSE(Visible("Panel1"));
    EXPECT_TRUE(Enabled("JvXPNext"));
    EXPECT_FALSE(Enabled("JvXPPrev"));

    Click("JvXPNext");
    EXPECT_EQ(opened(), Cell(1, 0));
    EXPECT_TRUE(Enabled("JvXPNext"));
    EXPECT_TRUE(Enabled("JvXPPrev"));
    Click("JvXPPrev");
    EXPECT_EQ(opened(), Cell(0, 0));

    // The mouse over a row selects it; the buttons follow.
    emit Grid().cellEntered(rows - 1, 3);
    EXPECT_EQ(Grid().currentRow(), rows - 1);
    EXPECT_FALSE(Enabled("JvXPNext"));
    emit Grid().cellEntered(1, 3);
    EXPECT_TRUE(Enabled("JvXPNext"));
    EXPECT_TRUE(Enabled("JvXPPrev"));

    emit Grid().cellClicked(rows - 1, 2);
    EXPECT_EQ(opened(), Cell(rows - 1, 0));
    EXPECT_FALSE(Enabled("JvXPNext"));
    EXPECT_TRUE(Enabled("JvXPPrev"));
}

TEST_F(Search, AClientIsFoundByNameMobileAndTelephone) {
    const std::string id = Sql("select idClient from tClients where Concession='LYO' and "
                               "CliMobile<>'' and CliTelDom<>'' order by idClient");
    ASSERT_NE(id, "");
    OpenClient(id, kSuperAdmin);
    OpenPanel();
    EXPECT_FALSE(Visible("TSNVO"));
    EXPECT_FALSE(Visible("ncbSite"));
    EXPECT_EQ(w().Control(QStringLiteral("TSImmat"))->x(), 10);
    EXPECT_EQ(w().Control(QStringLiteral("TSMobile"))->x(), 154);
    EXPECT_EQ(w().Control(QStringLiteral("TSTelephone"))->x(), 226);

    const struct {
        void (TAxTarmel::*pick)();
        const char* column;
        int gridColumn;
        size_t length;
        const char* option;
    } cases[] = {
        {&TAxTarmel::TSLbClientClick, "CliNom", 6, 4, "5"},
        {&TAxTarmel::TSLbMobileClick, "CliMobile", 4, 6, "6"},
        {&TAxTarmel::TSLbTelephoneClick, "CliTelDom", 3, 6, "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        (w().*c.pick)();
        const std::string value =
            Sql(std::string("select ") + c.column + " from tClients where idClient=" + id)
                .substr(0, c.length);
        const int expected = std::stoi(Sql(std::string("select count(*) from tClients where "
                                                       "Concession='LYO' and ") +
                                           c.column + " like '%" + value + "%'"));
        Search_(value);
        ASSERT_EQ(Grid().rowCount(), std::min(expected, 50));
        bool found = false;
        for (int r = 0; r < Grid().rowCount(); ++r) {
            EXPECT_NE(UpperAscii(Cell(r, c.gridColumn)).find(UpperAscii(value)),
                      std::string::npos);
            found = found || Cell(r, 0) == id;
        }
        EXPECT_TRUE(found);
        EXPECT_EQ(L(Grid().horizontalHeaderItem(2)->text()), Latin1FromUtf8("Réf."));
        EXPECT_EQ(Setting("svOpt2"), c.option);
    }

    // The client opens from its row.
    for (int r = 0; r < Grid().rowCount(); ++r) {
        if (Cell(r, 0) != id) continue;
        emit Grid().cellClicked(r, 2);
        EXPECT_EQ(Shown("LbIDCustomer"), id);
        EXPECT_EQ(w().Record.RecordKind, "_TCL");
    }
}

TEST_F(Search, AnAmpersandAndAPlusOfTheTextReachTheServer) {
    const std::string id = UsedVehicle();
    OpenVehicle(id, kSuperAdmin, 1);
    ASSERT_TRUE(w().SendStatement(
        "AxUpdate", "Update tVehicles set Acheteur='R%26D+CO' where idTVO=" + id, "/XmlTest.xml"));
    ASSERT_EQ(Sql("select Acheteur from tVehicles where idTVO=" + id), "R&D+CO");
    OpenPanel();
    w().TSLbClientClick();
    Search_("r&d+c");
    EXPECT_EQ(Shown("LbDebugInfo0"), "");
    ASSERT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), id);
    bool shown = false;  // the buyer as stored, not as the answer's entity
    for (int column = 1; column < Grid().columnCount(); ++column)
        shown = shown || Cell(0, column) == "R&D+CO";
    EXPECT_TRUE(shown);
}

TEST_F(Search, TheLabelSwitchesToAnExactSearchAtTheNextTick) {
    const std::string id = UsedVehicle();
    OpenVehicle(id, kSuperAdmin, 1);
    const std::string plate = Sql("select Immatriculation from tVehicles where idTVO=" + id);
    OpenPanel();
    w().TSLbImmatClick();
    Search_(plate.substr(0, plate.size() - 1));
    ASSERT_GE(Grid().rowCount(), 1);
    EXPECT_EQ(Shown("LbSearch"), Latin1FromUtf8("à rechercher :"));

    // The cut plate is found by "like" only; the whole plate exactly.
    w().LbSearchClick();
    EXPECT_EQ(w().Ticks.SearchCountdown, 1);
    Tick(1);
    EXPECT_EQ(Shown("LbSearch"), "recherche exacte :");
    EXPECT_EQ(Grid().rowCount(), 0);
    EXPECT_EQ(Shown("ncbLabel"), "0" + Latin1FromUtf8(" enregistrements trouvés"));
    Search_(plate);
    ASSERT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), id);
}

TEST_F(Search, AWarningAnswerLeavesThePreviousRows) {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    OpenPanel();
    w().TSLbImmatClick();
    Search_("");
    const int rows = Grid().rowCount();
    ASSERT_GT(rows, 0);
    const std::string first = Cell(0, 0);

    testsupport::LoopbackResponder responder;
    responder.setFallback(testsupport::Answer(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><AXQueryS RowCount=\"0\" EOF=\"1\">"
        "<LogItems><LogItem>table inconnue</LogItem></LogItems></AXQueryS>"));
    w().Host.BaseHRef = responder.baseUrl();
    Search_("ZZ");
    EXPECT_EQ(Shown("LbDebugInfo0"), "table inconnue - ");
    EXPECT_EQ(Grid().rowCount(), rows);
    EXPECT_EQ(Cell(0, 0), first);
    ASSERT_EQ(responder.requests().size(), 1u);
    EXPECT_NE(responder.requests()[0].target.find("&MaxRows=50"), std::string::npos);
}

TEST_F(Search, CtrlOpensThePresetConditionAndACriterionReturnsToTheTypedOne) {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    const std::string id = Sql("select idTVO from tVehicles where Concession='LYO' order by "
                               "idTVO desc");
    SettingsFile(w().Host.IniFileName).SetTagRegistry("WhereClause", "WHERE VO.idTVO=" + id);
    SettingsFile(w().Host.IniFileName).SetTagRegistry("svText1", "XYZ");
    ctrl_ = true;
    OpenPanel();
    EXPECT_EQ(Shown("ncbSearch"), "");
    EXPECT_EQ(w().Ticks.SearchCountdown, 2);
    Tick(2);
    ASSERT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), id);

    // The site is a criterion again: the preset is dropped.
    w().ncbSiteChange();
    EXPECT_FALSE(w().Search.PresetSearch);
    Tick(2);
    EXPECT_GT(Grid().rowCount(), 1);
}

}  // namespace
}  // namespace tarmel
