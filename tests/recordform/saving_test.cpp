// Saving, creating and deleting records in the real window against the real data server, read
// back from the database the server wrote.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QTabWidget>

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
using testsupport::ServerDown;
using Answer = Dialogs::Answer;

class Saving : public testsupport::RecordWindowTest {
protected:
    void Type(const char* control, const std::string& text) {
        w().SetText(QString::fromLatin1(control), Q(text));
    }
    std::string Shown(const char* control) { return L(w().Text(QString::fromLatin1(control))); }
    std::string Band() { return Shown("LbDebugInfo0"); }
    static std::string Money(const std::string& column, const std::string& idTVO) {
        return SqlAmount("select " + column + " from tVehicles where idTVO=" + idTVO);
    }
    static std::string UsedVehicle(const std::string& extra = "") {
        return Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' " + extra +
                   " order by idTVO");
    }
    void ServerBack() { w().Host.BaseHRef = server_->baseHRef(); }
};

TEST_F(Saving, APriceIsStoredAndAnEditMadeWhileTheServerIsDownWaitsForIt) {
    const std::string id = UsedVehicle();
    OpenVehicle(id, kSuperAdmin, 1);
    Type("cPrixVente", "12345.00");
    ASSERT_TRUE(SaveEnabled());
    Click("JvXPBtnSave");
    EXPECT_EQ(Money("PrixVente", id), "12345.00");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(w().Form.Pages[1].statement, "");
    EXPECT_EQ(Band(), "");

    {
        ServerDown down(*server_);
        Type("cPrixVente", "13000.00");
        EXPECT_FALSE(w().SaveChanges());
        EXPECT_EQ(Field(1, "PrixVente").currentValue, "13000.00");
        EXPECT_TRUE(SaveEnabled());
        EXPECT_NE(Band(), "");
        EXPECT_FALSE(w().Control(QStringLiteral("PanelWarning"))->isHidden());
        // The page does not change with the edit unsaved.
        auto* tabs = w().Ctl<QTabWidget>(QStringLiteral("Tabs"));
        EXPECT_FALSE(w().TabsChanging());
        EXPECT_EQ(tabs->currentIndex(), 0);
    }
    ServerBack();
    EXPECT_EQ(Money("PrixVente", id), "12345.00");
    EXPECT_TRUE(w().SaveChanges());
    EXPECT_EQ(Money("PrixVente", id), "13000.00");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(Band(), "");
}

TEST_F(Saving, ANewUsedVehicleGetsItsNumberFromTheServerAndIsReloaded) {
    const std::string previous = UsedVehicle();
    OpenVehicle(previous, kSuperAdmin, 1);
    Click("JvXPBtnNewVO");
    EXPECT_TRUE(w().Record.FlagNewEnreg);
    EXPECT_EQ(w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->currentIndex(), 0);
    EXPECT_EQ(Shown("cNVO"), "");
    EXPECT_EQ(Field(1, "NVO").storedValue, "");
    EXPECT_EQ(w().Record.FrevoTotal, "");
    EXPECT_EQ(Shown("cTotFrevo"), "0.00") << "no cost of the previous vehicle in the margins";
    // The super-administrator's last site is preselected.
    EXPECT_EQ(UpperAscii(Shown("cSite")), UpperAscii(w().Record.LastSite));

    Type("cNVO", "98765");
    auto* make = w().Ctl<QComboBox>(QStringLiteral("cInfoMarque"));
    ASSERT_GT(make->count(), 3);
    Choose("cInfoMarque", 1);
    ASSERT_TRUE(SaveEnabled()) << L(w().Text(QStringLiteral("LbDebugInfo2")));
    EXPECT_TRUE(w().SaveChanges()) << Band();

    const std::string created = Shown("LbIdTVO");
    EXPECT_NE(created, previous);
    EXPECT_EQ(Sql("select NVO from tVehicles where idTVO=" + created), "98765");
    EXPECT_EQ(Sql("select InfoMarque from tVehicles where idTVO=" + created), L(make->itemText(1)));
    EXPECT_EQ(UpperAscii(Sql("select Site from tVehicles where idTVO=" + created)),
              UpperAscii(w().Record.LastSite));
    EXPECT_EQ(Sql("select TypeVO from tVehicles where idTVO=" + created), "1");
    EXPECT_FALSE(w().Record.FlagNewEnreg);
    EXPECT_FALSE(SaveEnabled()) << Shown("LbDebugInfo2");
    // Reloaded: the identifiers come from the server's record document.
    EXPECT_EQ(Field(1, "NVO").storedValue, "98765");
    EXPECT_EQ(w().GetIdVO(false), Sql("select idVO from tVehicles where idTVO=" + created));

    // Again from the record just created: what was chosen is what is shown after the reload.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Click("JvXPBtnNewVO");
        ASSERT_TRUE(w().Record.FlagNewEnreg);
        Type("cNVO", std::to_string(98766 + round));
        Choose("cInfoMarque", 2 + round);
        const std::string chosen = Shown("cInfoMarque");
        EXPECT_TRUE(w().SaveChanges()) << Band();
        const std::string id = Shown("LbIdTVO");
        EXPECT_EQ(Sql("select InfoMarque from tVehicles where idTVO=" + id), chosen);
        EXPECT_EQ(Shown("cInfoMarque"), chosen);
        EXPECT_FALSE(SaveEnabled()) << Shown("LbDebugInfo2");
    }
}

