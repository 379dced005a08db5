// The one place where a plan of the record's state reaches the window's controls.
#include "mainwindow/axtarmelimpl1.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/toolkit/controls.h"
#include "record/controlplan.h"

namespace tarmel {

void TAxTarmel::ApplyPlan(const ControlPlan& plan) {
    for (const ControlState& c : plan.controls) {
        QWidget* control = Control(QString::fromLatin1(c.name.data(), qsizetype(c.name.size())));
        if (control == nullptr) continue;
        if (c.enabled) control->setEnabled(*c.enabled);
        if (c.visible) control->setVisible(*c.visible);
        if (!c.background && !c.text) continue;
        const Colour background = c.background.value_or(inventory::kNoColour);
        const Colour text = c.text.value_or(inventory::kNoColour);
        if (auto* header = qobject_cast<ui::HeaderEdit*>(control))
            header->setDisabledColours(ui::ColourFrom(text), ui::ColourFrom(background));
        else
            form::SetFieldColours(control, background, text);
    }
}

}  // namespace tarmel
