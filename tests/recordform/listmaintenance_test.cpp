// List maintenance from a combo in the real window against the real data server: armed by a
// super-administrator's Ctrl on entering it, Ctrl+S adding the typed value and Ctrl+D deleting
// it, read back from the server's table and from the value lists fetched again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSalesperson;
using testsupport::kSuperAdmin;

class ListMaintenance : public testsupport::RecordWindowTest {
protected:
    QComboBox* Enter(const char* name, Qt::KeyboardModifiers held) {
        w().HeldKeys = [held] { return held; };
        auto* combo = w().Ctl<QComboBox>(QString::fromLatin1(name));
        QApplication::setActiveWindow(&w());  // focus events reach the active window only
        w().Control(QStringLiteral("JvXPBtnSave"))->setFocus(Qt::TabFocusReason);
        combo->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        return combo;
    }
    // A key pressed and released in the combo with the keys held.
    static void Press(QComboBox* combo, int key, Qt::KeyboardModifiers held, const QString& text) {
        QWidget* target = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        QKeyEvent down(QEvent::KeyPress, key, held, text);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, held, text);
        QApplication::sendEvent(target, &up);
    }
    static bool Listed(QComboBox* combo, const QString& text) { return combo->findText(text) >= 0; }
    std::string RubricRows(const std::string& text) {
        return Sql(
            "select count(*) from ListRubrics where RubricType='Carrosserie' and "
            "RubricText='" +
            text + "'");
    }
};

TEST_F(ListMaintenance, CtrlAddsAndDeletesAnEntryOfAServerList) {
    OpenVehicle(Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'"), kSuperAdmin,
                1);
    w().show();
    const std::string coupe = "Coup\xE9 sport";
    QComboBox* combo = Enter("cCarrosserie", Qt::ControlModifier);
    ASSERT_TRUE(w().Form.BlinkOn) << "armed";
    ASSERT_TRUE(combo->isEditable());
    EXPECT_FALSE(w().Control(QStringLiteral("Shape1"))->isHidden()) << "the frame around it";
    combo->setEditText(Q(coupe));
    Press(combo, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0],
              "Confirmation d'Ajout ? Veuillez confirmer l'ajout de la valeur '" + coupe +
                  "' pour le champ 'Carrosserie'");
    EXPECT_EQ(dialogs_.messages[1], "Fin d'Ajout: Ajout termin\xE9");
    EXPECT_EQ(RubricRows(coupe), "1");
    combo = w().Ctl<QComboBox>(QStringLiteral("cCarrosserie"));
    EXPECT_TRUE(Listed(combo, Q(coupe))) << "the lists fetched again";

    dialogs_.messages.clear();
    combo = Enter("cCarrosserie", Qt::ControlModifier);
    combo->setCurrentIndex(combo->findText(Q(coupe)));
    dialogs_.confirm = false;
    Press(combo, Qt::Key_D, Qt::ControlModifier, QStringLiteral("\x04"));
    EXPECT_EQ(RubricRows(coupe), "1") << "No sends nothing";
    dialogs_.confirm = true;
    Press(combo, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, QStringLiteral("-"));
    EXPECT_EQ(RubricRows(coupe), "0");
    EXPECT_FALSE(Listed(w().Ctl<QComboBox>(QStringLiteral("cCarrosserie")), Q(coupe)));
}

TEST_F(ListMaintenance, NothingIsArmedWithoutCtrlOrForOtherUsers) {
    const std::string id = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    OpenVehicle(id, kSuperAdmin, 1);
    w().show();
    QComboBox* combo = Enter("cCarrosserie", Qt::NoModifier);
    EXPECT_FALSE(w().Form.BlinkOn);
    combo->setEditText(QStringLiteral("Nouvelle"));
    Press(combo, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(RubricRows("Nouvelle"), "0");

    OpenVehicle(Sql("select idTVO from tVehicles where TypeVO=1 and upper(Site)='LYON-SUD'"),
                kSalesperson, 1);
    Enter("cCarrosserie", Qt::ControlModifier);
    EXPECT_FALSE(w().Form.BlinkOn) << "only a super-administrator";
}

TEST_F(ListMaintenance, AVersionTakesTheVehicleFamilysMakeAndModel) {
    const struct {
        const char* which;  // the vehicles of the family
        int idTypeVO;
        const char* prefix;
        const char* version;
    } cases[] = {
        {"ifnull(StatutVD,'')<>''", 3, "cVD", "Edition Demo"},
        {"ifnull(StatutVD,'')=''", 2, "cVN", "Edition Neuve"},
    };
    for (const auto& c : cases) {
        OpenVehicle(Sql(std::string("select idTVO from tVehicles where TypeVO=2 and ") + c.which +
                        " and Concession='LYO'"),
                    kSuperAdmin, c.idTypeVO);
        w().show();
        const std::string prefix = c.prefix;
        const std::string make = L(w().Text(Q(prefix + "InfoMarque")));
        const std::string model = L(w().Text(Q(prefix + "InfoModele")));
        ASSERT_FALSE(make.empty()) << prefix;
        QComboBox* combo = Enter((prefix + "InfoTypeVersion").c_str(), Qt::ControlModifier);
        ASSERT_TRUE(w().Form.BlinkOn) << prefix;
        combo->setEditText(QString::fromLatin1(c.version));
        Press(combo, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
        EXPECT_EQ(Sql("select VMarque || '|' || VModele || '|' || VConcession from ListVersions "
                      "where VVersion='" +
                      std::string(c.version) + "'"),
                  make + "|" + model + "|LYO")
            << prefix;
    }
}

}  // namespace
}  // namespace tarmel
