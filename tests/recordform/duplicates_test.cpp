// The duplicate-client indicators of the client page in the real window: what the typing sends
// once the timer runs the count out, what the real server's count shows, and the search a click
// on an indicator starts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>

#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "server/xml/texttools.h"
#include "tests/recordform/recordfixture.h"
#include "tests/support/loopbackresponder.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

constexpr const char* kOneRow =
    "<?xml version=\"1.0\"?><AXQueryS RowCount=\"1\" EOF=\"1\"><AXQuery><cpt>7</cpt></AXQuery>"
    "</AXQueryS>";

class Duplicates : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        // The start sequence has run: ticks only count down.
        w().Ticks.StartLatch = 1;
    }

    static std::string LyonClient() {
        return Sql("select idClient from tClients where Concession='LYO' order by idClient");
    }
    // A new client after one of the dealership's, as the New button starts it.
    void NewClient() {
        OpenClient(LyonClient(), kSuperAdmin);
        w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnNewVO"))->click();
        ASSERT_TRUE(w().Record.FlagNewEnreg);
    }
    void Type(const char* control, const std::string& text) {
        w().SetText(QString::fromLatin1(control), Q(text));
    }
    void Tick(int ticks) {
        for (int i = 0; i < ticks; ++i) w().Timer1Timer();
    }
    std::string Shown(const char* control) { return L(w().Text(QString::fromLatin1(control))); }
    bool Hidden(const char* control) {
        return w().Control(QString::fromLatin1(control))->isHidden();
    }
    void DoubleClick(const char* field) {
        QWidget* target = w().Ctl<ui::Memo>(QString::fromLatin1(field))->viewport();
        QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(2, 2),
                          target->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Click(const char* indicator, Qt::KeyboardModifiers modifiers) {
        QWidget* target = w().Control(QString::fromLatin1(indicator));
        QMouseEvent event(QEvent::MouseButtonRelease, QPointF(2, 2),
                          target->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::NoButton,
                          modifiers);
        QApplication::sendEvent(target, &event);
    }
    // The count the database holds for a client column, as the indicator shows it.
    static std::string Count(const std::string& where) {
        const std::string n = Sql("select count(*) from tClients where " + where);
        return n == "0" ? "" : n;
    }
    // The statement of the query requests (blanks as sent, "%20").
    static std::vector<std::string> Queries(const testsupport::LoopbackResponder& responder) {
        std::vector<std::string> sql;
        for (const auto& r : responder.requests()) {
            const size_t at = r.target.find("&SQL=");
            EXPECT_NE(r.target.find("/AxQuery?XMLC_OutputFormat=XML&SQL="), std::string::npos)
                << r.target;
            sql.push_back(at == std::string::npos ? r.target : r.target.substr(at + 5));
        }
        return sql;
    }
};

TEST_F(Duplicates, ANewClientsNameIsCountedASecondAfterTheLastKeystroke) {
    NewClient();
    for (const char* box : {"DblNom", "DblIdent", "DblTelDom", "DblMobile"})
        EXPECT_FALSE(Hidden(box)) << box << " is shown on a new record";
    EXPECT_EQ(Shown("DblNom"), "??");
    testsupport::LoopbackResponder responder;
    responder.setFallback(testsupport::Answer(kOneRow));
    w().Host.BaseHRef = responder.baseUrl();

    Type("aCliNom", "dupon");
    Tick(3);
    Type("aCliNom", "dupont");  // restarts the delay
    Tick(3);
    EXPECT_TRUE(responder.requests().empty());
    Tick(1);
    EXPECT_EQ(Queries(responder),
              std::vector<std::string>{"select%20count(idClient)%20as%20cpt%20from%20tClients%20"
                                       "group%20by%20CliNom%20having%20(CliNom='DUPONT')"
                                       "&idClient=-2"});
    EXPECT_EQ(Shown("DblNom"), "7");
    Tick(8);
    EXPECT_EQ(responder.requests().size(), 1u) << "one count per pause in the typing";

    // The name, then the first name within the second: only the name and first name are counted.
    Type("aCliNom", "martin");
    Tick(2);
    Type("aCliPrenom", "jean");
    Tick(4);
    const auto sql = Queries(responder);
    ASSERT_EQ(sql.size(), 2u);
    EXPECT_NE(sql[1].find("by%20CliNom,%20CliPrenom%20having%20(CliNom='MARTIN')%20and%20"
                          "(CliPreNom='JEAN')"),
              std::string::npos)
        << sql[1];
    EXPECT_EQ(Shown("DblIdent"), "7");

    // A server error leaves the count shown as it was.
    responder.enqueue(testsupport::Answer(
        "<?xml version=\"1.0\"?><LogItems><LogItem>panne</LogItem></LogItems>"));
    Type("aCliNom", "durand");
    Tick(4);
    EXPECT_EQ(responder.requests().size(), 3u);
    EXPECT_EQ(Shown("DblNom"), "7");
    EXPECT_NE(Shown("LbDebugInfo0"), "");
}

