// The figures the vehicle pages compute, typed and read through the real controls of demo
// records loaded from the real data server: VAT and margins of a used vehicle, the new vehicle's
// balance and due dates, the order update date, the manufacturing week, the date mirror, the
// accounting panel's fold, and computed totals that cannot be typed over.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <string>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "server/dates.h"
#include "server/xml/texttools.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

class Calculations : public testsupport::RecordWindowTest {
protected:
    void OpenUsed() {
        const std::string id =
            Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
        ASSERT_FALSE(id.empty());
        OpenVehicle(id, kSuperAdmin, 1);
        ASSERT_EQ(w().Record.RecordKind, "_TVO");
        ASSERT_EQ(L(Statement()), "") << "the stored figures are the computed ones";
    }
    void OpenNew() {
        const std::string id = Sql("select idTVO from tVehicles where TypeVO=2 and "
                                   "ifnull(StatutVD,'')='' and Concession='LYO'");
        ASSERT_FALSE(id.empty());
        OpenVehicle(id, kSuperAdmin, 2);
        ASSERT_EQ(w().Record.RecordKind, "_TVN");
        ASSERT_EQ(L(Statement()), "") << "the stored figures are the computed ones";
    }

    std::string Shown(const char* name) { return L(w().Text(QString::fromLatin1(name))); }
    // A control's text set as typing or pasting sets it: its change handler runs.
    void Type(const char* name, const char* text) {
        w().SetText(QString::fromLatin1(name), QString::fromLatin1(text));
    }
    void ChooseText(const char* name, const char* text) {
        auto* combo = w().Ctl<QComboBox>(QString::fromLatin1(name));
        ASSERT_NE(combo, nullptr) << name;
        const int index = combo->findText(QString::fromLatin1(text));
        ASSERT_GE(index, 0) << name << " " << text;
        Choose(name, index);
    }
    // Text typed into a combo, whether or not its list holds it: the old text cleared with
    // backspace, then the keys.
    void TypeIntoCombo(const char* name, const char* text) {
        auto* combo = w().Ctl<QComboBox>(QString::fromLatin1(name));
        ASSERT_NE(combo, nullptr) << name;
        combo->setEditText(QStringLiteral("x"));
        Key(combo, Qt::Key_Backspace, {});
        for (const QChar c : QString::fromLatin1(text)) Key(combo, Qt::Key_unknown, QString(c));
        ASSERT_EQ(L(combo->currentText()), text);
    }
    void Key(QWidget* control, int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(control, &release);
    }
    // Keys as the keyboard sends them (a date picker's keys go to its edit).
    void Keys(const char* name, const QString& text) {
        QWidget* control = w().Control(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        if (auto* date = qobject_cast<ui::DatePicker*>(control)) control = date->lineEdit();
        for (const QChar c : text) Key(control, Qt::Key_unknown, QString(c));
    }
    void Click(const char* name) {
        QWidget* control = w().Control(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(2, 2), control->mapToGlobal(QPointF(2, 2)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(control, &event);
        }
    }
    // The equipment document the window reads, with one text replaced.
    void ReplaceInEquipment(const std::string& from, const std::string& to) {
        std::string document(w().Form.EquipXml.wholeText());
        ASSERT_NE(document.find(from), std::string::npos) << from;
        ReplaceAll(document, from, to);
        w().Form.EquipXml.setText(document);
    }

    void TypeSale(const char* frevoTotal) {
        w().Record.FrevoTotal = frevoTotal;
        Type("cPrixReprise", "2000");
        Type("cTPVO", "0");
        Type("cPrixGarantie", "300");
        Type("cPrixVente", "12000");
    }
    void ExpectMargins(const char* vat, const char* gross, const char* net) {
        EXPECT_EQ(Shown("ccTVA"), vat);
        EXPECT_EQ(Shown("cMBrute"), gross);
        EXPECT_EQ(Shown("cMNette"), net);
        EXPECT_EQ(Shown("cTotFrevo"), "1500.00");
    }
};

TEST_F(Calculations, UsedVehicleMarginsAtTheDealershipsRate) {
    OpenUsed();
    // The demo dealership sends the French standard rate, 20 %.
    Choose("cModeTVA", 0);
    TypeSale("1500.00");
    ExpectMargins("1666.67", "8333.33", "6533.33");
    // A computed figure that is a described field is saved with the record.
    EXPECT_EQ(Field(1, "cTVA").currentValue, "1666.67");
    const std::string statement = L(Statement());
    EXPECT_NE(statement.find("cTVA="), std::string::npos) << statement;
    EXPECT_NE(statement.find("MNette="), std::string::npos) << statement;
    EXPECT_TRUE(SaveEnabled());

    Choose("cModeTVA", 1);  // the second item: no VAT
    ExpectMargins("0.00", "8333.33", "6533.33");
}

TEST_F(Calculations, UsedVehicleMarginsWithoutARateInTheLists) {
    OpenUsed();
    ReplaceInEquipment("<Pars><type>TauxTVA</type><text>20</text></Pars>", "");
    Choose("cModeTVA", 0);
    TypeSale("1500.00");
    ExpectMargins("1638.80", "8361.20", "6561.20");  // 10000 / 1.196 x 0.196 = 1638.795...
    Choose("cModeTVA", 1);
    ExpectMargins("0.00", "8361.20", "6561.20");  // 10000 / 1.196 = 8361.204...

    // A total written with a blank between thousands and hundreds.
    Choose("cModeTVA", 0);
    TypeSale("1 500.00");
    ExpectMargins("1638.80", "8361.20", "6561.20");
}

TEST_F(Calculations, AnEmptyVatModeListLeavesTheMarginsAsShown) {
    OpenUsed();
    const std::string vat = Shown("ccTVA"), gross = Shown("cMBrute"), net = Shown("cMNette");
    w().Ctl<QComboBox>(QStringLiteral("cModeTVA"))->clear();
    w().Record.FrevoTotal = "750";
    Type("cPrixVente", "99999");
    EXPECT_EQ(Shown("ccTVA"), vat);
    EXPECT_EQ(Shown("cMBrute"), gross);
    EXPECT_EQ(Shown("cMNette"), net);
    EXPECT_EQ(Shown("cTotFrevo"), "750.00") << "the refurbishment total is still refreshed";
}

TEST_F(Calculations, ComputedTotalsRefuseTyping) {
    OpenUsed();
    // The same keys type into a price...
    const std::string price = Shown("cPrixVente");
    Keys("cPrixVente", QStringLiteral("9"));
    EXPECT_EQ(Shown("cPrixVente").size(), price.size() + 1);
    Type("cPrixVente", price.c_str());
    ASSERT_EQ(L(Statement()), "");
    // ...and into none of the computed figures, described fields or not.
    for (const char* name : {"cFrevoFixe", "cFrevo", "cFrevoTotFDM", "cFrevoFixeFDM", "ccTVA",
                             "cMBrute", "cMNette", "cTotFrevo"}) {
        SCOPED_TRACE(name);
        const std::string before = Shown(name);
        Keys(name, QStringLiteral("999"));
        EXPECT_EQ(Shown(name), before);
        EXPECT_EQ(L(Statement()), "");
        EXPECT_FALSE(SaveEnabled());
    }
    OpenNew();
    for (const char* name : {"cVNSolde", "cVNDateEchTresorerie", "cVNDateEchReglement",
                             "cVNDateUpdateCde"}) {
        SCOPED_TRACE(name);
        const std::string before = Shown(name);
        Keys(name, QStringLiteral("11"));
        EXPECT_EQ(Shown(name), before);
        EXPECT_EQ(L(Statement()), "");
    }
}

TEST_F(Calculations, HiddenPagesKeepTheirFigures) {
    // The used-vehicle page keeps the last used vehicle's fields while a new vehicle is shown;
    // the new vehicle's own figures give it no statement.
    OpenUsed();
    const std::string vat = Shown("ccTVA");
    OpenNew();
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(w().Form.Pages[1].statement, "");
    Type("cVNPrixVente", "31000");
    EXPECT_EQ(w().Form.Pages[1].statement, "");
    EXPECT_EQ(Shown("ccTVA"), vat);
    EXPECT_NE(w().Form.Pages[3].statement, "");
}

TEST_F(Calculations, NewVehicleBalance) {
    OpenNew();
    Type("cVNPrixVente", "30000");
    Type("cVNReprPrix", "5000");
    Type("cVNMontantAcompte", "1000.5");
    Type("cVNVFinancement", "20000");
    EXPECT_EQ(Shown("cVNSolde"), "3999.50");
    EXPECT_EQ(Field(3, "Solde").currentValue, "3999.50");
    Type("cVNVFinancement", "");
    EXPECT_EQ(Shown("cVNSolde"), "23999.50");
}

TEST_F(Calculations, NewVehicleTreasuryDueDate) {
    OpenNew();
    struct Case {
        const char* name;
        const char *purchase, *declared, *delivery, *availability, *due;
        const char* treasury;
    };
    const Case cases[] = {
        {"not bought: the delivery", "", "", "12/05/2026", "", "15/05/2026", "12/05/2026"},
        {"not bought, no delivery: the due date", "", "", "", "", "15/05/2026", "15/05/2026"},
        {"not bought, no date", "", "", "", "", "", ""},
        {"delivered before declared", "02/04/2026", "20/05/2026", "12/05/2026", "", "",
         "17/05/2026"},
        {"delivered after declared", "02/04/2026", "20/05/2026", "25/05/2026", "", "",
         "25/05/2026"},
        {"five days pass the due date", "02/04/2026", "", "12/05/2026", "", "15/05/2026",
         "15/05/2026"},
        {"five days within the due date", "02/04/2026", "", "12/05/2026", "", "31/05/2026",
         "17/05/2026"},
        {"no due date", "02/04/2026", "", "12/05/2026", "", "", ""},
        {"availability stands for delivery", "02/04/2026", "", "", "12/05/2026", "31/05/2026",
         "17/05/2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Type("cVNDateAchat", c.purchase);
        Type("cVNDateDeclareLivre", c.declared);
        Type("cVNDateLivraison", c.delivery);
        Type("cVNDateDisponibilite", c.availability);
        Type("cVNDateEcheance", c.due);
        EXPECT_EQ(Shown("cVNDateEchTresorerie"), c.treasury);
    }
    EXPECT_EQ(Field(3, "DateEchTresorerie").currentValue, "17/05/2026");
}

TEST_F(Calculations, NewVehicleSettlementDueDate) {
    OpenNew();
    Type("cVNDateDisponibilite", "");
    Type("cVNDateLivraison", "10/03/2026");
    ChooseText("cVNDestination", "PARTICULIERS");
    // The demo lists: 30 by default, CREDIT : 45, LLD : 60.
    TypeIntoCombo("cVNTypeFinancement", "credit");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "24/04/2026");
    ChooseText("cVNTypeFinancement", "LLD");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "09/05/2026");
    TypeIntoCombo("cVNTypeFinancement", "LEASING");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "09/04/2026") << "a type the list lacks";
    TypeIntoCombo("cVNTypeFinancement", "");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "10/03/2026") << "no financing, no delay";

    // A sale to the group falls due at the first month end 30 days on, whatever the financing.
    ChooseText("cVNTypeFinancement", "CREDIT");
    TypeIntoCombo("cVNDestination", "groupe");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "30/04/2026");
    ChooseText("cVNDestination", "GROUPE");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "30/04/2026");
    EXPECT_EQ(Field(3, "DateEchReglement").currentValue, "30/04/2026");

    // Without delivery or availability there is no settlement date.
    Type("cVNDateLivraison", "");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "");
    ChooseText("cVNDestination", "PARTICULIERS");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "");
    Type("cVNDateDisponibilite", "10/03/2026");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "24/04/2026") << "the availability stands for it";

    // Other lists of the dealership.
    ReplaceInEquipment("<text>30</text>", "<text>trente</text>");
    ReplaceInEquipment("<text>LOA : 30</text>", "<text>LOAX : 30</text>");
    TypeIntoCombo("cVNTypeFinancement", "LOA");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "09/04/2026") << "no number first, no match";
    ReplaceInEquipment("<text>CREDIT : 45</text>", "<text>CREDIT : quarante</text>");
    ChooseText("cVNTypeFinancement", "CREDIT");
    EXPECT_EQ(Shown("cVNDateEchReglement"), "20/03/2026") << "a match without a number";
}

