// Field rules without widgets.
#include "formdesc/fieldrules.h"

#include <algorithm>
#include <cstdio>

#include "formdesc/fieldentry.h"
#include "formdesc/fieldkinds.h"
#include "formdesc/valuelists.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ') out.push_back(c);
    }
    return out;
}

}  // namespace

std::string TwoDecimals(std::string_view text) {
    // Amounts are typed as decimal texts: the digits themselves are rounded, never a binary
    // floating-point value (which would show 2.675 as 2.67).
    static const std::string kZero = "0.00";
    constexpr size_t kLongest = 64;  // a longer result is no amount

    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    auto isDigit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };

    // Mantissa: digits, an optional "." and digits, at least one digit in all ("5.", ".5").
    std::string digits;
    long long point = 0;  // digits before the decimal point
    for (; isDigit(at); ++at, ++point) digits += text[at];
    if (at < text.size() && text[at] == '.') {
        for (++at; isDigit(at); ++at) digits += text[at];
    }
    if (digits.empty()) return kZero;

    // Exponent: "e" or "E", an optional sign, digits.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            negativeExponent = text[at++] == '-';
        if (!isDigit(at)) return kZero;
        // Past the text's own length plus the longest result, a bigger exponent changes nothing.
        const auto farAway = static_cast<long long>(text.size() + kLongest);
        long long exponent = 0;
        for (; isDigit(at); ++at) exponent = std::min(exponent * 10 + (text[at] - '0'), farAway);
        point += negativeExponent ? -exponent : exponent;
    }
    if (at != text.size()) return kZero;  // "nan", "inf", blanks, ",", a second "." ...

    const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    point -= static_cast<long long>(first);
    digits.erase(0, first);
    if (point > static_cast<long long>(kLongest)) return kZero;

    // The digit at a position counted from the first significant digit; zeros outside them.
    auto digitAt = [&](long long i) {
        return i >= 0 && i < static_cast<long long>(digits.size()) ? digits[static_cast<size_t>(i)]
                                                                   : '0';
    };
    std::string fixed;  // integer digits then two decimals, without the point
    for (long long i = 0; i < point; ++i) fixed += digitAt(i);
    if (point <= 0) fixed = "0";
    fixed += digitAt(point);
    fixed += digitAt(point + 1);
    if (digitAt(point + 2) >= '5') {  // halves away from zero: the sign is written apart
        size_t i = fixed.size();
        while (i > 0 && fixed[i - 1] == '9') fixed[--i] = '0';
        if (i == 0) {
            fixed.insert(fixed.begin(), '1');
        } else {
            ++fixed[i - 1];
        }
    }
    if (fixed.find_first_not_of('0') == std::string::npos) return kZero;  // no "-0.00"

    std::string out = negative ? "-" : "";
    out.append(fixed, 0, fixed.size() - 2);
    out += '.';
    out.append(fixed, fixed.size() - 2, 2);
    return out.size() > kLongest ? kZero : out;
}

std::string FieldValueFromRecord(std::string_view raw, int controlKind, int dataType,
                                 const Date& today) {
    std::string value(raw);
    if (controlKind == kind::Text && dataType == datatype::Text) value = DecodeTextEntities(value);
    if (dataType == datatype::Date && value == "now") value = FormatDate(today);
    if (dataType == datatype::Integer || dataType == datatype::Decimal) value = WithoutBlanks(value);
    if (dataType == datatype::Decimal) value = TwoDecimals(value);
    return value;
}

int LabelLeft(int controlKind, int left) {
    if (controlKind == kind::ListBox || controlKind == kind::Placed) return left;
    if (left <= 93) return 5;
    if (left <= 400) return left - 48;
    return left - 22;
}

bool MandatoryMarked(bool mandatory, std::string_view value) {
    return mandatory && (value.empty() || value == "0.00" || value == "0");
}

bool FieldVisible(int enabledCode, bool rights) {
    return enabledCode != 3 && !(enabledCode == 2 && !rights);
}

std::string EditValue(std::string_view text, int dataType) {
    if (dataType == datatype::Date && text == "__/__/____") return {};
    return std::string(text);
}

ComboCheckResult CheckCombo(const ComboState& combo, const TXml& equip) {
    if (combo.limitToList && !combo.text.empty()) {
        bool listed = false;
        for (const auto& item : combo.items) listed = listed || item == combo.text;
        if (!listed) return {ComboVerdict::Refused, {}};
    }
    if (combo.items.empty()) return {ComboVerdict::NoItems, {}};
    std::string value;
    if (!combo.indexed) {
        value = combo.text;
    } else if (UpperAscii(combo.listName) == "IDCOM") {
        value = GetInfoComboBoxIdCom(equip, "InfoCom", combo.text);
    } else {
        // Positions count from 1, or from 0 after an empty first item (which then gives 0).
        const int base = combo.emptyFirst ? 0 : 1;
        value = std::to_string(combo.selectedIndex < 0 ? base - 1 : combo.selectedIndex + base);
    }
    if (combo.dataType == datatype::Boolean) value = value == "1" ? "False" : "True";
    const size_t code = value.find(" : ");
    if (code != std::string::npos) value.resize(code);
    return {ComboVerdict::Accepted, value};
}

ListBoxValue ListBoxSelection(std::string_view codes, const std::vector<std::string>& items,
                              const std::vector<bool>& selected) {
    ListBoxValue out;
    for (size_t i = 0; i < items.size() && i < selected.size(); ++i) {
        if (!selected[i]) continue;
        out.value += ";" + FieldOf(codes, static_cast<int>(i) + 2);
        out.display += (out.display.empty() ? "" : " - ") + items[i];
    }
    if (!out.value.empty()) out.value += ";";
    return out;
}

std::string WeekLabel(std::string_view text) {
    if (text.empty()) return {};
    const Date date = ParseShortDate(text).value_or(Date{1900, 1, 1});
    // Days since 1 January of the year, and the weekday of that 1 January (Sunday 1 .. Saturday 7;
    // day 0 of the count, 1 January 1970, was a Thursday).
    const long firstOfYear = DayNumber(Date{date.year, 1, 1});
    const long weekdayOfFirst = ((firstOfYear % 7 + 7 + 4) % 7) + 1;
    const long n = DayNumber(date) - firstOfYear + weekdayOfFirst - 1;
    char out[32];
    std::snprintf(out, sizeof out, "%ds%02ld", date.year, n / 7);
    return out;
}

}  // namespace tarmel