TEST_F(Saving, EachVehicleFamilyStartsANewRecordOnItsFirstPage) {
    struct Case {
        const char* where;
        int idTypeVO, tab;
        const char* number;
    } cases[] = {
        {"TypeVO=2 and ifnull(StatutVD,'')<>''", 3, 1, "cVDNVO"},
        {"TypeVO=2 and ifnull(StatutVD,'')=''", 2, 2, "cVNNVO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        OpenVehicle(
            Sql(std::string("select idTVO from tVehicles where Concession='LYO' and ") + c.where),
            kSuperAdmin, c.idTypeVO);
        Click("JvXPBtnNewVO");
        EXPECT_TRUE(w().Record.FlagNewEnreg);
        EXPECT_EQ(w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->currentIndex(), c.tab);
        EXPECT_EQ(Shown(c.number), "");
        EXPECT_EQ(w().GetIdVO(false), "") << "nothing acts on the previous vehicle any more";
    }
}

TEST_F(Saving, ANewClientGetsItsIdentifierAndTheVehicleLabelStays) {
    const std::string client = Sql("select idClient from tClients where Concession='LYO'");
    OpenClient(client, kSuperAdmin);
    Click("JvXPBtnNewVO");
    EXPECT_EQ(Shown("LbIDCustomer"), "-2");
    EXPECT_EQ(w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->currentIndex(), 6);
    EXPECT_EQ(w().Ctl<ui::Grid>(QStringLiteral("ngAction"))->rowCount(), 0);
    EXPECT_EQ(w().GetIdClient(false), "") << "nothing acts on the previous client any more";
    const std::string vehicleLabel = Shown("LbIdTVO");

    Type("aCliNom", "NOUVEAU");
    if (Shown("aSite").empty()) Choose("aSite", 1);
    if (Shown("aidCom").empty()) {
        Choose("aidCom", w().Ctl<QComboBox>(QStringLiteral("aidCom"))->count() - 1);
    }
    ASSERT_TRUE(SaveEnabled()) << L(w().Text(QStringLiteral("LbDebugInfo2")));
    EXPECT_TRUE(w().SaveChanges()) << Band();
    const std::string created = Shown("LbIDCustomer");
    EXPECT_GT(std::atoi(created.c_str()), 0) << created;
    EXPECT_EQ(Sql("select CliNom from tClients where idClient=" + created), "NOUVEAU");
    EXPECT_EQ(Shown("LbIdTVO"), vehicleLabel);
    EXPECT_EQ(w().GetIdClient(false), created);
}

