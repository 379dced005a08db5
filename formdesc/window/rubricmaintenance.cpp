// List maintenance from a combo: armed by a super-administrator's Ctrl on entering it, run by
// Ctrl+D / Ctrl+S (or the keypad's minus and plus); the server's list table changed, the value
// lists fetched again and the record reloaded so that every list shows the change.
#include <QComboBox>

#include "formdesc/rubrics.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

// The header combos holding the make, model and version type of the combo's vehicle family.
RubricVehicle VehicleOf(TAxTarmel& w, const QWidget* combo, const std::string& rubric) {
    auto text = [&w](const char* name) { return L(w.Text(QString::fromLatin1(name))); };
    RubricVehicle v;
    v.concession = w.Host.UserConcession;
    if (QString(rubric.c_str()).toUpper() == QLatin1String("LISTVERSIONS")) {
        const bool demo = combo->objectName().toUpper().startsWith(QLatin1String("CVD"));
        v.make = text(demo ? "cVDInfoMarque" : "cVNInfoMarque");
        v.model = text(demo ? "cVDInfoModele" : "cVNInfoModele");
        v.versionType = text(demo ? "cVDInfoTypeVersion" : "cVNInfoTypeVersion");
    } else {
        v.make = text("cInfoMarque");
        v.model = text("cInfoModele");
    }
    return v;
}

}  // namespace

void TAxTarmel::ArmListMaintenance(QComboBox* combo, const TsDesc& desc) {
    const bool ctrl = (HeldKeys() & Qt::ControlModifier) != 0;
    if (!RubricArms(Access.RightSuperAdmin, ctrl, desc.controlKind, desc.dataType, desc.listName,
                    desc.rubric))
        return;
    Form.RubricControl = combo;
    if (!combo->isEditable()) combo->setEditable(true);
    Form.BlinkOn = true;
    Ticks.BlinkOn = true;
    // The blinking frame: around the combo, behind it, in the combo's own parent.
    if (QWidget* shape = Control(QStringLiteral("Shape1"))) {
        shape->setParent(combo->parentWidget());
        shape->setGeometry(combo->x() - 3, combo->y(), combo->width() + 6, combo->height());
        shape->stackUnder(combo);
        shape->show();
    }
}

void TAxTarmel::ListMaintenanceKey(ui::EventArgs& key, bool keyUp) {
    auto* combo = qobject_cast<QComboBox*>(key.control);
    if (combo == nullptr || combo != Form.RubricControl) return;
    const bool ctrl = (key.modifiers & Qt::ControlModifier) != 0;
    const bool keypad = (key.modifiers & Qt::KeypadModifier) != 0;
    // The keypad's signs act when released: pressed, they must not type into the text they act on.
    if (!keyUp && Form.BlinkOn && ctrl && keypad &&
        (key.key == Qt::Key_Minus || key.key == Qt::Key_Plus)) {
        key.refused = true;
        return;
    }
    const RubricAction action = RubricKey(Form.BlinkOn, ctrl, key.key, keypad, keyUp,
                                          combo->findText(combo->currentText()) != -1);
    if (action == RubricAction::None) return;
    key.refused = !keyUp;  // the letter is not typed into the combo
    ActionInfoRubrique(combo, action);
}

void TAxTarmel::ActionInfoRubrique(QWidget* control, RubricAction action) {
    const TsDesc* desc = DescOf(control);
    if (desc == nullptr || form::TagOf(control) == 0) return;
    const std::string text = L(ui::ControlText(control));
    const std::string message = RubricMessage(text, desc->listKey);
    const bool remove = action == RubricAction::Delete;
    const bool confirmed =
        remove ? dialogs().Confirm(QStringLiteral("Confirmation de Suppression"),
                                   Q("Veuillez confirmer la suppression de " + message))
               : dialogs().Confirm(QStringLiteral("Confirmation d'Ajout "),
                                   Q("Veuillez confirmer l'ajout de " + message));
    if (!confirmed) return;
    const std::string statement = RubricStatement(action, desc->rubric, desc->listKey, text,
                                                  VehicleOf(*this, control, desc->rubric));
    TraceLog(QStringLiteral("SQL : ") + Q(statement));
    if (statement.empty()) return;
    SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
    if (!SendStatement("AxUpdate", statement, remove ? "/XmlAXDelete.xml" : "/XmlAXInsert.xml"))
        return;
    // The value lists again, past the cache: the change must show in every list at once.
    Server.HttpExecute(
        Host.BaseHRef + "AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=" + Host.UserConcession,
        Host.WorkDir + "/XmlEquip.xml");
    if (!Text(QStringLiteral("LbDebugInfo0")).isEmpty()) return;
    SetText(QStringLiteral("LbDebugInfo2"), {});
    dialogs().Message(
        Dialogs::Kind::Warning,
        remove ? QStringLiteral("Fin de Suppression") : QStringLiteral("Fin d'Ajout"),
        remove ? QStringLiteral("Suppression terminée") : QStringLiteral("Ajout terminé"));
    UpdateView(true);
}

}  // namespace tarmel
