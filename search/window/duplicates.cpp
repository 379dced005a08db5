// TAxTarmel's duplicate-client indicators: the client fields restart the count, the timer runs
// it, a double-click shows an indicator, and a click on one searches the clients it counted.
#include <QWidget>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "record/controlplan.h"
#include "search/duplicates.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr const char* kDuplicateResult = "/XmlSDbl.xml";
constexpr int kCountDelayTicks = 4;  // about one second after the last keystroke

ClientNames NamesOf(const TAxTarmel& w) {
    return {L(w.Text(QStringLiteral("aCliNom"))), L(w.Text(QStringLiteral("aCliPrenom"))),
            L(w.Text(QStringLiteral("aCliTelDom"))), L(w.Text(QStringLiteral("aCliMobile")))};
}

void SearchDuplicates(TAxTarmel& w, DuplicateKind kind, const ui::EventArgs& click) {
    const bool ctrl = click.modifiers.testFlag(Qt::ControlModifier);
    const DuplicateSearch search = PlanDuplicateSearch(kind, NamesOf(w), ctrl);
    // The toolbar button toggles the panel: an open panel is only given the new search.
    if (w.Control(QStringLiteral("Panel1"))->isHidden()) w.JvXPBtnSearchClick();
    w.BtnActivate(w.Control(Q(search.searchLabel)), w.Control(Q(search.searchButton)));
    if (search.withFirstName) w.Search.WithFirstName = *search.withFirstName;
    w.SetText(QStringLiteral("ncbSearch"), Q(search.text));
    // The value is searched, never the launcher's condition that Ctrl asks of the panel.
    w.Search.PresetSearch = false;
    // The label's toggle turns the exact search on and runs it at the next tick.
    w.Search.ExactSearch = false;
    if (search.exact)
        w.LbSearchClick();
    else
        w.Ticks.SearchCountdown = 1;
}

void ShowAndCount(TAxTarmel& w, DuplicateKind kind) {
    w.ApplyPlan(ControlPlan().Show(IndicatorOf(kind).indicator, true));
    w.setDblChange(kind);
}

}  // namespace

void TAxTarmel::setDblChange(DuplicateKind kind) {
    DuplicateCheckKind = kind;
    Ticks.DuplicateCheckCountdown = kCountDelayTicks;
}

void TAxTarmel::HttpGetDblInfo() {
    // A tick inside another request: the count waits for the next one.
    if (Server.IdHTTP1.busy()) {
        Ticks.DuplicateCheckCountdown = 1;
        return;
    }
    const QString indicator = Q(IndicatorOf(DuplicateCheckKind).indicator);
    const DuplicateCheck check =
        PlanDuplicateCheck(DuplicateCheckKind, NamesOf(*this), !Control(indicator)->isHidden());
    if (check.statement.empty()) return;
    Server.HttpExecute(Host.BaseHRef + "AxQuery?XMLC_OutputFormat=XML&SQL=" + check.statement,
                       Host.WorkDir + kDuplicateResult);
    if (!Text(QStringLiteral("LbDebugInfo0")).isEmpty()) return;
    if (const auto answer = LoadTextFile(Host.WorkDir + kDuplicateResult))
        SetText(indicator, Q(DuplicateCountShown(*answer)));
}

// While the tab builder fills the page nothing is typed: no count starts.
void TAxTarmel::aCliNomChange(QWidget* control) {
    EditChange(control);
    if (Form.Filling) return;
    ShowIdentity();
    setDblChange(DuplicateKind::Nom);
}

void TAxTarmel::aCliPrenomChange(QWidget* control) {
    EditChange(control);
    if (Form.Filling) return;
    ShowIdentity();
    setDblChange(DuplicateKind::Ident);
}

void TAxTarmel::aCliTelDomChange(QWidget* control) {
    EditChange(control);
    if (Form.Filling) return;
    setInfoField3();
    setDblChange(DuplicateKind::TelDom);
}

void TAxTarmel::aCliMobileChange(QWidget* control) {
    EditChange(control);
    if (Form.Filling) return;
    setInfoField2();
    setDblChange(DuplicateKind::Mobile);
}

void TAxTarmel::aCliEmailChange(QWidget* control) {
    EditChange(control);
    if (!Form.Filling) setInfoField1();
}

void TAxTarmel::aCliCiviliteChange(QWidget* combo) {
    CBoxChange(combo);
    if (!Form.Filling) ShowIdentity();
}

void TAxTarmel::aCliNomDblClick() { ShowAndCount(*this, DuplicateKind::Nom); }
void TAxTarmel::aCliPrenomDblClick() { ShowAndCount(*this, DuplicateKind::Ident); }
void TAxTarmel::aCliTelDomDblClick() { ShowAndCount(*this, DuplicateKind::TelDom); }
void TAxTarmel::aCliMobileDblClick() { ShowAndCount(*this, DuplicateKind::Mobile); }

void TAxTarmel::DblNomClick(ui::EventArgs& click) {
    SearchDuplicates(*this, DuplicateKind::Nom, click);
}
void TAxTarmel::DblIdentClick(ui::EventArgs& click) {
    SearchDuplicates(*this, DuplicateKind::Ident, click);
}
void TAxTarmel::DblTelDomClick(ui::EventArgs& click) {
    SearchDuplicates(*this, DuplicateKind::TelDom, click);
}
void TAxTarmel::DblMobileClick(ui::EventArgs& click) {
    SearchDuplicates(*this, DuplicateKind::Mobile, click);
}

}  // namespace tarmel
