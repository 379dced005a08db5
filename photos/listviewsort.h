// The order of a report-style list by one of its columns: the column types, the comparison of two
// rows' texts by type, and the sorted column and direction a header click leaves. No widget here;
// the window hands the list's texts in and sorts its items with the answer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarmel::photos {

enum class ColumnSortType { Text = 0, Integer = 1, Decimal = 2, Date = 3, Time = 4, DateTime = 5 };

// Negative, 0 or positive as a comes before, with or after b in ascending order. Text compares
// byte by byte, case counting; the other types compare by value, and as text when either side
// is not a value of the type (dates "dd/mm/yyyy" or "dd/mm/yy", times "hh:mm[:ss]").
int CompareSortTexts(std::string_view a, std::string_view b, ColumnSortType type);

// The texts of one row: the caption (column 0), then the sub-items (columns 1, 2, ...).
using ListRow = std::vector<std::string>;

struct ListViewSort {
    std::vector<ColumnSortType> types;  // from the left; a column beyond them sorts as text
    int sortedColumn = -1;              // none yet
    bool descending = false;

    ColumnSortType typeOf(int column) const;
    // A click on the header of column c: the sorted column's direction turns round, another
    // column becomes the sorted one, ascending.
    void columnClicked(int column);
    // Whether row a comes before row b in the current order (false when no column is sorted).
    bool before(const ListRow& a, const ListRow& b) const;
};

}  // namespace tarmel::photos
