// The data grid: rows and typed columns (number, image, text, date, combo, drop-down list, memo,
// button) with per-cell colours and hints; each column has a name, as the grid code of the record
// refers to it. A click on a sortable column's header sorts the rows by it.
#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

#include "inventory/inventory.h"
#include "mainwindow/toolkit/celltexts.h"

namespace tarmel::ui {

struct GridColumn {
    QString name;
    inventory::Column type = inventory::Column::Text;
    int maxLength = 0;   // text, combo and memo editors
    QStringList items;   // combo and list editor choices
    bool centred = false;
    bool amount = false;  // number shown with the "#,##0.00" mask; the cell keeps its own text
    SortKind sort = SortKind::None;
};

class Grid : public QTableWidget {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    int addColumn(const GridColumn& column, int width, const QString& caption);
    const GridColumn& column(int index) const { return columns_.at(index); }
    // Index of the column named so, or -1.
    int columnIndex(const QString& name) const;
    void setColumnItems(int column, const QStringList& items);
    void setColumnSort(int column, SortKind kind);
    // Orders the rows by the column (stable; the current row stays current) and shows the order
    // in the header. A column that does not sort leaves the rows as they are.
    void sortByColumn(int column, Qt::SortOrder order);

    // Cells are created on first write; reading a cell that was never written gives empty.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    void setCellColours(int row, int column, const QColor& background, const QColor& text = {});
    void setCellHint(int row, int column, const QString& hint);
    void setCellImage(int row, int column, const QPixmap& image);

    // Asked before an edit is stored; the text may be replaced, and false refuses the edit.
    std::function<bool(int row, int column, QString& text)> onEditAccept;
    // Asked before the mouse or the keys make another cell current; false keeps the current one.
    std::function<bool(int row, int column)> onBeforeSelect;
    // The colours of a cell about to be painted; invalid colours leave the cell's own.
    std::function<void(int row, int column, QColor& background, QColor& foreground)> onFormatting;

    // Makes the cell current unless onBeforeSelect refuses; true when it is current now.
    bool selectCell(int row, int column);
    // What the delegate calls: the accepted edit is stored and editStored follows.
    void storeEdit(const QModelIndex& index, QString text);

signals:
    // A button cell was pressed.
    void buttonClicked(int row, int column);
    // The editor's text of a cell being edited changed.
    void cellEdited(int row, int column, const QString& text);
    // An edit was accepted and stored.
    void editStored(int row, int column);
    // A cell's editor was opened; keys is the widget its typed keys go to.
    void editorOpened(QWidget* keys);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void headerClicked(int column);
    QTableWidgetItem* cell(int row, int column);
    bool mayMoveTo(const QModelIndex& target);
    std::vector<GridColumn> columns_;
};

// Edits and paints a grid cell by its column's type.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(Grid* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
private:
    QWidget* makeEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const;
    Grid* grid_;
};

}  // namespace tarmel::ui
