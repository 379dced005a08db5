// The refurbishment cost lines of a used vehicle in the grid ngFrevo: filled from the record
// document, each edit turned into the line's statement and saved at once, the add and delete
// icons, the totals feeding the margins.
#include <QApplication>
#include <QColor>
#include <QPixmap>

#include "formdesc/fieldkinds.h"
#include "formdesc/fieldrules.h"
#include "formdesc/valuelists.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"
#include "sublists/frevolines.h"
#include "sublists/window/lineicons.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr int kIconColumn = 0;
const QColor kReadOnlyCell(0xF0, 0xF0, 0xF0);

ui::Grid* FrevoGrid(TAxTarmel& w) {
    return w.Ctl<ui::Grid>(QStringLiteral("ngFrevo"));
}

QPixmap IconPicture(FrevoIcon icon) {
    return LineIcon(icon == FrevoIcon::Delete ? "delete"
                    : icon == FrevoIcon::Add  ? "new"
                                              : nullptr);
}

// Lists of the editable combos, and the column set-up from the structure description (once).
void SetUpColumns(TAxTarmel& w, ui::Grid& grid, const FrevoTemplate& tmpl) {
    const struct {
        const char* column;
        const char* list;
    } lists[] = {{"TypeFrevo", "TypeFrevo"},
                 {"LibelleFrevo", "LibFrevo"},
                 {"NomFournisseur", "Fournisseur"}};
    for (const auto& l : lists) {
        const int column = grid.columnIndex(QString::fromLatin1(l.column));
        if (column < 0) continue;
        QStringList items;
        if (const auto list = ParameterList(w.Form.EquipXml, l.list)) {
            for (const std::string& item : *list) items << Q(item);
        }
        grid.setColumnItems(column, items);
    }
    for (size_t k = 0; k < tmpl.widths.size(); ++k) {
        const int column = int(k) + 1;
        if (column >= grid.columnCount()) break;
        grid.setColumnHidden(column, tmpl.widths[k] == 0);
        if (tmpl.widths[k] > 0) grid.setColumnWidth(column, tmpl.widths[k]);
        if (!tmpl.captions[k].empty()) {
            if (auto* header = grid.horizontalHeaderItem(column))
                header->setText(Q(tmpl.captions[k]));
        }
    }
}

void ShowRow(ui::Grid& grid, int row, const FrevoRow& line, bool accountingRight, bool addLine) {
    for (int k = 0; k < kFrevoCells; ++k) {
        const int column = k + 1;
        if (column >= grid.columnCount()) break;
        grid.setCellText(row, column, Q(line.line.cells[size_t(k)].currentValue));
        grid.setCellColours(row, column,
                            line.readOnly[size_t(k)] ? kReadOnlyCell : QColor(Qt::white));
        QTableWidgetItem* it = grid.item(row, column);
        const bool editable = FrevoCellEditable(L(grid.column(column).name), addLine,
                                                line.line.locked, accountingRight);
        if (it != nullptr && grid.column(column).type != inventory::Column::Image)
            it->setFlags(editable ? it->flags() | Qt::ItemIsEditable
                                  : it->flags() & ~Qt::ItemIsEditable);
    }
    grid.setCellImage(row, kIconColumn, IconPicture(line.icon));
    if (line.icon == FrevoIcon::Delete)
        grid.setCellHint(row, kIconColumn, QStringLiteral("pour supprimer ce Frevo"));
    else if (line.icon == FrevoIcon::Add)
        grid.setCellHint(row, kIconColumn, QStringLiteral("pour ajouter un nouveau Frevo"));
}

}  // namespace

void TAxTarmel::LoadInfoFrevo() {
    ui::Grid* grid = FrevoGrid(*this);
    if (grid == nullptr) return;
    const FrevoTemplate tmpl = MakeFrevoTemplate(GridColumns(Form.StructXml, "gFrev", kFrevoCells));
    if (!grid->isColumnHidden(1)) SetUpColumns(*this, *grid, tmpl);

    Form.Filling = true;
    grid->setRowCount(0);
    Form.FrevoRows.assign(1, tmpl.line);
    Form.FrevoIcons.assign(1, 0);
    const auto holds = [this](std::string_view tag) { return GetDataRights(tag); };
    const FrevoLoad load =
        LoadFrevoLines(Form.RecordXml, tmpl, Access.RightCompta, holds, form::Today());
    for (size_t i = 0; i < load.rows.size(); ++i) {
        const bool addLine = load.addLine && i + 1 == load.rows.size();
        ShowRow(*grid, int(i), load.rows[i], Access.RightCompta, addLine);
        Form.FrevoRows.push_back(load.rows[i].line);
        Form.FrevoIcons.push_back(int(load.rows[i].icon));
    }
    Form.Filling = false;
    UpdateCumulFrevo();
}