TEST_F(Saving, MandatoryFieldsStopTheSaveWithTheFocusOnThem) {
    const std::string id = UsedVehicle();
    const std::string number = Sql("select NVO from tVehicles where idTVO=" + id);
    OpenVehicle(id, kSuperAdmin, 1);
    w().show();
    struct Case {
        const char* control;
        std::string text;
        const char* focus;  // nullptr: the save goes through
    } cases[] = {
        {"cNVO", "0", "cNVO"}, {"cNVO", "", "cNVO"}, {"cDateOrdre", "02/03/2026", "cDestination"},
        {"cMEC", "", nullptr},  // set below to the entry date: equal dates pass
        {"cMEC", "", "cMEC"},   // one day after the entry date
    };
    cases[3].text = Shown("cDateEntree");
    if (const auto entry = ParseShortDate(cases[3].text)) {
        Date next = *entry;
        next.day += 1;
        if (!IsValidDate(next.year, next.month, next.day))
            next = Date{entry->year, entry->month + 1, 1};
        if (!IsValidDate(next.year, next.month, next.day)) next = Date{entry->year + 1, 1, 1};
        cases[4].text = FormatDate(next);
    }
    ASSERT_FALSE(cases[3].text.empty()) << "the demo vehicle has an entry date";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " = " + c.text);
        OpenVehicle(id, kSuperAdmin, 1, false);
        if (std::string(c.control) == "cDateOrdre") {
            Choose("cDestination", 0);
            Type("cDestination", "");
        } else if (std::string(c.control) == "cMEC") {
            Type("cDateOrdre", "");  // the registration is checked for a vehicle not ordered
        }
        Type(c.control, c.text);
        const std::string before = w().Form.Pages[1].statement;
        const bool saved = w().SaveChanges();
        if (c.focus == nullptr) {
            EXPECT_TRUE(saved) << Band();
            EXPECT_EQ(w().Form.Pages[1].statement, "");
        } else {
            EXPECT_FALSE(saved);
            EXPECT_EQ(w().Form.Pages[1].statement, before) << "nothing sent";
            QWidget* focus = w().Control(QString::fromLatin1(c.focus));
            EXPECT_TRUE(w().focusWidget() == focus || focus->isAncestorOf(w().focusWidget()));
        }
    }
    EXPECT_EQ(Sql("select NVO from tVehicles where idTVO=" + id), number);

    // A new record without a number saves nothing and lets the user go on.
    OpenVehicle(id, kSuperAdmin, 1, false);
    Click("JvXPBtnNewVO");
    EXPECT_TRUE(w().SaveChanges());
    EXPECT_TRUE(w().Record.FlagNewEnreg);

    // A demonstration vehicle needs no model.
    const std::string demo =
        Sql("select idTVO from tVehicles where TypeVO=2 and ifnull(StatutVD,'')<>'' and "
            "Concession='LYO'");
    OpenVehicle(demo, kSuperAdmin, 3);
    Type("cVDInfoModele", "");
    Type("cVDNVO", "4242");
    EXPECT_TRUE(w().SaveChanges()) << Band();
    EXPECT_EQ(Sql("select NVO from tVehicles where idTVO=" + demo), "4242");
}

// A cost line the server refuses, then the page it accepts: the save failed, and says why.
TEST_F(Saving, AFailedLineFailsTheSaveEvenWhenThePageIsStored) {
    const std::string id = UsedVehicle();
    OpenVehicle(id, kSuperAdmin, 1);
    TsLine line;
    line.statement = "Update [tVO - Frevo] set NoSuchColumn=1 where (idFrevo=1)";
    w().Form.FrevoRows = {TsLine{}, line};
    Type("cPrixVente", "11111.00");
    EXPECT_FALSE(w().SaveChanges());
    EXPECT_EQ(Money("PrixVente", id), "11111.00") << "the page itself was stored";
    EXPECT_NE(Band(), "") << "the line's failure stays shown";
    EXPECT_FALSE(w().Control(QStringLiteral("PanelWarning"))->isHidden());
}

