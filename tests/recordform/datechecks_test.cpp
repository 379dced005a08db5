// Date fields left by the user and keystroke filters, through the real controls of demo records
// loaded from the real data server: the warning, the reverted text, the focus taken back, and the
// field's current value.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"
#include "record/datecheck.h"
#include "server/xml/texttools.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

QString Shifted(const Date& date, int days) {
    const QDate shifted = QDate(date.year, date.month, date.day).addDays(days);
    return shifted.toString(QStringLiteral("dd/MM/yyyy"));
}

// The box of a refused date as the test's dialogs keep it (Latin-1), from UTF-8 literals.
std::string Box(const std::string& label, const std::string& range) {
    return Latin1FromUtf8("Contrôle de la date saisie: La valeur du champ \"" + label + "\" " +
                          range);
}

class DateChecks : public testsupport::RecordWindowTest {
protected:
    // The window on screen, active, showing page number (1 to 9).
    void ShowPage(int number) {
        w().show();
        QApplication::setActiveWindow(&w());
        ASSERT_TRUE(w().Ctl<ui::PageControl>(QStringLiteral("Tabs"))->selectPage(number - 1));
        QApplication::processEvents();
    }
    QWidget* Control(const char* name) {
        QWidget* control = w().Control(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    bool Focused(QWidget* control) {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr && (focus == control || control->isAncestorOf(focus));
    }
    // The user enters the date control, types text and leaves it for next.
    void EnterTypeLeave(QWidget* control, const QString& text, QWidget* next) {
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(Focused(control)) << L(control->objectName());
        w().SetText(control->objectName(), text);
        next->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> shown;
        shown.swap(dialogs_.messages);
        return shown;
    }

    struct Case {
        const char* name;
        const char* control;
        const char* column;
        QString typed;
        std::string box;  // empty: none
        bool refused;
    };
    // Each row starts from the stored value; a refused date with a box goes back to it, any
    // other text stays and becomes the current value.
    void Run(int page, const std::vector<Case>& cases, QWidget* next) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            QWidget* control = Control(c.control);
            TsDesc& field = Field(page, c.column);
            ASSERT_EQ(field.boundControl, control);
            const std::string stored = field.storedValue;
            EnterTypeLeave(control, c.typed, next);
            const std::vector<std::string> boxes = Boxes();
            if (c.box.empty()) {
                EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes.front());
            } else {
                EXPECT_EQ(boxes, std::vector<std::string>{c.box});
            }
            const std::string shown = c.box.empty() ? L(c.typed) : stored;
            EXPECT_EQ(form::FieldText(control), shown);
            EXPECT_EQ(field.currentValue, shown);
            EXPECT_EQ(Focused(control), c.refused);
            EXPECT_EQ(Focused(next), !c.refused);
            w().SetText(control->objectName(), Q(stored));
        }
    }
};

TEST_F(DateChecks, UsedVehicleDatesAgainstTheServerDateAndTheStartLimit) {
    const std::string id = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and MEC is not null and "
        "DateEntree is not null");
    ASSERT_FALSE(id.empty());
    OpenVehicle(id, kSuperAdmin, 1);
    ShowPage(1);
    const Date server = w().Record.ServerToday;
    ASSERT_NE(server.year, 0);
    const std::string today = FormatDate(server);
    const std::string deb = FormatDate(w().Access.Limits.deb);
    ASSERT_EQ(deb, "01/01/2023") << "the demo dealership's start limit";
    ASSERT_NE(Field(1, "DateEntree").storedValue, "");

    Run(1,
        {
            {"first registration the day after the server date", "cMEC", "MEC",
             Shifted(server, 1), Box("1re MEC", "doit être inférieure au \"" + today + "\""), true},
            {"first registration on the server date", "cMEC", "MEC", Shifted(server, 0), "", false},
            {"entry the day before the start limit", "cDateEntree", "DateEntree",
             Q("31/12/2022"),
             Box("Entrée",
                 "doit être comprise entre le \"" + deb + "\" et le \"" + today + "\""),
             true},
            {"entry on the start limit", "cDateEntree", "DateEntree", Q("01/01/2023"), "", false},
            {"order the day after the server date", "cDateOrdre", "DateOrdre", Shifted(server, 1),
             Box("Ordre", "doit être comprise entre le \"" + deb + "\" et le \"" + today + "\""),
             true},
            {"entry date emptied: no box, the focus comes back", "cDateEntree", "DateEntree", {},
             "", true},
            {"availability the day before the server date", "cDateDisponibilite",
             "DateDisponibilite", Shifted(server, -1),
             Box("Dispo.", "doit être supérieure au \"" + today + "\""), true},
        },
        Control("cKMS"));

    // Entry and order dates keep the third header field up to date.
    w().SetText(QStringLiteral("cDateEntree"), Shifted(server, -30));
    w().SetText(QStringLiteral("cDateOrdre"), Shifted(server, -10));
    EXPECT_EQ(L(w().Text(QStringLiteral("xcInfoField3"))), "20 jours");
}

