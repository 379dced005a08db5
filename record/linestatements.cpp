#include "record/linestatements.h"

#include "record/statements.h"

namespace tarmel {

namespace {

void AppendListed(std::string& list, const std::string& item) {
    if (!list.empty()) list += ",";
    list += item;
}

}  // namespace

std::string TableInStatement(const std::string& tableTag) {
    return tableTag.find(' ') != std::string::npos ? "[" + tableTag + "]" : tableTag;
}

std::string LineStatement(const TsLine& line, LineMode mode, const LineTarget& target) {
    std::string columns, values, setList, where;
    bool changed = false;
    for (const TsDesc& cell : line.cells) {
        if (cell.columnName.empty()) continue;  // a column the grid does not store
        if (cell.storedValue == cell.currentValue) {
            if (where.empty()) where = "(" + KeyTerm(cell) + ")";
            continue;
        }
        changed = true;
        const ColumnLiteral item = ValueLiteral(cell);
        if (mode == LineMode::Insert) {
            AppendListed(columns, item.column);
            AppendListed(values, item.literal);
        } else {
            AppendListed(setList, item.column + "=" + item.literal);
        }
    }
    switch (mode) {
        case LineMode::Delete:
            if (where.empty()) return {};
            return "Delete * from " + target.table + " where " + where;
        case LineMode::Insert:
            if (!changed) return {};
            return "Insert into " + target.table + " (" + columns + ", " + target.ownerColumn +
                   ", " + target.idColumn + " ) Values (" + values + ", " + target.owner +
                   ", :NewID)";
        case LineMode::Update:
            if (!changed || where.empty()) return {};
            return "Update " + target.table + " set " + setList + " where " + where;
    }
    return {};
}

int MissingActionColumn(const TsLine& line) {
    for (int column = 2; column <= int(line.cells.size()); ++column) {
        if (line.cells[size_t(column - 1)].currentValue.empty()) return column;
    }
    return 0;
}

}  // namespace tarmel
