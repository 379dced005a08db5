// The answer of a search read into the rows of the result grid, the grid's layout for a kind, the
// count label, and which navigation buttons a selected row allows. No widget.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "record/controlplan.h"
#include "server/xml/txml.h"

namespace tarmel {

inline constexpr int kSearchColumns = 7;

// Images of column 1: another dealership, another site of the user's dealership, a user's site.
enum SearchRowImage { kOtherDealership = 2, kOtherSite = 3, kOwnSite = 4 };

struct SearchRow {
    std::string id;  // "VO_ID": the vehicle or the client to open
    int image = kOwnSite;
    std::array<std::string, 5> info;  // columns 2 to 6
};

struct SearchAnswer {
    std::string rowCount, eof;  // the rowset's attributes
    std::vector<SearchRow> rows;
};

// The rows of a rowset ("AXQueryS" with items "AXQuery") for the search kind.
SearchAnswer ReadSearchAnswer(const TXml& answer, int kind, const std::string& userConcession,
                              const std::string& userSite);

// "12 premiers enregistrements" while more rows exist ("EOF" "0"), else "3 enregistrements
// trouvés" (Latin-1).
std::string SearchCountLabel(const SearchAnswer& answer);
// More rows can be asked for, except by a number search.
bool SearchPlusVisible(const SearchAnswer& answer, int kind);

enum class SearchSort { Number, Text, Date };

struct SearchGridLayout {
    std::array<std::string, kSearchColumns> headers;  // Latin-1
    std::array<int, kSearchColumns> widths;           // 0: the grid's default
    std::array<SearchSort, kSearchColumns> sorts;
    int sortedColumn = 4;
    int searchColumn = 4;  // drawn blue
};
SearchGridLayout SearchLayoutFor(int kind);

// The buttons that step through the list with row (0-based, -1: none) selected among count rows.
ControlPlan SearchNavigationPlan(int row, int count);

}  // namespace tarmel
