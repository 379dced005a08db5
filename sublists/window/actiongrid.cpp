// A client's follow-up actions in the grid ngAction: filled from the client document, each edit
// turned into its code and the line's statement, a new action at the top with the remembered
// values, the delete icon, and the checks of the dates and staff typed.
#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QPixmap>

#include "app/settingsfile.h"
#include "formdesc/valuelists.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"
#include "record/controlplan.h"
#include "sublists/actionlines.h"
#include "sublists/window/lineicons.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr int kIconColumn = 0;
const QColor kLockedCell(0xD4, 0xD0, 0xC8);  // an inactive window border

ui::Grid* ActionGrid(TAxTarmel& w) {
    return w.Ctl<ui::Grid>(QStringLiteral("ngAction"));
}

QPixmap IconPicture(ActionIcon icon) {
    return LineIcon(icon == ActionIcon::Delete ? "delete"
                    : icon == ActionIcon::New  ? "save"
                                               : nullptr);
}

void SetIcon(ui::Grid& grid, int row, ActionIcon icon) {
    grid.setCellImage(row, kIconColumn, IconPicture(icon));
    const char* hint = icon == ActionIcon::Delete ? "pour supprimer cette action"
                       : icon == ActionIcon::New  ? "pour enregistrer cette nouvelle action"
                                                  : "";
    grid.setCellHint(row, kIconColumn, QString::fromUtf8(hint));
}

std::vector<std::string> ColumnItems(const ui::Grid& grid, int column) {
    std::vector<std::string> items;
    for (const QString& item : grid.column(column).items) items.push_back(L(item));
    return items;
}

// The cells of a row from its line's current values; a code below 1 leaves the cell. A new
// action (`newAction`) shows an empty cell for a code below 1 or none: a list column would
// otherwise show its first item for a value the line does not hold, and the save would stop on
// a column the user sees filled.
void ShowLine(TAxTarmel& w, ui::Grid& grid, int row, const TsLine& line, bool newAction) {
    const StaffNameOf staff = [&w](std::string_view id) { return StaffName(w.Form.ListXml, id); };
    for (int column = 1; column <= kActionColumns && column < grid.columnCount(); ++column) {
        const std::string& value = line.cells[size_t(column - 1)].currentValue;
        const auto text = ActionCellText(column, value, staff, ColumnItems(grid, column));
        if (newAction && (!text || value.empty()))
            grid.setCellText(row, column, {});
        else if (text)
            grid.setCellText(row, column, Q(*text));
    }
}

// The code an edited text stands for: a staff identifier, a list position, or the text itself.
std::string CodeOf(TAxTarmel& w, const ui::Grid& grid, int column, const std::string& text) {
    if (IsStaffColumn(column)) return w.GetInfoComboBoxIdCom("InfoCom", text);
    if (IsListColumn(column)) return w.GetInfoComboBoxIdCom(L(grid.column(column).name), text);
    return text;
}

void TakeEdit(TAxTarmel& w, int row, int column, const std::string& text) {
    ui::Grid* grid = ActionGrid(w);
    const size_t line = size_t(row) + 1;
    if (grid == nullptr || column <= kIconColumn || column > kActionColumns || w.Form.Filling ||
        line >= w.Form.ActionLines.size())
        return;
    TsDesc& cell = w.Form.ActionLines[line].cells[size_t(column - 1)];
    const std::string code = CodeOf(w, *grid, column, text);
    if (code == cell.currentValue) return;
    cell.currentValue = code;
    w.TestActionUpdate(int(line));
}


}  // namespace

std::string TAxTarmel::ngActionGetInfoCom(std::string_view idCom) const {
    return StaffName(Form.ListXml, idCom);
}

void TAxTarmel::LoadInfoAction() {
    ui::Grid* grid = ActionGrid(*this);
    if (grid == nullptr) return;
    for (const char* column : {"TypeAction", "SujetAction", "PrioriteRelance"})
        LoadInfoNxComboBoxColumn(column, QStringLiteral("ngAction"), QString::fromLatin1(column));
    LoadInfoNxComboBoxColumn("SujetAction", QStringLiteral("ngAction"),
                             QStringLiteral("SujetRelance"));
    LoadInfoNxComboBoxColumn("InfoCom", QStringLiteral("ngAction"), QStringLiteral("idCom"));
    LoadInfoNxComboBoxColumn("InfoCom", QStringLiteral("ngAction"), QStringLiteral("idComRelance"));
    ApplyPlan(ControlPlan()
                  .Show("JvXPBtnNewAction", true)
                  .Enable("JvXPBtnNewAction", Access.RightClarum));

    const TsLine tmpl = MakeActionTemplate(GridColumns(Form.StructXml, "gAct", kActionColumns));
    Form.ActionLines.assign(1, tmpl);
    Form.ActionIcons.assign(1, 0);
    TXml actions = Form.ClientXml;
    XmlFind(actions, "TActS");
    TraceLog(QStringLiteral("TActS : ") + Q(std::string(actions.remainingText())));

    Form.Filling = true;
    grid->setRowCount(0);
    const auto holds = [this](std::string_view tag) { return GetDataRights(tag); };
    const std::vector<ActionRow> rows =
        LoadActionLines(Form.ClientXml, tmpl, Access.RightClarum, holds);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = int(i);
        ShowLine(*this, *grid, row, rows[i].line, false);
        for (int column = 1; column <= kActionColumns && column < grid->columnCount(); ++column)
            grid->setCellColours(
                row, column, rows[i].locked[size_t(column - 1)] ? kLockedCell : QColor(Qt::white));
        SetIcon(*grid, row, rows[i].icon);
        Form.ActionLines.push_back(rows[i].line);
        Form.ActionIcons.push_back(int(rows[i].icon));
    }
    grid->setEnabled(Access.RightClarum);
    Form.Filling = false;
}