void TAxTarmel::UpdateCumulFrevo() {
    const FrevoTotals totals = ComputeFrevoTotals(
        Form.FrevoRows, L(Text(QStringLiteral("cDateLivraison"))), form::Today());
    for (size_t i = 0; i < 5; ++i)
        SetText(QString::fromLatin1(kFrevoTotalControls[i]), Q(totals.texts[i]));
    Record.FrevoTotal = L(Text(QStringLiteral("cFrevo")));
    UpdateTVAetMarges();
    for (size_t i = 5; i < totals.texts.size(); ++i)
        SetText(QString::fromLatin1(kFrevoTotalControls[i]), Q(totals.texts[i]));
}

void TAxTarmel::ngFrevoEdit(ui::EventArgs& cell) {
    if (cell.column <= kIconColumn || Form.Filling) return;
    const size_t line = size_t(cell.row) + 1;
    if (line >= Form.FrevoRows.size() || cell.column > kFrevoCells) return;
    TsDesc& desc = Form.FrevoRows[line].cells[size_t(cell.column - 1)];
    const std::string value = L(cell.text);
    desc.currentValue = desc.dataType == datatype::Decimal ? TwoDecimals(value) : value;
    TestFrevoUpdate(int(line));
}

void TAxTarmel::ngFrevoChange(ui::EventArgs& cell) {
    ui::Grid* grid = FrevoGrid(*this);
    if (grid == nullptr || cell.column <= kIconColumn || Form.Filling) return;
    const size_t line = size_t(cell.row) + 1;
    if (line >= Form.FrevoRows.size() || cell.column > kFrevoCells) return;
    TsDesc& desc = Form.FrevoRows[line].cells[size_t(cell.column - 1)];
    const std::string text = L(grid->cellText(cell.row, cell.column));
    if (text == desc.currentValue) return;
    desc.currentValue = desc.dataType == datatype::Decimal ? TwoDecimals(text) : text;
    if (!TestFrevoUpdate(int(line))) return;
    const bool added = Form.FrevoIcons[line] == int(FrevoIcon::Add);
    // An added line becomes an ordinary one only through the reload: without it a second edit
    // of the add line would insert it again.
    if (SaveChanges() && added) JvXPBtnActualizeClick();
}

void TAxTarmel::ngFrevoEditAccept(ui::EventArgs& cell) {
    ui::Grid* grid = FrevoGrid(*this);
    if (grid == nullptr || grid->column(cell.column).name != QLatin1String("DateFrevo")) return;
    const size_t line = size_t(cell.row) + 1;
    const std::string stored =
        line < Form.FrevoRows.size() ? Form.FrevoRows[line].cells[1].storedValue : std::string();
    const auto refusal = FrevoDateRefusal(L(cell.text), stored, Access.Limits.debFrevo,
                                          Access.Limits.fin, form::Today());
    if (!refusal) return;
    dialogs().Message(Dialogs::Kind::Warning, QStringLiteral("Contrôle de la date Frevo"),
                      Q(*refusal));
    cell.refused = true;
}

void TAxTarmel::ngFrevoBeforeSelect(ui::EventArgs& cell) {
    const size_t target = size_t(cell.row) + 1;
    bool otherPending = false;
    for (size_t i = 1; i < Form.FrevoRows.size(); ++i)
        otherPending = otherPending || (i != target && !Form.FrevoRows[i].statement.empty());
    if (otherPending && Control(QStringLiteral("JvXPBtnSave"))->isEnabled())
        cell.refused = !SaveChanges();
}

void TAxTarmel::ngFrevoCellClick(ui::EventArgs& cell) {
    if (cell.column != kIconColumn) return;  // editability is set with each row
    const size_t line = size_t(cell.row) + 1;
    if (line >= Form.FrevoRows.size()) return;
    switch (FrevoIcon(Form.FrevoIcons[line])) {
        case FrevoIcon::Add:
            // Every filled cell counts as a change of the new line.
            for (TsDesc& c : Form.FrevoRows[line].cells) c.storedValue.clear();
            SaveIconLine(*this, &TAxTarmel::TestFrevoUpdate, int(line));
            break;
        case FrevoIcon::Delete:
            Form.FrevoRows[line].cells[7].currentValue.assign(1, '0');  // the amount drops
            SaveIconLine(*this, &TAxTarmel::TestFrevoUpdate, -int(line));
            break;
        case FrevoIcon::Kept:
            break;
    }
}

void TAxTarmel::ngFrevoCellFormating(ui::EventArgs& cell) {
    ui::Grid* grid = FrevoGrid(*this);
    if (grid == nullptr) return;
    cell.foreground = grid->column(cell.column).name == QLatin1String("NComptable")
                          ? QColor(Qt::red)
                          : QColor(Qt::blue);
}

}  // namespace tarmel
