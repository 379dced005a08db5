// Sorting a list by a column: comparison by type, and the state a header click leaves.
#include "photos/listviewsort.h"

#include <charconv>
#include <cstdlib>
#include <optional>

#include "server/dates.h"

namespace tarmel::photos {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<long long> IntegerOf(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
    return value;
}

std::optional<double> DecimalOf(std::string_view text) {
    const std::string whole(Trimmed(text));
    if (whole.empty()) return {};
    char* end = nullptr;
    const double value = std::strtod(whole.c_str(), &end);
    if (end != whole.c_str() + whole.size()) return {};
    return value;
}

// Seconds into the day of "hh:mm" or "hh:mm:ss".
std::optional<long> TimeOf(std::string_view text) {
    text = Trimmed(text);
    long parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const size_t colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        const auto value = IntegerOf(part);
        if (!value || part.size() > 2) return {};
        parts[count++] = long(*value);
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return {};
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

// Seconds from 1970 of a date, a time, or a date and a time separated by a blank.
std::optional<double> MomentOf(std::string_view text, ColumnSortType type) {
    text = Trimmed(text);
    if (type == ColumnSortType::Time) {
        const auto time = TimeOf(text);
        return time ? std::optional<double>(double(*time)) : std::nullopt;
    }
    const size_t blank = text.find(' ');
    const std::optional<Date> date = ParseShortDate(text.substr(0, blank));
    if (!date) return {};
    double seconds = double(DayNumber(*date)) * 86400.0;
    if (blank != std::string_view::npos) {
        if (type == ColumnSortType::Date) return {};
        const auto time = TimeOf(text.substr(blank + 1));
        if (!time) return {};
        seconds += double(*time);
    }
    return seconds;
}

int Sign(double difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int CompareText(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int CompareSortTexts(std::string_view a, std::string_view b, ColumnSortType type) {
    switch (type) {
        case ColumnSortType::Integer: {
            const auto x = IntegerOf(a), y = IntegerOf(b);
            if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
            break;
        }
        case ColumnSortType::Decimal: {
            const auto x = DecimalOf(a), y = DecimalOf(b);
            if (x && y) return Sign(*x - *y);
            break;
        }
        case ColumnSortType::Date:
        case ColumnSortType::Time:
        case ColumnSortType::DateTime: {
            const auto x = MomentOf(a, type), y = MomentOf(b, type);
            if (x && y) return Sign(*x - *y);
            break;
        }
        case ColumnSortType::Text:
            break;
    }
    return CompareText(a, b);
}

ColumnSortType ListViewSort::typeOf(int column) const {
    if (column < 0 || size_t(column) >= types.size()) return ColumnSortType::Text;
    return types[size_t(column)];
}

void ListViewSort::columnClicked(int column) {
    descending = column == sortedColumn && !descending;
    sortedColumn = column;
}

bool ListViewSort::before(const ListRow& a, const ListRow& b) const {
    if (sortedColumn < 0) return false;
    const size_t c = size_t(sortedColumn);
    const std::string_view x = c < a.size() ? std::string_view(a[c]) : std::string_view();
    const std::string_view y = c < b.size() ? std::string_view(b[c]) : std::string_view();
    const int order = CompareSortTexts(x, y, typeOf(sortedColumn));
    return descending ? order > 0 : order < 0;
}

}  // namespace tarmel::photos