TEST_F(Saving, ActionLinesSendTheFirstPendingOneAndRememberTheirValues) {
    const std::string client = Sql("select idClient from tClients where Concession='LYO'");
    OpenClient(client, kSuperAdmin);
    w().Host.IniFileName = dir_.file("tarmel.ini");
    // A new action as the grid builds it: column c is cell c-1, column 1 the identifier.
    struct Column {
        const char* name;
        int type;
        const char* value;
    } const columns[] = {
        {"idAction", datatype::Integer, ""},
        {"DateAction", datatype::Date, "10/03/2026"},
        {"idCom", datatype::Integer, ""},
        {"TypeAction", datatype::Integer, "2"},
        {"SujetAction", datatype::Integer, "1"},
        {"CommentaireAction", datatype::Text, "rappeler"},
        {"DateRelance", datatype::Date, "17/03/2026"},
        {"idComRelance", datatype::Integer, "3"},
        {"SujetRelance", datatype::Integer, "1"},
        {"PrioriteRelance", datatype::Integer, "2"},
    };
    TsLine line;
    for (size_t c = 0; c < line.cells.size(); ++c) {
        line.cells[c].columnName = columns[c].name;
        line.cells[c].dataType = columns[c].type;
        line.cells[c].currentValue = columns[c].value;
    }
    w().Form.ActionLines = {TsLine{}, line, TsLine{}};
    w().Form.ActionIcons = {0, 1, 0};  // line 1 is a new action
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(8);  // a page without checks
    ASSERT_TRUE(w().TestActionUpdate(1));
    EXPECT_EQ(w().Form.ActionLines[1].missingColumn, 3);
    EXPECT_FALSE(w().SaveChanges()) << "the salesman is missing: the line waits";
    EXPECT_NE(w().Form.ActionLines[1].statement, "");

    w().Form.ActionLines[1].cells[2].currentValue = "3";
    ASSERT_TRUE(w().TestActionUpdate(1));
    EXPECT_EQ(w().Form.ActionLines[1].missingColumn, 0);
    EXPECT_TRUE(w().SaveChanges()) << Band();
    EXPECT_EQ(Sql("select CommentaireAction from tActions where idClient=" + client +
                  " order by idAction desc"),
              "rappeler");
    EXPECT_EQ(w().Form.ActionLines[1].statement, "");
    const SettingsFile settings(w().Host.IniFileName);
    EXPECT_EQ(settings.GetTagRegistry("sAct2"), "10/03/2026");
    EXPECT_EQ(settings.GetTagRegistry("sAct3"), "3");
    EXPECT_EQ(settings.GetTagRegistry("sAct7"), "17/03/2026");
    EXPECT_EQ(settings.GetTagRegistry("sAct6"), "") << "the comment is not remembered";
}

TEST_F(Saving, AnEditOfTheRecordStillShownAfterAFailedLoadGoesToThatRecord) {
    const std::string shown = UsedVehicle();
    const std::string asked = UsedVehicle("and idTVO>" + shown);
    const std::string askedPrice = Money("PrixVente", asked);
    OpenVehicle(shown, kSuperAdmin, 1);
    {
        ServerDown down(*server_);
        OpenVehicle(asked, kSuperAdmin, 1, false);
    }
    ServerBack();
    Type("cPrixVente", "7777.00");
    EXPECT_TRUE(w().SaveChanges()) << Band();
    EXPECT_EQ(Money("PrixVente", shown), "7777.00");
    EXPECT_EQ(Money("PrixVente", asked), askedPrice);
}

