// A client's vehicles in the grid ngVehicles beside the detail fields of page 8: the vehicle
// chosen in the grid is the one page 8 shows, a new vehicle comes at the top, and the delete
// icon removes one after a question.
#include <algorithm>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"
#include "record/controlplan.h"
#include "record/newdelete.h"
#include "sublists/vehiclelines.h"
#include "sublists/window/lineicons.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr int kIconColumn = 0, kIdColumn = 1, kPlateColumn = 2, kVehicleColumn = 3;
constexpr int kNewVehicleIcon = -1;
constexpr const char* kDeleteResult = "/XmlAXDelete.xml";

ui::Grid* VehicleGrid(TAxTarmel& w) {
    return w.Ctl<ui::Grid>(QStringLiteral("ngVehicles"));
}

int CustomerNumber(TAxTarmel& w) {
    return form::IdNumber(w.Text(QStringLiteral("LbIDCustomer")));
}

// The position in the client document of the vehicle on a grid row: the new vehicle, while
// one is entered, is the top row and has none (-1).
bool NewOnTop(const TAxTarmel& w) {
    return !w.Form.VehicleIcons.empty() && w.Form.VehicleIcons[0] == kNewVehicleIcon;
}
int DocumentPosition(const TAxTarmel& w, int row) {
    return NewOnTop(w) ? row - 1 : row;
}
int GridRow(const TAxTarmel& w, int position) {
    return NewOnTop(w) ? position + 1 : std::max(position, 0);
}

int RowOfVehicle(const ui::Grid& grid, const QString& id) {
    for (int row = 0; row < grid.rowCount(); ++row)
        if (!id.isEmpty() && grid.cellText(row, kIdColumn) == id) return row;
    return -1;
}

// Makes a row current as the program does, without asking or choosing anything.
void PutCurrentRow(TAxTarmel& w, ui::Grid& grid, int row) {
    const bool filling = w.Form.Filling;
    w.Form.Filling = true;
    grid.setCurrentCell(row, kPlateColumn);
    w.Form.Filling = filling;
}

}  // namespace

void TAxTarmel::LoadInfoVehicle() {
    ui::Grid* grid = VehicleGrid(*this);
    if (grid == nullptr) return;
    // The add button offers nothing for a client not saved yet.
    ApplyPlan(ControlPlan()
                  .Show("JvXPBtnNewVehicle", true)
                  .Enable("JvXPBtnNewVehicle", Access.RightClarum && CustomerNumber(*this) > 0));
    TXml vehicles = Form.ClientXml;
    XmlFind(vehicles, "TVehS");
    TraceLog(QStringLiteral("TVehS : ") + Q(std::string(vehicles.remainingText())));

    Form.Filling = true;
    grid->setRowCount(0);
    Form.VehicleIcons.clear();
    const std::vector<VehicleRow> rows =
        LoadVehicleRows(Form.ClientXml, Record.FlagNewEnreg, Access.RightClarum);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = int(i);
        const bool deletable = rows[i].icon == VehicleIcon::Delete;
        grid->setCellImage(row, kIconColumn, LineIcon(deletable ? "delete" : nullptr));
        grid->setCellHint(row, kIconColumn, deletable ? Q(kVehicleDeleteHint) : QString());
        grid->setCellText(row, kIdColumn, Q(rows[i].id));
        grid->setCellText(row, kPlateColumn, Q(rows[i].plate));
        grid->setCellText(row, kVehicleColumn, Q(rows[i].vehicle));
        Form.VehicleIcons.push_back(int(rows[i].icon));
    }
    if (!rows.empty()) grid->setCurrentCell(0, kPlateColumn);
    grid->viewport()->update();
    Form.Filling = false;
}

void TAxTarmel::ngVehiclesBeforeSelect(ui::EventArgs& cell) {
    const ui::Grid* grid = VehicleGrid(*this);
    if (grid == nullptr || cell.row == grid->currentRow()) return;
    const std::string field = VehicleFieldToFill(L(Text(QStringLiteral("vInfoMarque"))),
                                                 L(Text(QStringLiteral("vInfoModele"))));
    if (field.empty()) return;
    if (QWidget* control = Control(Q(field))) control->setFocus();
    cell.refused = true;
}

void TAxTarmel::ngVehiclesSelectCell(ui::EventArgs& cell) {
    ui::Grid* grid = VehicleGrid(*this);
    if (grid == nullptr || Form.Filling) return;
    int row = cell.row;
    if (DocumentPosition(*this, row) == Record.SelectedVehicle) return;
    const QString id = grid->cellText(row, kIdColumn);
    if (Control(QStringLiteral("JvXPBtnSave"))->isEnabled() && !SaveChanges()) {
        // The page still shows the vehicle whose changes were not saved: so does the grid.
        PutCurrentRow(*this, *grid, GridRow(*this, Record.SelectedVehicle));
        return;
    }
    // Saving a new vehicle reloaded the client: the vehicle chosen is found again by its number.
    if (grid->cellText(row, kIdColumn) != id) {
        row = RowOfVehicle(*grid, id);
        if (row < 0) return;
        PutCurrentRow(*this, *grid, row);
    }
    const int position = DocumentPosition(*this, row);
    if (position < 0 || position == Record.SelectedVehicle) return;
    Record.SelectedVehicle = position;
    UpdateTabDesc(false, false);
}

void TAxTarmel::ngVehiclesCellClick(ui::EventArgs& cell) {
    ui::Grid* grid = VehicleGrid(*this);
    if (grid == nullptr || cell.column != kIconColumn || cell.row < 0 ||
        size_t(cell.row) >= Form.VehicleIcons.size() ||
        Form.VehicleIcons[size_t(cell.row)] != int(VehicleIcon::Delete))
        return;
    const std::string question = ClientVehicleDeleteQuestion(
        L(grid->cellText(cell.row, kPlateColumn)), L(grid->cellText(cell.row, kVehicleColumn)));
    if (!dialogs().Confirm(Q(kDeleteTitle), Q(question))) return;
    const std::string statement =
        ClientVehicleDeleteStatement(L(grid->cellText(cell.row, kIdColumn)));
    SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
    if (!SendStatement("AxUpdate", statement, kDeleteResult)) return;
    SetText(QStringLiteral("LbDebugInfo2"), {});
    UpdateView(true);
}

void TAxTarmel::JvXPBtnNewVehicleClick() {
    ui::Grid* grid = VehicleGrid(*this);
    if (grid == nullptr || CustomerNumber(*this) <= 0) return;
    if (Record.NewVehicle) {  // one new vehicle at a time: it is the top row
        PutCurrentRow(*this, *grid, 0);
        return;
    }
    // The vehicle shown is replaced by the new one: its changes are saved first.
    if (Control(QStringLiteral("JvXPBtnSave"))->isEnabled() && !SaveChanges()) return;
    Record.NewVehicle = true;
    Form.Filling = true;  // moving the rows down is no edit
    grid->insertRow(0);
    Form.VehicleIcons.insert(Form.VehicleIcons.begin(), kNewVehicleIcon);
    Form.Filling = false;
    Record.SelectedVehicle = -1;
    UpdateTabDesc(false, false);
    PutCurrentRow(*this, *grid, 0);
    grid->viewport()->update();
}

}  // namespace tarmel
