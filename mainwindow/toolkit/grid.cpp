// The data grid with typed columns.
#include "mainwindow/toolkit/grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

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
    // The hand over a clickable picture follows the mouse without a button held.
    setMouseTracking(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &Grid::headerClicked);
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

void Grid::setColumnSort(int column, SortKind kind) { columns_.at(column).sort = kind; }

void Grid::headerClicked(int column) {
    if (column < 0 || column >= columnCount() || columns_.at(column).sort == SortKind::None) return;
    const QHeaderView* header = horizontalHeader();
    // A second click on the sorted column turns the order round; another column starts ascending.
    const bool again = header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
    const bool descending = again && header->sortIndicatorOrder() == Qt::AscendingOrder;
    sortByColumn(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void Grid::sortByColumn(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) return;
    const SortKind kind = columns_.at(column).sort;
    if (kind == SortKind::None) return;
    const int rows = rowCount(), columns = columnCount(), current = currentRow();
    std::vector<int> sorted(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) sorted[size_t(r)] = r;
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const QString x = cellText(a, column), y = cellText(b, column);
        return order == Qt::AscendingOrder ? SortsBefore(kind, x, y) : SortsBefore(kind, y, x);
    });
    // The cells move as they are, colours, hints and pictures with them, without a change signal.
    const QSignalBlocker quiet(this);
    std::vector<std::vector<QTableWidgetItem*>> moved(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) moved[size_t(r)].push_back(takeItem(r, c));
    int newCurrent = -1;
    for (int r = 0; r < rows; ++r) {
        const int from = sorted[size_t(r)];
        if (from == current) newCurrent = r;
        for (int c = 0; c < columns; ++c)
            if (QTableWidgetItem* it = moved[size_t(from)][size_t(c)]) setItem(r, c, it);
    }
    if (newCurrent >= 0) setCurrentCell(newCurrent, std::max(currentColumn(), 0));
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, order);
}

QTableWidgetItem* Grid::cell(int row, int column) {
    if (row >= rowCount()) setRowCount(row + 1);
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        const Column type = columns_.at(column).type;
        if (type == Column::Number) it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (columns_.at(column).centred) it->setTextAlignment(Qt::AlignCenter);
        if (type == Column::Image || type == Column::Button) it->setFlags(it->flags() & ~Qt::ItemIsEditable);
        // An empty cell coming into being is no change of the cell's text.
        const QSignalBlocker quiet(this);
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

void Grid::storeEdit(const QModelIndex& index, QString text) {
    if (onEditAccept && !onEditAccept(index.row(), index.column(), text)) return;
    model()->setData(index, text);
    emit editStored(index.row(), index.column());
}

bool Grid::mayMoveTo(const QModelIndex& target) {
    if (!target.isValid() || target == currentIndex() || !onBeforeSelect) return true;
    return onBeforeSelect(target.row(), target.column());
}

bool Grid::selectCell(int row, int column) {
    if (!mayMoveTo(model()->index(row, column))) return false;
    setCurrentCell(row, column);
    return currentRow() == row && currentColumn() == column;
}

void Grid::mousePressEvent(QMouseEvent* event) {
    if (!mayMoveTo(indexAt(event->position().toPoint()))) return event->accept();
    QTableWidget::mousePressEvent(event);
}

void Grid::mouseMoveEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool picture = at.isValid() && column(at.column()).type == Column::Image &&
                         !at.data(Qt::DecorationRole).isNull();
    viewport()->setCursor(picture ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QTableWidget::mouseMoveEvent(event);
}

void Grid::keyPressEvent(QKeyEvent* event) {
    // The moves a key makes, asked before they happen.
    static const std::pair<int, CursorAction> kMoves[] = {
        {Qt::Key_Up, MoveUp},         {Qt::Key_Down, MoveDown},
        {Qt::Key_Left, MoveLeft},     {Qt::Key_Right, MoveRight},
        {Qt::Key_Home, MoveHome},     {Qt::Key_End, MoveEnd},
        {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
        {Qt::Key_Tab, MoveNext},      {Qt::Key_Backtab, MovePrevious},
    };
    for (const auto& [key, action] : kMoves) {
        if (event->key() == key && !mayMoveTo(moveCursor(action, event->modifiers())))
            return event->accept();
    }
    QTableWidget::keyPressEvent(event);
}

namespace {

// Reports the editor's text while a cell is edited.
void ReportEditing(Grid* grid, QWidget* editor, const QModelIndex& index) {
    const int row = index.row(), column = index.column();
    auto report = [grid, editor, row, column] {
        emit grid->cellEdited(row, column, ControlText(editor));
    };
    if (auto* date = qobject_cast<DatePicker*>(editor))
        QObject::connect(date, &DatePicker::textChanged, grid, report);
    else if (auto* memo = qobject_cast<Memo*>(editor))
        QObject::connect(memo, &Memo::textEdited, grid, report);
    else if (auto* combo = qobject_cast<QComboBox*>(editor))
        QObject::connect(combo, &QComboBox::currentTextChanged, grid, report);
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        QObject::connect(edit, &QLineEdit::textEdited, grid, report);
}

}  // namespace

GridDelegate::GridDelegate(Grid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = makeEditor(parent, option, index);
    if (editor == nullptr) return nullptr;
    ReportEditing(grid_, editor, index);
    QWidget* keys = editor;
    if (auto* date = qobject_cast<DatePicker*>(editor)) keys = date->lineEdit();
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
        keys = combo->lineEdit();
    emit grid_->editorOpened(keys);
    return editor;
}

QWidget* GridDelegate::makeEditor(QWidget* parent, const QStyleOptionViewItem& option,
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
        combo->setMaxVisibleItems(16);
        return combo;
    }
    case Column::List: {
        auto* list = new Combo(parent);
        list->addItems(column.items);
        list->setMaxVisibleItems(20);
        return list;
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

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                const QModelIndex& index) const {
    grid_->storeEdit(index, ControlText(editor));
}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (grid_->column(index.column()).amount) option->text = AmountText(option->text);
    if (!grid_->onFormatting) return;
    QColor background, foreground;
    grid_->onFormatting(index.row(), index.column(), background, foreground);
    if (background.isValid()) option->backgroundBrush = background;
    if (foreground.isValid()) option->palette.setColor(QPalette::Text, foreground);
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
