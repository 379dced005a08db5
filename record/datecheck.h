// Date fields checked when the user leaves them: the test of a date against its limits, the
// message that names the field and the allowed range, and which limits each date control has.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "server/dates.h"

namespace tarmel {

// A limit of year 0 is no limit on that side.
struct DateRange {
    Date lower, upper;
};

// What the window gathers from a date control and its field.
struct DateCheck {
    std::string text;  // the control's text, "dd/mm/yyyy", empty or anything typed
    DateRange range;
    bool described = false;  // the control is bound to a field; the rest is its field's
    std::string storedValue, caption, columnName;
};

struct DateVerdict {
    bool refused = false;  // the focus goes back to the control
    // The box's text; when it is not empty the control's text also goes back to the stored value.
    // A refused text that is no date (an emptied field under a lower limit) shows no box.
    std::string message;
};

// An empty or unreadable text counts as earlier than any lower limit; a text equal to the stored
// value always passes, so a record loaded with an old date can still be left.
DateVerdict CheckDate(const DateCheck& check);

// The field's name in the message: the caption without any ":" (other blanks kept), the column
// name when nothing is left.
std::string DateFieldLabel(std::string_view caption, std::string_view columnName);

// "La valeur du champ "label" " and the allowed range (Latin-1). At least one limit is set.
std::string DateRangeMessage(std::string_view label, const DateRange& range);

// The latest birth date of someone who is 18 years old today.
Date AdultBirthLimit(const Date& today);

// Where a limit of a date control comes from.
enum class DateBound {
    None,
    ServerToday,    // the server's date of the record document
    LimitDeb,       // the record document's start limit (0 when its limits are inconsistent)
    LimitFin,       // its end limit, the server's date (0 likewise)
    OrderElseMEC,   // the client vehicle's order date, else its first registration
    AdultBirth,     // the local date, 18 years earlier
};

struct DateExitRow {
    std::vector<std::string_view> controls;
    DateBound lower, upper;
};

// Every date control checked on exit, with its limits.
std::span<const DateExitRow> DateExitRows();
const DateExitRow* FindDateExitRow(std::string_view control);

// What the limits are made of at the moment of the exit.
struct DateSources {
    Date limitDeb, limitFin, serverToday, today;
    std::string orderText, mecText;  // vDateOrdre and vMEC as shown
};

// The range a row's control is tested with; nullopt when it is not tested at all (an order-based
// limit with neither an order date nor a first registration).
std::optional<DateRange> ExitRange(const DateExitRow& row, const DateSources& sources);

}  // namespace tarmel