TEST_F(Calculations, OrderUpdateDateAndManufacturingWeek) {
    OpenNew();
    ASSERT_TRUE(IsValidDate(w().Record.ServerToday.year, w().Record.ServerToday.month,
                            w().Record.ServerToday.day));
    const std::string today = FormatDate(w().Record.ServerToday);
    const std::string stored = Shown("cVNDateUpdateCde");
    ASSERT_NE(stored, today) << "the demo's order was updated in the past";

    // 1 January 2024 was a Monday: week 00 until the first Sunday.
    Type("cVNDateFabrication", "01/01/2024");
    EXPECT_EQ(Shown("cVNDateUpdateCde"), today);
    EXPECT_EQ(Field(3, "DateUpdateCde").currentValue, today);
    EXPECT_FALSE(w().Control(QStringLiteral("LbDateFabrication"))->isHidden());
    EXPECT_EQ(Shown("LbDateFabrication"), "2024s00");
    Type("cVNDateFabrication", "07/01/2024");
    EXPECT_EQ(Shown("LbDateFabrication"), "2024s01");
    Type("cVNDateFabrication", "");
    EXPECT_EQ(Shown("LbDateFabrication"), "");

    // A followed field back at its stored value is no update; one that differs is.
    for (const char* name : {"cVNDateCdeVW", "cVNDateDebutGarantie"}) {
        SCOPED_TRACE(name);
        Type("cVNDateUpdateCde", stored.c_str());
        Type(name, Field(3, name + 3).storedValue.c_str());
        EXPECT_EQ(Shown("cVNDateUpdateCde"), stored);
        Type(name, "02/02/2026");
        EXPECT_EQ(Shown("cVNDateUpdateCde"), today);
    }
    Type("cVNDateUpdateCde", stored.c_str());
    auto* status = w().Ctl<QComboBox>(QStringLiteral("cVNStatutVN"));
    ASSERT_NE(status, nullptr);
    const int other = status->currentIndex() == 1 ? 2 : 1;
    Choose("cVNStatutVN", other);
    EXPECT_EQ(Shown("cVNDateUpdateCde"), today);
}

