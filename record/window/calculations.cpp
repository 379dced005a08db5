// The figures the vehicle pages compute as the user types (VAT and margins, the new vehicle's
// balance and due dates, the order update date, the manufacturing week), the handlers that ask
// for them and the accounting panel's fold. The figures themselves are record/calculations.h's.
#include <QComboBox>

#include "formdesc/fieldrules.h"
#include "formdesc/valuelists.h"
#include "formdesc/window/fieldcontrols.h"
#include "inventory/inventory.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/calculations.h"
#include "record/controlplan.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

std::string TextOf(const TAxTarmel& w, const char* name) {
    return L(w.Text(QString::fromLatin1(name)));
}

// A computed figure into its control; a described field's change then flows into its page's
// statement. A field of a page the open record does not show still holds the record that page
// was last filled with: it is left alone, or that stale page would get a statement.
void ShowComputed(TAxTarmel& w, const char* name, const std::string& text) {
    QWidget* control = w.Control(QString::fromLatin1(name));
    if (control == nullptr) return;
    if (const int tag = form::TagOf(control); tag != 0) {
        const int page = PageOfTag(tag);
        if (page < 0 || page >= kPageCount || !w.Form.Pages[page].described) return;
    }
    w.SetText(QString::fromLatin1(name), Q(text));
}

// Either date copies itself into the other; the copy's own change finds both equal and stops.
void MirrorDate(TAxTarmel& w, const char* changed, const char* other) {
    if (w.Form.Filling) return;  // each date is filled with the record's own value
    if (const auto copy = MirroredDate(TextOf(w, changed), TextOf(w, other)))
        w.SetText(QString::fromLatin1(other), Q(*copy));
}

}  // namespace

void TAxTarmel::UpdateTVAetMarges() {
    if (Form.Filling) return;
    UpdateSoldeVN();
    UpdateDateEcheanceTresorerie();
    const auto* modes = Ctl<QComboBox>(QStringLiteral("cModeTVA"));
    MarginInput in;
    in.salePrice = TextOf(*this, "cPrixVente");
    in.tradeInPrice = TextOf(*this, "cPrixReprise");
    in.tpvo = TextOf(*this, "cTPVO");
    in.warranty = TextOf(*this, "cPrixGarantie");
    in.frevoTotal = Record.FrevoTotal;
    in.mode = modes ? VatModeOf(modes->count(), modes->currentIndex()) : VatMode::NoList;
    in.rate = DealershipVatRate(Form.EquipXml);
    const Margins margins = ComputeMargins(in);
    ShowComputed(*this, "cTotFrevo", margins.frevo);
    if (!margins.computed) return;
    ShowComputed(*this, "ccTVA", margins.vat);
    ShowComputed(*this, "cMBrute", margins.gross);
    ShowComputed(*this, "cMNette", margins.net);
}

void TAxTarmel::UpdateSoldeVN() {
    if (Form.Filling) return;
    ShowComputed(*this, "cVNSolde",
                 Balance(TextOf(*this, "cVNPrixVente"), TextOf(*this, "cVNVFinancement"),
                         TextOf(*this, "cVNReprPrix"), TextOf(*this, "cVNMontantAcompte")));
}

void TAxTarmel::UpdateDateEcheanceTresorerie() {
    if (Form.Filling) return;
    DueDateInput in;
    in.delivery = TextOf(*this, "cVNDateLivraison");
    in.availability = TextOf(*this, "cVNDateDisponibilite");
    in.declaredDelivered = TextOf(*this, "cVNDateDeclareLivre");
    in.due = TextOf(*this, "cVNDateEcheance");
    in.purchase = TextOf(*this, "cVNDateAchat");
    in.financingType = TextOf(*this, "cVNTypeFinancement");
    in.destination = TextOf(*this, "cVNDestination");
    in.delays = ParameterList(Form.EquipXml, "TypeFinancementDelai");
    const DueDates dates = ComputeDueDates(in);
    ShowComputed(*this, "cVNDateEchTresorerie", dates.treasury);
    ShowComputed(*this, "cVNDateEchReglement", dates.settlement);
}

