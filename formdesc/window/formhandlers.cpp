// The form's own change handlers: each runs the field's own handling, then its follow-up (header
// texts, the last site, the client's site lists, the make-model-version cascades), and the option
// lists of the demonstration and new vehicle pages.
#include <QComboBox>
#include <QListWidget>

#include "formdesc/cascades.h"
#include "formdesc/optionlists.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "record/controlplan.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;

void TAxTarmel::cNVOChange(QWidget* control) {
    TraceLog(QStringLiteral("dans cNVOChange ") + ui::ControlText(control));
    EditChange(control);
    setInfoNVO();
}

void TAxTarmel::cInfoCouleurChange(QWidget* combo) {
    CBoxChange(combo);
    setInfoField1();
}

void TAxTarmel::cCVKMSChange(QWidget* control) {
    EditChange(control);
    setInfoField2();
}

void TAxTarmel::cSiteChange(QWidget* combo) {
    CBoxChange(combo);
    Record.LastSite = L(ui::ControlText(combo));
}

void TAxTarmel::aSiteChange(QWidget* combo) {
    CBoxChange(combo);
    // The staff and purchase-wish lists follow the client's site.
    Record.RecordSite = L(Text(QStringLiteral("aSite")));
    LoadInfoNxComboBoxColumn("InfoCom", QStringLiteral("ngAction"), QStringLiteral("idCom"));
    LoadInfoNxComboBoxColumn("InfoCom", QStringLiteral("ngAction"), QStringLiteral("idComRelance"));
    LoadInfoNxComboBox("InfoCom", Ctl<QComboBox>(QStringLiteral("aidCom")));
    UpdateLBox(Ctl<QListWidget>(QStringLiteral("cPAPAChoix1")), true);
    UpdateLBox(Ctl<QListWidget>(QStringLiteral("cPAPAChoix2")), false);
}

// Its text is the value as it stands, without the combo check.
void TAxTarmel::cDestinationChange(QWidget* combo) {
    EditChange(combo);
}

void TAxTarmel::CascadeChange(QWidget* control) {
    if (qobject_cast<QComboBox*>(control))
        CBoxChange(control);
    else
        EditChange(control);
    const Cascade* c = FindCascade(L(control->objectName()));
    if (c == nullptr) return;
    auto combo = [this](const char* name) { return Ctl<QComboBox>(QString::fromLatin1(name)); };
    if (*c->target)
        UpdateCBox(combo(c->target), UpperAscii(L(ui::ControlText(control))), c->itemElement,
                   c->keyElement, c->list);
    if (*c->versionMemo)
        UpdateVersion(Control(QString::fromLatin1(c->versionMemo)), combo(c->modelCombo),
                      *c->typeCombo ? combo(c->typeCombo) : nullptr);
    if (c->title) setInfoTitre();
}

void TAxTarmel::czOptionsClick(QWidget* button) {
    const OptionList* options = FindOptionList(L(button->objectName()));
    QWidget* list = options ? Control(QString::fromLatin1(options->list)) : nullptr;
    if (list == nullptr) return;
    ApplyPlan(ControlPlan().Show(L(list->objectName()), list->isHidden()));
    if (list->isVisible()) list->setFocus();
}

// The open list is tall; its button steps aside while it is open.
void TAxTarmel::cInfoOptionsEnter(QWidget* list) {
    list->resize(200, 480);
    list->raise();
    if (const OptionList* options = FindOptionList(L(list->objectName())))
        ApplyPlan(ControlPlan().Show(options->button, false));
}

void TAxTarmel::cInfoOptionsExit(QWidget* list) {
    ControlPlan plan;
    plan.Show(L(list->objectName()), false);
    if (const OptionList* options = FindOptionList(L(list->objectName())))
        plan.Show(options->button, true);
    ApplyPlan(plan);
}

}  // namespace tarmel
