// Opening a record of the result list, and stepping to the previous or next one without the panel.
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"
#include "search/searchresults.h"

namespace tarmel {

void TAxTarmel::OpenSearchRow(int row) {
    auto* grid = Ctl<ui::Grid>(QStringLiteral("ngSearch"));
    if (row < 0 || row >= grid->rowCount()) return;
    // As when the page changes: pending changes are saved first, and a failed save stays.
    if (!TabsChanging()) return;
    grid->setCurrentCell(row, 2);
    const QString id = grid->cellText(row, 0);
    const bool client = Record.RecordKind == "_TCL";
    SetText(client ? QStringLiteral("LbIDCustomer") : QStringLiteral("LbIdTVO"), id);
    Record.FlagNewEnreg = false;
    JvXPBtnActualizeClick();
    ApplyPlan(SearchNavigationPlan(row, grid->rowCount()));
}

void TAxTarmel::ngSearchCellClick(ui::EventArgs& cell) { OpenSearchRow(cell.row); }

void TAxTarmel::JvXPNextClick() {
    OpenSearchRow(Ctl<ui::Grid>(QStringLiteral("ngSearch"))->currentRow() + 1);
}

void TAxTarmel::JvXPPrevClick() {
    OpenSearchRow(Ctl<ui::Grid>(QStringLiteral("ngSearch"))->currentRow() - 1);
}

void TAxTarmel::ngSearchMouseMove(ui::EventArgs& cell) {
    auto* grid = Ctl<ui::Grid>(QStringLiteral("ngSearch"));
    if (!grid->hasFocus()) grid->setFocus();
    const int row = cell.row >= 0 && cell.row < grid->rowCount() ? cell.row : -1;
    if (row >= 0) grid->setCurrentCell(row, 2);
    ApplyPlan(SearchNavigationPlan(row, grid->rowCount()));
}

void TAxTarmel::ngSearchCellFormating(ui::EventArgs& cell) {
    if (cell.column == Search.SearchColumn) cell.foreground = QColor(0, 0, 255);
}

}  // namespace tarmel