void TAxTarmel::ngActionChange(ui::EventArgs& cell) {
    ui::Grid* grid = ActionGrid(*this);
    if (grid != nullptr)
        TakeEdit(*this, cell.row, cell.column, L(grid->cellText(cell.row, cell.column)));
}

void TAxTarmel::ngActionEdit(ui::EventArgs& cell) {
    TakeEdit(*this, cell.row, cell.column, L(cell.text));
}

void TAxTarmel::ngActionEditAccept(ui::EventArgs& cell) {
    ui::Grid* grid = ActionGrid(*this);
    if (grid == nullptr) return;
    const size_t line = size_t(cell.row) + 1;
    if (IsStaffColumn(cell.column)) {
        cell.refused = !grid->column(cell.column).items.contains(cell.text);
        return;
    }
    const std::string previous =
        line < Form.ActionLines.size()
            ? Form.ActionLines[line].cells[size_t(cell.column - 1)].storedValue
            : std::string();
    const auto refusal =
        ActionDateRefusal(cell.column, L(cell.text), previous, L(grid->cellText(cell.row, 2)),
                          Access.Limits.debClarum, Access.Limits.fin, form::Today());
    if (!refusal) return;
    dialogs().Message(Dialogs::Kind::Warning, Q(refusal->title), Q(refusal->text));
    cell.refused = true;
}

void TAxTarmel::ngActionBeforeSelect(ui::EventArgs& cell) {
    ui::Grid* grid = ActionGrid(*this);
    const size_t target = size_t(cell.row) + 1;
    // An incomplete line keeps the user until its first empty cell is filled.
    for (size_t i = 1; i < Form.ActionLines.size(); ++i) {
        if (i == target || Form.ActionLines[i].missingColumn == 0 || Record.NewAction) continue;
        if (grid != nullptr) grid->setCurrentCell(int(i) - 1, Form.ActionLines[i].missingColumn);
        cell.refused = true;
        return;
    }
    bool otherPending = false;
    for (size_t i = 1; i < Form.ActionLines.size(); ++i)
        otherPending = otherPending || (i != target && !Form.ActionLines[i].statement.empty());
    if (otherPending && Control(QStringLiteral("JvXPBtnSave"))->isEnabled())
        cell.refused = !SaveChanges();
}

void TAxTarmel::ngActionCellClick(ui::EventArgs& cell) {
    if (cell.column != kIconColumn) return;
    const size_t line = size_t(cell.row) + 1;
    if (line >= Form.ActionLines.size()) return;
    switch (ActionIcon(Form.ActionIcons[line])) {
        case ActionIcon::Delete:
            Form.ActionLines[line].cells[7].currentValue.assign(1, '0');
            SaveIconLine(*this, &TAxTarmel::TestActionUpdate, -int(line));
            break;
        case ActionIcon::New:
            if (TestActionUpdate(int(line)) && SaveChanges()) JvXPBtnActualizeClick();
            break;
        case ActionIcon::Kept:
            break;
    }
}

void TAxTarmel::ngActionCellFormating(ui::EventArgs& cell) {
    if (cell.column == 1) {
        cell.foreground = QColor(255, 0, 0);
    } else if (cell.column == 3 || cell.column == 5 || cell.column == 6 || cell.column == 8 ||
               cell.column == 10) {
        cell.background = QColor(240, 240, 240);
        cell.foreground = QColor(0, 0, 255);
    }
}

// The rows keep their slide height: a typed Enter, in the grid or in a cell's editor, is dropped.
void TAxTarmel::ngActionKeyPress(ui::EventArgs& key) {
    if (key.character == u'\r' || key.character == u'\n') key.refused = true;
}

void TAxTarmel::JvXPBtnNewActionClick() {
    ui::Grid* grid = ActionGrid(*this);
    if (grid == nullptr || Form.ActionLines.empty()) return;
    Record.NewAction = true;
    Form.Filling = true;  // moving the rows down is no edit
    grid->insertRow(0);
    Form.ActionLines.insert(Form.ActionLines.begin() + 1, TsLine{});
    Form.ActionIcons.insert(Form.ActionIcons.begin() + 1, int(ActionIcon::New));
    SetIcon(*grid, 0, ActionIcon::New);
    const SettingsFile settings(Host.IniFileName);
    const Remembered remembered = [&settings](const std::string& key) {
        return settings.GetTagRegistry(key);
    };
    const std::string staff = GetInfoComboBoxIdCom("InfoCom", L(Text(QStringLiteral("aidCom"))));
    Form.ActionLines[1] = NewActionLine(Form.ActionLines[0], remembered, staff, form::Today());
    ShowLine(*this, *grid, 0, Form.ActionLines[1], true);
    Form.Filling = false;
    grid->selectCell(0, 2);
}

}  // namespace tarmel
