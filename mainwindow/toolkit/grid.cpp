// The data grid with typed columns.
#include "mainwindow/toolkit/grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "mainwindow/toolkit/controls.h"

namespace tarmel::ui {

using inventory::Column;

Grid::Grid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

int Grid::addColumn(const GridColumn& column, int width, const QString& caption) {
    const int index = columnCount();
    setColumnCount(index + 1);
    columns_.push_back(column);
    setHorizontalHeaderItem(index, new QTableWidgetItem(caption));
    setColumnWidth(index, width);
    return index;
}

int Grid::columnIndex(const QString& name) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == name) return static_cast<int>(i);
    return -1;
}

void Grid::setColumnItems(int column, const QStringList& items) { columns_.at(column).items = items; }

QTableWidgetItem* Grid::cell(int row, int column) {
    if (row >= rowCount()) setRowCount(row + 1);
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        const Column type = columns_.at(column).type;
        if (type == Column::Number) it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (type == Column::Image || type == Column::Button) it->setFlags(it->flags() & ~Qt::ItemIsEditable);
        setItem(row, column, it);
    }
    return it;
}

QString Grid::cellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void Grid::setCellText(int row, int column, const QString& text) { cell(row, column)->setText(text); }

void Grid::setCellColours(int row, int column, const QColor& background, const QColor& text) {
    QTableWidgetItem* it = cell(row, column);
    it->setBackground(background.isValid() ? QBrush(background) : QBrush());
    it->setForeground(text.isValid() ? QBrush(text) : QBrush());
}

void Grid::setCellHint(int row, int column, const QString& hint) { cell(row, column)->setToolTip(hint); }

void Grid::setCellImage(int row, int column, const QPixmap& image) {
    cell(row, column)->setData(Qt::DecorationRole, image);
}

GridDelegate::GridDelegate(Grid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const GridColumn& column = grid_->column(index.column());
    switch (column.type) {
    case Column::Image:
    case Column::Button: return nullptr;
    case Column::Number: return new NumberEdit(parent);
    case Column::Date: return new DatePicker(parent);
    case Column::Combo: {
        auto* combo = new Combo(parent);
        combo->addItems(column.items);
        combo->makeEditable();
        combo->setMaxLength(column.maxLength);
        return combo;
    }
    case Column::Memo: {
        auto* memo = new Memo(parent);
        memo->setMaxLength(column.maxLength);
        return memo;
    }
    case Column::Text: {
        auto* edit = new QLineEdit(parent);
        if (column.maxLength > 0) edit->setMaxLength(column.maxLength);
        return edit;
    }
    case Column::None: break;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    SetControlText(editor, index.data().toString());
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    model->setData(index, ControlText(editor));
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (grid_->column(index.column()).type != Column::Button)
        return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = grid_->horizontalHeaderItem(index.column())->text();
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.fontMetrics = option.fontMetrics;
    QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                               const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (grid_->column(index.column()).type == Column::Button &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit grid_->buttonClicked(index.row(), index.column());
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

}  // namespace tarmel::ui
