// Parsing and formatting of "dd/mm/yyyy" dates.
#include "server/dates.h"

#include <cstdio>

namespace tarmel {

namespace {

// Reads 1..maxDigits decimal digits at text[pos]; advances pos.
std::optional<int> readNumber(std::string_view text, size_t& pos, size_t maxDigits, size_t& digits) {
    int value = 0;
    digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = (month == 2 && leap) ? 29 : kDays[month - 1];
    return day <= last;
}

std::optional<Date> ParseShortDate(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    size_t pos = 0, digits = 0;
    const auto day = readNumber(text, pos, 2, digits);
    if (!day || pos >= text.size() || text[pos++] != '/') return std::nullopt;
    const auto month = readNumber(text, pos, 2, digits);
    if (!month || pos >= text.size() || text[pos++] != '/') return std::nullopt;
    auto year = readNumber(text, pos, 4, digits);
    if (!year || pos != text.size() || (digits != 2 && digits != 4)) return std::nullopt;
    if (digits == 2) *year += (*year < 50) ? 2000 : 1900;
    if (!IsValidDate(*year, *month, *day)) return std::nullopt;
    return Date{*year, *month, *day};
}

std::string FormatDate(const Date& date, DateOrder order) {
    char buffer[16];
    const int first = order == DateOrder::DayFirst ? date.day : date.month;
    const int second = order == DateOrder::DayFirst ? date.month : date.day;
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", first, second, date.year);
    return buffer;
}

bool IsZeroDate(const Date& date) { return date == Date{1899, 12, 30}; }

long DayNumber(const Date& date) {
    const long y = date.month <= 2 ? date.year - 1 : date.year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace tarmel