TEST_F(Duplicates, TheClientFieldsKeepTheHeaderUpToDateAsTheyAreTyped) {
    NewClient();
    struct Case {
        const char* field;
        const char* text;
        const char* header;
        const char* shown;
    } cases[] = {
        {"aCliNom", "dupont", "xcIdentity", "DUPONT"},
        {"aCliPrenom", "jEAN", "xcIdentity", "DUPONT Jean"},
        {"aCliEmail", "Jean.Dupont@Free.FR", "xcInfoField1", "jean.dupont@free.fr"},
        {"aCliMobile", "0612345678", "xcInfoField2", "06.12.34.56.78"},
        {"aCliTelDom", "0478123456", "xcInfoField3", "04.78.12.34.56"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Type(c.field, c.text);
        EXPECT_NE(Shown(c.header).find(c.shown), std::string::npos) << Shown(c.header);
    }
}

TEST_F(Duplicates, NothingIsSentForAHiddenIndicatorOrAnEmptyName) {
    struct Case {
        const char* proves;
        bool newClient;
        const char* field;
        const char* text;
    } cases[] = {
        {"an existing client's indicators are hidden", false, "aCliNom", "DUPONT"},
        {"nor the telephone's", false, "aCliTelDom", "0478000000"},
        {"an emptied name", true, "aCliNom", ""},
        {"a first name alone", true, "aCliPrenom", "JEAN"},
        {"an emptied mobile", true, "aCliMobile", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proves);
        if (c.newClient) {
            NewClient();
        } else {
            OpenClient(LyonClient(), kSuperAdmin);
        }
        testsupport::LoopbackResponder responder;
        responder.setFallback(testsupport::Answer(kOneRow));
        w().Host.BaseHRef = responder.baseUrl();
        Type("aCliNom", c.newClient ? "" : "DUPONT");
        Type(c.field, "X");
        Type(c.field, c.text);
        Tick(8);
        EXPECT_TRUE(responder.requests().empty()) << responder.requests()[0].target;
        w().Host.BaseHRef = server_->baseHRef();
    }

    // A double-click shows the indicator of an existing client and counts its value.
    OpenClient(LyonClient(), kSuperAdmin);
    ASSERT_TRUE(Hidden("DblMobile"));
    const std::string mobile = Shown("aCliMobile");
    ASSERT_NE(mobile, "");
    DoubleClick("aCliMobile");
    EXPECT_FALSE(Hidden("DblMobile"));
    Tick(4);
    EXPECT_EQ(Shown("DblMobile"), Count("CliMobile='" + mobile + "'"));
    EXPECT_NE(Shown("DblMobile"), "") << "the client itself at least";
}

TEST_F(Duplicates, TheCountShownIsTheDatabasesEvenForANameWithAnApostrophe) {
    ASSERT_TRUE(w().SendStatement("AxInsert",
                                  "Insert into tClients (CliNom, CliPrenom, idClient, idOwner, "
                                  "Concession) Values ('O''Brien', 'Sean', :NewID, 4, 'LYO')",
                                  "/XmlAXInsert.xml"))
        << Shown("LbDebugInfo0");
    const std::string dubois = Sql("select CliNom from tClients group by CliNom "
                                   "having count(*) > 1 order by CliNom");
    ASSERT_NE(dubois, "");
    struct Case {
        const char* field;
        std::string name, firstName;
        const char* box;
        std::string where;
    } cases[] = {
        {"aCliNom", "dupont", "", "DblNom", "CliNom='DUPONT'"},
        {"aCliNom", dubois, "", "DblNom", "CliNom='" + dubois + "'"},
        {"aCliNom", "o'brien", "", "DblNom", "CliNom='O''BRIEN'"},
        {"aCliPrenom", "O'BRIEN", "sean", "DblIdent", "CliNom='O''BRIEN' and CliPrenom='SEAN'"},
    };
    NewClient();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The field typed last decides what is counted.
        if (std::string_view(c.field) == "aCliNom") {
            Type("aCliPrenom", c.firstName);
            Type("aCliNom", c.name);
        } else {
            Type("aCliNom", c.name);
            Type("aCliPrenom", c.firstName);
        }
        Tick(4);
        EXPECT_EQ(Shown("LbDebugInfo0"), "");
        EXPECT_EQ(Shown(c.box), Count(c.where));
    }
    EXPECT_EQ(Shown("DblNom"), "1") << "the client inserted first";
}

