// The follow-up actions of a client: the column template from the structure description, the
// lines read from the client document, the texts of the list columns, the start values of a new
// action and the checks of an edited date.
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

// Grid column c (1 to 10) is line cell c-1; column 0 is the line's icon.
inline constexpr int kActionColumns = 10;
enum class ActionIcon { Delete = 0, New = 1, Kept = 2 };

TsLine MakeActionTemplate(const std::vector<GridColumn>& columns);

// Whether grid column c shows a code as a list text: the staff (3, 8) and the value lists.
bool IsStaffColumn(int column);
bool IsListColumn(int column);

// The text a list column shows for its code: a staff name, or item code-1 of the column's list.
// nullopt leaves the cell as it is (a code below 1); an empty or non-numeric code counts as 1.
using StaffNameOf = std::function<std::string(std::string_view idCom)>;
std::optional<std::string> ActionCellText(int column, const std::string& value,
                                          const StaffNameOf& staff,
                                          const std::vector<std::string>& items);

struct ActionRow {
    TsLine line;
    ActionIcon icon = ActionIcon::Delete;
    std::array<bool, kActionColumns> locked{};  // drawn with the locked colour
};
using HoldsRights = std::function<bool(std::string_view tag)>;
inline constexpr size_t kMaxActionLines = 99;

// The "TAct" elements under "TActS" of the client document, at most 99.
std::vector<ActionRow> LoadActionLines(const TXml& client, const TsLine& tmpl, bool rightClarum,
                                       const HoldsRights& holds);

// The current values of a new action: the template's defaults ("now" is today), replaced by the
// remembered "sAct"+column values of columns 2-5 and 7-10 where there are some, and the client's
// own staff member as follow-up.
using Remembered = std::function<std::string(const std::string& key)>;
TsLine NewActionLine(const TsLine& tmpl, const Remembered& remembered,
                     const std::string& clientStaff, const Date& today);

// The box (title, text) refusing an edited date of column 2 or 7; nullopt when accepted.
struct Refusal {
    std::string title, text;
};
std::optional<Refusal> ActionDateRefusal(int column, std::string_view value,
                                         std::string_view previous, std::string_view actionDate,
                                         const Date& lower, const Date& upper, const Date& today);

}  // namespace tarmel
