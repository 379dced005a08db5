// The search panel: prepared once per record kind with the remembered criteria, opened and closed
// under the search button, its kinds chosen, and each change of a criterion restarting the delay.
#include <QComboBox>
#include <QSignalBlocker>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/controlplan.h"
#include "search/searchquery.h"

namespace tarmel {

namespace {

using form::Q;

// Ticks before a search runs: after a new panel, a choice in a combo, a typed character.
constexpr int kPanelDelay = 10, kComboDelay = 2, kTypingDelay = 4;

struct KindPair {
    const char* button;
    const char* staticText;
};
constexpr KindPair kNumber{"TSNVO", "TSLbNVO"}, kPlate{"TSImmat", "TSLbImmat"},
    kName{"TSClient", "TSLbClient"}, kMobile{"TSMobile", "TSLbMobile"},
    kPhone{"TSTelephone", "TSLbTelephone"};

void SetFontColour(QWidget* control, const QColor& colour) {
    if (control == nullptr) return;
    QPalette p = control->palette();
    p.setColor(QPalette::WindowText, colour);
    control->setPalette(p);
}

// The combo's item equal to text, or none.
void SelectItem(QComboBox* combo, const QString& text) {
    if (combo == nullptr) return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    if (combo->isEditable() && combo->currentIndex() < 0) combo->setEditText({});
}

}  // namespace

void TAxTarmel::PrepareSearchPanel() {
    const bool vehicle = Record.RecordKind != "_TCL";
    SetText(QStringLiteral("ncbInfoSearch"), Q(Record.RecordKind));
    auto* types = Ctl<QComboBox>(QStringLiteral("ncbTypeVO"));
    auto* sites = Ctl<QComboBox>(QStringLiteral("ncbSite"));
    LoadInfoNxComboBox("TVTypeVO", types);
    LoadInfoNxComboBox("Site", sites);
    const SettingsFile settings(Host.IniFileName);
    SelectItem(types, Q(settings.GetTagRegistry("svTypeVO")));
    SelectItem(sites, Q(settings.GetTagRegistry("svSite")));
    SetText(QStringLiteral("ncbLabel"), {});
    Ticks.SearchCountdown = kPanelDelay;
    {
        // The remembered text is no change of the criteria.
        QWidget* memo = Control(QStringLiteral("ncbSearch"));
        const QSignalBlocker quiet(memo);
        SetText(QStringLiteral("ncbSearch"),
                Q(settings.GetTagRegistry(vehicle ? "svText1" : "svText2")));
    }

    // The kinds offered, side by side from the left; each static text stays over its button.
    const std::vector<KindPair> shown = vehicle ? std::vector<KindPair>{kNumber, kPlate, kName}
                                                : std::vector<KindPair>{kPlate, kName, kMobile,
                                                                        kPhone};
    ControlPlan plan;
    plan.Show("JvXPBtnSearchPlus", false);
    for (const KindPair& pair : {kNumber, kPlate, kName, kMobile, kPhone})
        plan.Show(pair.button, false).Show(pair.staticText, false);
    int left = 10;
    for (const KindPair& pair : shown) {
        plan.Show(pair.button, true).Show(pair.staticText, true);
        QWidget* button = Control(QString::fromLatin1(pair.button));
        QWidget* text = Control(QString::fromLatin1(pair.staticText));
        text->move(left + (button->width() - text->width()) / 2, text->y());
        button->move(left, button->y());
        left += 72;
    }
    for (const char* name : {"ncbTypeVO", "ncbLbTypeVO", "ncbSite", "ncbLbSite"})
        plan.Show(name, vehicle);
    ApplyPlan(plan);

    // The remembered kind; a first search looks for plates.
    const std::string option = settings.GetTagRegistry(vehicle ? "svOpt1" : "svOpt2");
    KindPair chosen = kPlate;
    if (vehicle) {
        if (option == "2") chosen = kName;
        if (option == "3") chosen = kNumber;
    } else {
        if (option == "5") chosen = kName;
        if (option == "6") chosen = kMobile;
        if (option == "7") chosen = kPhone;
    }
    BtnActivate(Control(QString::fromLatin1(chosen.staticText)),
                Control(QString::fromLatin1(chosen.button)));
}

void TAxTarmel::JvXPBtnSearchClick() {
    auto* types = Ctl<QComboBox>(QStringLiteral("ncbTypeVO"));
    if (types->count() == 0 || Text(QStringLiteral("ncbInfoSearch")) != Q(Record.RecordKind))
        PrepareSearchPanel();
    QWidget* panel = Control(QStringLiteral("Panel1"));
    QWidget* button = Control(QStringLiteral("JvXPBtnSearch"));
    panel->move(panel->x(), button->y() + (button->height() * 2 + 1) / 3);
    panel->raise();
    ApplyPlan(ControlPlan().Show("Panel1", panel->isHidden()));
    if (!panel->isHidden() && Server.ctrlHeld && Server.ctrlHeld()) {
        // The launcher's condition, with nothing typed.
        if (!Search.PresetSearch) Ticks.SearchCountdown = kComboDelay;
        QWidget* memo = Control(QStringLiteral("ncbSearch"));
        const QSignalBlocker quiet(memo);
        SetText(QStringLiteral("ncbSearch"), {});
        Search.PresetSearch = true;
    }
}

void TAxTarmel::BtnActivate(QWidget* staticText, QWidget* button) {
    SetFontColour(Search.ActiveSearchLabel, Qt::black);
    SetFontColour(staticText, QColor(0, 0, 255));
    Search.ActiveSearchLabel = staticText;
    ControlPlan plan;
    for (const KindPair& pair : {kNumber, kPlate, kName, kMobile, kPhone})
        plan.Enable(pair.button, Control(QString::fromLatin1(pair.button)) == button);
    ApplyPlan(plan);
    if (!Control(QStringLiteral("Panel1"))->isHidden())
        Control(QStringLiteral("ncbSearch"))->setFocus();
}

void TAxTarmel::TSLbNVOClick() {
    BtnActivate(Control(QStringLiteral("TSLbNVO")), Control(QStringLiteral("TSNVO")));
}
void TAxTarmel::TSLbImmatClick() {
    BtnActivate(Control(QStringLiteral("TSLbImmat")), Control(QStringLiteral("TSImmat")));
}
void TAxTarmel::TSLbClientClick() {
    BtnActivate(Control(QStringLiteral("TSLbClient")), Control(QStringLiteral("TSClient")));
}
void TAxTarmel::TSLbTelephoneClick() {
    BtnActivate(Control(QStringLiteral("TSLbTelephone")), Control(QStringLiteral("TSTelephone")));
}
void TAxTarmel::TSLbMobileClick() {
    BtnActivate(Control(QStringLiteral("TSLbMobile")), Control(QStringLiteral("TSMobile")));
}

void TAxTarmel::TSVClick() { Control(QStringLiteral("ncbSearch"))->setFocus(); }

void TAxTarmel::LbSearchClick() {
    Search.ExactSearch = !Search.ExactSearch;
    Ticks.SearchCountdown = 1;
}

void TAxTarmel::ncbSiteChange() {
    Search.PresetSearch = false;
    Ticks.SearchCountdown = kComboDelay;
}

void TAxTarmel::ncbTypeVOChange() {
    Search.PresetSearch = false;
    Ticks.SearchCountdown = kComboDelay;
}

void TAxTarmel::ncbSearchChange() {
    Search.PresetSearch = false;
    Ticks.SearchCountdown = kTypingDelay;
}

}  // namespace tarmel