TEST_F(DateChecks, WithInconsistentLimitsEntryAndOrderDatesAreNotTested) {
    // A start limit after the server's date: the window drops both limits, not the server date.
    const std::string kept = Sql("select Opt_LimiteDateDeb from tOptDates where Concession='LYO'");
    auto setStartLimit = [](const std::string& value) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(server_->databasePath().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const std::string sql = "update tOptDates set Opt_LimiteDateDeb='" + value +
                                "' where Concession='LYO'";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    setStartLimit("2099-01-01");
    const std::string id = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and "
        "DateEntree is not null");
    OpenVehicle(id, kSuperAdmin, 1);
    setStartLimit(kept);
    ASSERT_EQ(w().Access.Limits.deb, Date{});
    ASSERT_EQ(w().Access.Limits.fin, Date{});
    ShowPage(1);
    const Date server = w().Record.ServerToday;
    ASSERT_NE(server.year, 0);

    Run(1,
        {
            {"entry long before any limit", "cDateEntree", "DateEntree", Q("01/01/1990"), "",
             false},
            {"order after the server date", "cDateOrdre", "DateOrdre", Shifted(server, 5), "",
             false},
            {"entry emptied", "cDateEntree", "DateEntree", {}, "", false},
            {"first registration still against the server date", "cMEC", "MEC",
             Shifted(server, 1),
             Box("1re MEC", "doit être inférieure au \"" + FormatDate(server) + "\""), true},
        },
        Control("cKMS"));
}

TEST_F(DateChecks, ClientBirthDateAndVehicleWarranty) {
    const std::string client = Sql(
        "select c.idClient from tClients c where c.Concession='LYO' and exists (select 1 from "
        "TVehiclesClarum v where v.idClient=c.idClient and v.DateOrdre is not null)");
    ASSERT_FALSE(client.empty());
    OpenClient(client, kSuperAdmin);
    ShowPage(7);
    const Date today = form::Today();
    const Date adult = AdultBirthLimit(today);
    const QString adultText = Q(FormatDate(adult));
    Run(7,
        {
            {"born exactly 18 years ago", "aCliDateNaissance", "CliDateNaissance", adultText,
             "", false},
            {"born one day later", "aCliDateNaissance", "CliDateNaissance", Shifted(adult, 1),
             Box("Né(e) le", "doit être inférieure au \"" + FormatDate(adult) + "\""), true},
        },
        Control("aCliCP"));

    ShowPage(8);
    const std::string order = Field(8, "DateOrdre").storedValue;
    const auto orderDate = ParseShortDate(order);
    ASSERT_TRUE(orderDate) << order;
    Run(8,
        {
            {"end of warranty the day before the order", "vDateFinGarantie", "DateFinGarantie",
             Shifted(*orderDate, -1), Box("Fin gar.", "doit être supérieure au \"" + order + "\""),
             true},
            {"end of warranty on the order day", "vDateFinGarantie", "DateFinGarantie",
             Q(order), "", false},
        },
        Control("vKMS"));

    // Without an order date the first registration is the limit; without either, no test.
    w().SetText(QStringLiteral("vDateOrdre"), {});
    w().SetText(QStringLiteral("vMEC"), QStringLiteral("15/03/2020"));
    Run(8,
        {
            {"end of financing before the first registration", "vDateFinFinancement",
             "DateFinFinancement", Q("14/03/2020"),
             Box("Fin fin.", "doit être supérieure au \"15/03/2020\""), true},
        },
        Control("vKMS"));
    w().SetText(QStringLiteral("vMEC"), {});
    Run(8,
        {
            {"neither order nor first registration", "vDateFinGarantie", "DateFinGarantie",
             Q("01/01/1950"), "", false},
        },
        Control("vKMS"));
}

