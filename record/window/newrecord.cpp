// The New button: a new record of the family on screen, its pages empty and its site chosen.
#include <QComboBox>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "record/newdelete.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

void PreselectSite(TAxTarmel& w, RecordFamily family) {
    auto* combo = w.Ctl<QComboBox>(QString::fromLatin1(SiteControl(family)));
    if (combo == nullptr) return;
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i) items.push_back(L(combo->itemText(i)));
    const int chosen = PreselectedSite(items, w.Record.LastSite, w.Host.UserSite);
    if (chosen < 0) return;
    combo->setCurrentIndex(chosen);
    // The combo's own change handling may have run; the field holds the site as stored.
    if (TsDesc* desc = w.DescOf(combo)) desc->currentValue = UpperAscii(items[size_t(chosen)]);
}

}  // namespace

void TAxTarmel::JvXPBtnNewVOClick() {
    if (!SaveChanges()) return;
    Record.FlagNewEnreg = true;
    const RecordFamily family = Record.family();
    if (family == RecordFamily::CL) {
        SetText(QStringLiteral("LbIDCustomer"), QStringLiteral("-2"));
        for (const char* grid : {"ngAction", "ngVehicles"}) {
            if (auto* g = Ctl<ui::Grid>(QString::fromLatin1(grid))) g->setRowCount(0);
        }
    }
    if (auto* tabs = Ctl<ui::PageControl>(QStringLiteral("Tabs")))
        tabs->setCurrentIndex(NewRecordTab(family));
    UpdateTabDesc(false, true);
    // The pages were filled from the previous record's document, its cost total included: the
    // margins are those of a record without costs.
    Record.FrevoTotal.clear();
    UpdateTVAetMarges();
    // The previous record's documents describe another record: nothing may act on them now
    // (its identifiers would reach a delete, a cost line or a print of the old record).
    Form.RecordXml.setText({});
    if (family == RecordFamily::CL) Form.ClientXml.setText({});
    PreselectSite(*this, family);
    TestPageUpdate(NewRecordTab(family) + 1);
    TabsChange();  // the page shown loads its sub-list for the new record
}

}  // namespace tarmel
