// Calendar dates in the program's one short format, "dd/mm/yyyy", whatever the machine's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarmel {

struct Date {
    int year = 0, month = 0, day = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

enum class DateOrder { DayFirst, MonthFirst };

// Reads "d/m/y" with one or two digits for day and month and two or four for the year (a
// two-digit year below 50 is 20yy, otherwise 19yy), blanks around allowed. nullopt when the
// text is not a real calendar date ("31/02/2010", "__/__/____", "").
std::optional<Date> ParseShortDate(std::string_view text);

// "dd/mm/yyyy" (DayFirst) or "mm/dd/yyyy" (MonthFirst), zero-padded.
std::string FormatDate(const Date& date, DateOrder order = DateOrder::DayFirst);

// The platform's zero date, 30/12/1899, which stands for "no date".
bool IsZeroDate(const Date& date);

// True for a real calendar date (Gregorian, years 1 to 9999).
bool IsValidDate(int year, int month, int day);

// Days from 1 January 1970 (a Thursday) in the proleptic Gregorian calendar; negative before.
long DayNumber(const Date& date);

}  // namespace tarmel