TEST_F(DateChecks, EveryDateControlWithLimitsIsCheckedOnExit) {
    for (const DateExitRow& row : DateExitRows()) {
        for (std::string_view name : row.controls) {
            QWidget* control = w().Control(Q(name));
            ASSERT_NE(control, nullptr) << name;
            EXPECT_TRUE(ui::HasHandler(control, ui::Event::Exit)) << name;
        }
    }
}

class KeyStrokes : public DateChecks {
protected:
    static void Key(QWidget* target, int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
    // Each character typed as a key of the keyboard (Qt's key codes of Latin-1 characters are
    // their capitals), backspace as "\b".
    static void Type(QWidget* target, const QString& keys) {
        for (QChar c : keys)
            Key(target, c == QChar(8) ? int(Qt::Key_Backspace) : int(c.toUpper().unicode()),
                QString(c));
    }
    // Focus in the memo, the caret after its text.
    static void ToEnd(QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        qobject_cast<QPlainTextEdit*>(control)->moveCursor(QTextCursor::End);
    }
};

TEST_F(KeyStrokes, PlateTakesLettersAndDigitsInCapitals) {
    const std::string id = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    OpenVehicle(id, kSuperAdmin, 1);
    ShowPage(1);
    QWidget* plate = Control("cImmatriculation");
    w().SetText(QStringLiteral("cImmatriculation"), {});
    plate->setFocus(Qt::TabFocusReason);
    Type(plate, QStringLiteral("ab-12 c"));
    EXPECT_EQ(L(w().Text(QStringLiteral("cImmatriculation"))), "AB12C");
    EXPECT_EQ(Field(1, "Immatriculation").currentValue, "AB12C");
    Type(plate, QStringLiteral("\b"));
    EXPECT_EQ(Field(1, "Immatriculation").currentValue, "AB12");
}

TEST_F(KeyStrokes, TelephoneTakesDigitsAndNamesAreTypedInCapitals) {
    const std::string client =
        Sql("select idClient from tClients where Concession='LYO' and ifnull(CliMobile,'')<>''");
    ASSERT_FALSE(client.empty());
    OpenClient(client, kSuperAdmin);
    ShowPage(7);

    QWidget* mobile = Control("aCliMobile");
    const std::string number = form::FieldText(mobile);
    ToEnd(mobile);
    Type(mobile, QStringLiteral("a- "));
    EXPECT_EQ(form::FieldText(mobile), number) << "letters, dashes and blanks are cancelled";
    EXPECT_EQ(Field(7, "CliMobile").currentValue, number);
    Type(mobile, QStringLiteral("7"));
    EXPECT_EQ(Field(7, "CliMobile").currentValue, number + "7");
    Type(mobile, QStringLiteral("\b"));
    EXPECT_EQ(Field(7, "CliMobile").currentValue, number);
    // Delete and Tab carry a character too, but they are no typing: they still work.
    qobject_cast<QPlainTextEdit*>(mobile)->moveCursor(QTextCursor::Start);
    Key(mobile, Qt::Key_Delete, QString(QChar(0x7f)));
    EXPECT_EQ(Field(7, "CliMobile").currentValue, number.substr(1));
    Key(mobile, Qt::Key_Tab, QStringLiteral("\t"));
    QApplication::processEvents();
    EXPECT_FALSE(Focused(mobile)) << "Tab leaves the field";

    QWidget* name = Control("aCliNom");
    const std::string surname = form::FieldText(name);
    ToEnd(name);
    Type(name, QString::fromUtf8("éa-b"));
    const std::string typed = surname + Latin1FromUtf8("éA-B");
    EXPECT_EQ(form::FieldText(name), typed);
    EXPECT_EQ(Field(7, "CliNom").currentValue, typed);
}

}  // namespace
}  // namespace tarmel