TEST_F(Saving, LeavingWithAnEditPendingAsks) {
    const std::string id = UsedVehicle();
    struct Case {
        Answer answer;
        bool closes;
        const char* stored;  // the price in the database afterwards
    } cases[] = {
        {Answer::Cancel, false, "5000.00"},
        {Answer::No, true, "5000.00"},
        {Answer::Yes, true, "5555.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        OpenVehicle(id, kSuperAdmin, 1);
        Type("cPrixVente", "5000.00");
        ASSERT_TRUE(w().SaveChanges());
        dialogs_.messages.clear();
        Type("cPrixVente", "5555.00");
        dialogs_.answer = c.answer;

        QCloseEvent close;
        QApplication::sendEvent(&w(), &close);
        EXPECT_EQ(close.isAccepted(), c.closes);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0], "Tarmel?? Enregistrer les modifications ?");
        EXPECT_EQ(Money("PrixVente", id), c.stored);

        // The reload button asks the same; Annuler keeps the edit on screen.
        Type("cPrixVente", "5555.00");
        dialogs_.messages.clear();
        Click("JvXPBtnActualize");
        const bool pending = Money("PrixVente", id) != "5555.00";
        EXPECT_EQ(dialogs_.messages.size(), pending ? 1u : 0u);
        EXPECT_EQ(Field(1, "PrixVente").currentValue,
                  c.answer == Answer::Cancel ? "5555.00" : Money("PrixVente", id));
    }
    // A reload asked by the launcher: Annuler stays on the record and its edit.
    OpenVehicle(id, kSuperAdmin, 1);
    Type("cPrixVente", "5600.00");
    dialogs_.answer = Answer::Cancel;
    dialogs_.messages.clear();
    w().OnInstanceMessage(QStringLiteral("reload"));
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(Field(1, "PrixVente").currentValue, "5600.00");
    ASSERT_TRUE(w().SaveChanges());

    // Nothing pending: nothing asked.
    OpenVehicle(id, kSuperAdmin, 1);
    dialogs_.messages.clear();
    QCloseEvent close;
    QApplication::sendEvent(&w(), &close);
    EXPECT_TRUE(close.isAccepted());
    Click("JvXPBtnActualize");
    EXPECT_TRUE(dialogs_.messages.empty());
}

class Deleting : public Saving {};

TEST_F(Deleting, AUsedVehicleGoesWithItsPhotoLinksAndCostLines) {
    const std::string id = UsedVehicle(
        "and idVO in (select idVO from [tVO - Frevo]) and idVO in (select idVO from "
        "[tVO - Liens Images])");
    ASSERT_FALSE(id.empty());
    const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + id);
    OpenVehicle(id, kSuperAdmin, 1);
    const std::string number = Shown("xcInfoNVO");
    dialogs_.confirm = true;
    Click("JvXPBtnSuppr");
    ASSERT_GE(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0],
              Latin1FromUtf8("Confirmation de Suppression? Veuillez confirmer "
                             "la suppression du VO n°") +
                  number);
    EXPECT_EQ(dialogs_.messages[1], Latin1FromUtf8("Fin de Suppression: Suppression terminée"));
    for (const char* table : {"[tVO - Liens Images]", "[tVO - Frevo]", "tVehicles"}) {
        EXPECT_EQ(Sql(std::string("select count(*) from ") + table + " where idVO=" + idVO), "0")
            << table;
    }
    EXPECT_TRUE(w().Record.FlagNewEnreg) << "a new used vehicle follows";
    EXPECT_EQ(Shown("cNVO"), "");
    EXPECT_EQ(Shown("LbDebugInfo2").rfind("Insert into tVehicles", 0), 0u) << "its defaults";
}