void TAxTarmel::cVNControlChange(QWidget* control) {
    if (qobject_cast<QComboBox*>(control))
        CBoxChange(control);
    else
        EditChange(control);
    // Filling the page sets each field before its stored value: that is no update of the order.
    if (Form.Filling) return;
    const TsDesc* desc = DescOf(control);
    if (desc == nullptr) return;
    if (const auto today = OrderUpdateDate(desc->storedValue, desc->currentValue,
                                           Record.ServerToday))
        ShowComputed(*this, "cVNDateUpdateCde", *today);
}

void TAxTarmel::cModeTVAChange(QWidget* combo) {
    CBoxChange(combo);
    UpdateTVAetMarges();
}

void TAxTarmel::cPrixVenteChange(QWidget* control) {
    EditChange(control);
    UpdateTVAetMarges();
}

void TAxTarmel::cPrixRepriseChange(QWidget* control) {
    EditChange(control);
    UpdateTVAetMarges();
}

void TAxTarmel::cPrixGarantieChange(QWidget* control) {
    EditChange(control);
    UpdateTVAetMarges();
}

void TAxTarmel::cTPVOChange(QWidget* control) {
    EditChange(control);
    UpdateTVAetMarges();
}

void TAxTarmel::cVNMontantAchatChange(QWidget* control) {
    EditChange(control);
    UpdateSoldeVN();
}

void TAxTarmel::cVNDateEcheanceChange(QWidget* control) {
    EditChange(control);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNDateDeclareLivreChange(QWidget* control) {
    EditChange(control);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNDateDisponibiliteChange(QWidget* control) {
    EditChange(control);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNDateLivraisonChange(QWidget* control) {
    EditChange(control);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNSituationAchatChange(QWidget* combo) {
    CBoxChange(combo);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNTypeFinancementChange(QWidget* combo) {
    CBoxChange(combo);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNDestinationChange(QWidget* combo) {
    CBoxChange(combo);
    UpdateDateEcheanceTresorerie();
}

void TAxTarmel::cVNTypeFinancementDelaiChange(QWidget*) {}

void TAxTarmel::cVNDateAchatChange(QWidget* control) {
    EditChange(control);
    UpdateDateEcheanceTresorerie();
    setInfoField3();
    MirrorDate(*this, "cVNDateAchat", "cVNDateFacture");
}

void TAxTarmel::cVNDateFactureChange(QWidget* control) {
    cVNControlChange(control);
    setInfoField3();
    UpdateDateEcheanceTresorerie();
    MirrorDate(*this, "cVNDateFacture", "cVNDateAchat");
}

void TAxTarmel::cVNStatutVNChange(QWidget* combo) {
    cVNControlChange(combo);
    setInfoField3();
}

void TAxTarmel::cVNDateCdeVWChange(QWidget* control) { cVNControlChange(control); }

void TAxTarmel::cVNDateDebutGarantieChange(QWidget* control) { cVNControlChange(control); }

void TAxTarmel::cVNDateFabricationChange(QWidget* control) {
    cVNControlChange(control);
    // The week is only shown, never saved: it follows the date while the page is filled too.
    ApplyPlan(ControlPlan().Show("LbDateFabrication", true));
    SetText(QStringLiteral("LbDateFabrication"),
            Q(WeekLabel(TextOf(*this, "cVNDateFabrication"))));
}

void TAxTarmel::LbPanelComptaClick() {
    QWidget* panel = Control(QStringLiteral("PanelCompta"));
    const inventory::Entry* entry = inventory::Find("PanelCompta");
    if (panel == nullptr || entry == nullptr) return;
    // Folded, only the caption line "Suivi Comptabilité" shows, at the bottom of the page.
    const PanelBox next = ToggleAccountsPanel({panel->y(), panel->height()}, entry->height);
    panel->setGeometry(panel->x(), next.top, panel->width(), next.height);
}

}  // namespace tarmel