TEST_F(Duplicates, AClickSearchesTheValueExactlyAndCtrlClickWithLike) {
    // Part of a client's mobile number: only a like-search finds it.
    const std::string lyo = "Concession='LYO' and ";
    const std::string part = Sql("select substr(CliMobile, 1, 6) from tClients where " + lyo +
                                 "ifnull(CliMobile, '') <> '' order by idClient");
    ASSERT_EQ(part.size(), 6u);
    const int like =
        std::stoi(Sql("select count(*) from tClients where " + lyo + "CliMobile like '%" + part +
                      "%'"));
    ASSERT_GE(like, 1);
    const int obrien = std::stoi(Sql("select count(*) from tClients where " + lyo +
                                     "CliNom='O''BRIEN'"));
    const int sean = std::stoi(Sql("select count(*) from tClients where " + lyo +
                                   "CliNom='O''BRIEN' and CliPrenom='SEAN'"));
    NewClient();
    Type("aCliNom", "O'Brien");
    Type("aCliPrenom", "Sean");
    Type("aCliTelDom", "0478123456");
    Type("aCliMobile", part);
    w().Ticks.DuplicateCheckCountdown = 0;  // no count in the way of the search
    struct Case {
        const char* indicator;
        bool ctrl;
        const char* button;
        std::string text;
        bool withFirstName;  // set before the click
        int rows;            // -1: not looked at
    } cases[] = {
        {"DblNom", false, "TSClient", "O'Brien", false, obrien},
        {"DblIdent", false, "TSClient", "O'Brien", true, sean},
        {"DblTelDom", true, "TSTelephone", "0478123456", true, -1},
        {"DblMobile", false, "TSMobile", part, true, 0},
        {"DblMobile", true, "TSMobile", part, true, std::min(like, 50)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.indicator) + (c.ctrl ? " with Ctrl" : ""));
        w().Search.WithFirstName = true;
        w().Search.ExactSearch = true;  // left from an earlier search
        Click(c.indicator, c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_FALSE(Hidden("Panel1")) << "opened, and an open panel stays open";
        EXPECT_EQ(Shown("ncbSearch"), c.text);
        for (const char* button : {"TSNVO", "TSImmat", "TSClient", "TSTelephone", "TSMobile"}) {
            EXPECT_EQ(w().Control(QString::fromLatin1(button))->isEnabled(),
                      std::string_view(button) == c.button)
                << button;
        }
        EXPECT_EQ(w().Search.WithFirstName, c.withFirstName);
        EXPECT_EQ(w().Search.ExactSearch, !c.ctrl);
        Tick(1);  // the search runs at the next tick
        EXPECT_EQ(Shown("LbDebugInfo0"), "");
        EXPECT_EQ(Shown("LbSearch"),
                  Latin1FromUtf8(c.ctrl ? "à rechercher :" : "recherche exacte :"));
        if (c.rows >= 0) {
            EXPECT_EQ(w().Ctl<ui::Grid>(QStringLiteral("ngSearch"))->rowCount(), c.rows);
        }
    }
}

}  // namespace
}  // namespace tarmel
