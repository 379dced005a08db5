// The data grid: rows and typed columns (number, image, text, date, combo, memo, button) with
// per-cell colours and hints; each column has a name, as the grid code of the record refers to it.
#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>

#include "inventory/inventory.h"

namespace tarmel::ui {

struct GridColumn {
    QString name;
    inventory::Column type = inventory::Column::Text;
    int maxLength = 0;   // text, combo and memo editors
    QStringList items;   // combo editor choices
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

    // Cells are created on first write; reading a cell that was never written gives empty.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    void setCellColours(int row, int column, const QColor& background, const QColor& text = {});
    void setCellHint(int row, int column, const QString& hint);
    void setCellImage(int row, int column, const QPixmap& image);

signals:
    // A button cell was pressed.
    void buttonClicked(int row, int column);

private:
    QTableWidgetItem* cell(int row, int column);
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
private:
    Grid* grid_;
};

}  // namespace tarmel::ui