TEST_F(Deleting, EachStatementGoesOnlyAfterThePreviousOneWasTaken) {
    const std::string id = UsedVehicle();
    const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + id);
    OpenVehicle(id, kSuperAdmin, 1);
    const std::string taken =
        "<?xml version=\"1.0\"?><AXExecute><OutParams><NewID></NewID><RowsAffected>1"
        "</RowsAffected></OutParams></AXExecute>";
    for (const bool firstFails : {true, false}) {
        testsupport::LoopbackResponder responder;
        if (firstFails) responder.enqueue(testsupport::Answer("panne", 500));
        responder.setFallback(testsupport::Answer(taken));
        w().Host.BaseHRef = responder.baseUrl();
        dialogs_.messages.clear();
        Click("JvXPBtnSuppr");
        const auto requests = responder.requests();
        if (firstFails) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(dialogs_.messages.size(), 1u) << "no end message";
            EXPECT_FALSE(w().Record.FlagNewEnreg);
            continue;
        }
        ASSERT_GE(requests.size(), 3u);
        const char* order[] = {"Liens", "Frevo", "tVehicles"};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_NE(requests[i].target.find("AxUpdate?"), std::string::npos);
            EXPECT_NE(requests[i].target.find(order[i]), std::string::npos) << requests[i].target;
            EXPECT_NE(requests[i].target.find("idVO=" + idVO), std::string::npos);
        }
    }
    ServerBack();
    EXPECT_EQ(Sql("select count(*) from tVehicles where idVO=" + idVO), "1");
}

TEST_F(Deleting, AClientAndTheSweepOfCancelledNewVehicles) {
    const std::string client =
        Sql("select idClient from tClients where Concession='LYO' and "
            "idClient not in (select idClient from tActions)");
    OpenClient(client, kSuperAdmin);
    dialogs_.confirm = false;
    Click("JvXPBtnSuppr");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0],
              "Confirmation de Suppression? Veuillez confirmer la "
              "suppression du client \"" +
                  Shown("aCliNom") + " " + Shown("aCliPrenom") + "\"");
    EXPECT_EQ(Sql("select count(*) from tClients where idClient=" + client), "1") << "No";
    dialogs_.confirm = true;
    Click("JvXPBtnSuppr");
    EXPECT_EQ(Sql("select count(*) from tClients where idClient=" + client), "0");
    EXPECT_EQ(Shown("LbIDCustomer"), "-2");

    // The sweep does nothing, and asks nothing, outside the new vehicles.
    dialogs_.messages.clear();
    w().JvXPBtnSweepClick();
    EXPECT_TRUE(dialogs_.messages.empty());

    const std::string sweepable = "TypeVO=2 and Acheteur is null and DateAnnulation is not null";
    // Two cancelled new vehicles, one of them held by a buyer.
    const std::string cancelled = "Update tVehicles set DateAnnulation=#03/01/2026#, Acheteur=";
    const std::string first = Sql("select idTVO from tVehicles where TypeVO=2 order by idTVO");
    const std::string second =
        Sql("select idTVO from tVehicles where TypeVO=2 and idTVO>" + first + " order by idTVO");
    ASSERT_TRUE(w().SendStatement("AxUpdate", cancelled + "NULL where idTVO=" + first, "/x.xml"));
    ASSERT_TRUE(
        w().SendStatement("AxUpdate", cancelled + "'DUPONT' where idTVO=" + second, "/x.xml"));
    const std::string total = Sql("select count(*) from tVehicles");
    const std::string kept = Sql("select count(*) from tVehicles where not (" + sweepable + ")");
    ASSERT_NE(Sql("select count(*) from tVehicles where " + sweepable), "0");
    const std::string brandNew =
        Sql("select idTVO from tVehicles where TypeVO=2 and "
            "ifnull(StatutVD,'')='' and Concession='LYO'");
    OpenVehicle(brandNew, kSuperAdmin, 2);
    w().JvXPBtnSweepClick();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0],
              Latin1FromUtf8("Confirmation de Suppression? Veuillez confirmer la suppression des "
                             "VN annulés sans CTM  "));
    EXPECT_EQ(Sql("select count(*) from tVehicles where " + sweepable), "0");
    EXPECT_EQ(Sql("select count(*) from tVehicles"), kept);
    EXPECT_NE(kept, total);
    EXPECT_EQ(Sql("select count(*) from tVehicles where idTVO=" + second), "1");
}

}  // namespace
}  // namespace tarmel