TEST_F(Calculations, InvoiceAndPurchaseDatesFollowEachOther) {
    OpenNew();
    Type("cVNDateAchat", "15/06/2026");
    EXPECT_EQ(Shown("cVNDateFacture"), "15/06/2026");
    EXPECT_EQ(Field(3, "DateFacture").currentValue, "15/06/2026");
    Type("cVNDateFacture", "20/06/2026");
    EXPECT_EQ(Shown("cVNDateAchat"), "20/06/2026");
    EXPECT_EQ(Field(3, "DateAchat").currentValue, "20/06/2026");
    // A purchase date emptied is not copied.
    Type("cVNDateAchat", "");
    EXPECT_EQ(Shown("cVNDateFacture"), "20/06/2026");
}

TEST_F(Calculations, TheAccountsPanelFoldsToItsCaption) {
    OpenNew();
    QWidget* panel = w().Control(QStringLiteral("PanelCompta"));
    ASSERT_NE(panel, nullptr);
    const QRect unfolded = panel->geometry();
    Click("LbPanelCompta");
    EXPECT_EQ(panel->height(), 25);
    EXPECT_EQ(panel->geometry().bottom(), unfolded.bottom()) << "its caption line stays in place";
    Click("LbPanelCompta");
    EXPECT_EQ(panel->geometry(), unfolded);
}

}  // namespace
}  // namespace tarmel
