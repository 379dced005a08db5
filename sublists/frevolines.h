// The refurbishment cost lines of a used vehicle: the column template from the structure
// description, the lines read from the record document with what the user may do on each, the
// totals by type and up to the end of the delivery month, and the date check of a line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formdesc/descriptors.h"
#include "formdesc/fieldentry.h"
#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

// Grid column c (1 to 8) is line cell c-1; column 0 is the line's icon.
inline constexpr int kFrevoCells = 8;
enum class FrevoIcon { Delete = 0, Add = 1, Kept = 2 };

struct FrevoTemplate {
    TsLine line;
    std::string addRightTag;  // the rights a user needs for the add line
    std::vector<int> widths;  // of grid columns 1 to 8; 0 hides a column
    std::vector<std::string> captions;
};
FrevoTemplate MakeFrevoTemplate(const std::vector<GridColumn>& columns);

// Whether the user holds the rights of a tag (";SVO;RVO;"); an empty tag is held by nobody.
using HoldsRights = std::function<bool(std::string_view tag)>;

struct FrevoRow {
    TsLine line;
    FrevoIcon icon = FrevoIcon::Delete;
    std::array<bool, kFrevoCells> readOnly{};  // painted with the read-only background
};

struct FrevoLoad {
    std::vector<FrevoRow> rows;  // at most 99, then the add line when the user may add
    bool addLine = false;
};
inline constexpr size_t kMaxFrevoLines = 99;

// The "Frevo" elements under "FrevoS" of the record document.
FrevoLoad LoadFrevoLines(const TXml& record, const FrevoTemplate& tmpl, bool accountingRight,
                         const HoldsRights& holds, const Date& today);

// The totals' texts, "" for a sum of 0, in the order of kFrevoTotalControls.
struct FrevoTotals {
    std::array<std::string, 10> texts;
};
inline constexpr const char* kFrevoTotalControls[10] = {
    "cFrevo",       "cFrevoFixe",    "cFrevoInterne", "cFrevoExterne", "cFrevoPrevision",
    "cFrevoTotFDM", "cFrevoFixeFDM", "cFrevoIntFDM",  "cFrevoExtFDM",  "cFrevoPrevFDM"};
// Lines from 1 on; a line dated before the first day of the month after the delivery date (today
// when that is not a date) counts in the end-of-month sums.
FrevoTotals ComputeFrevoTotals(const std::vector<TsLine>& lines, std::string_view delivery,
                               const Date& today);

// Whether a data column may be edited on a row: the add line takes only its date.
bool FrevoCellEditable(std::string_view column, bool addLine, bool locked, bool accountingRight);

// The box text refusing a line date out of the limits (year 0: none); nullopt when accepted.
std::optional<std::string> FrevoDateRefusal(std::string_view value, std::string_view stored,
                                            const Date& lower, const Date& upper,
                                            const Date& today);

}  // namespace tarmel
