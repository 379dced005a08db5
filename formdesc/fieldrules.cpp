// Field rules without widgets.
#include "formdesc/fieldrules.h"

#include <charconv>
#include <cstdio>

#include "formdesc/fieldentry.h"
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
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) number = 0;
    // to_chars ignores the machine's locale: always "." (a French desktop would give ",").
    char out[64];
    const auto written = std::to_chars(out, out + sizeof out, number, std::chars_format::fixed, 2);
    if (written.ec != std::errc()) return "0.00";
    return std::string(out, written.ptr);
}

std::string FieldValueFromRecord(std::string_view raw, int controlKind, int dataType,
                                 const Date& today) {
    std::string value(raw);
    if (controlKind == 109 && dataType == 2) value = DecodeTextEntities(value);
    if (dataType == 1 && value == "now") value = FormatDate(today);
    if (dataType == 4 || dataType == 5) value = WithoutBlanks(value);
    if (dataType == 5) value = TwoDecimals(value);
    return value;
}

int LabelLeft(int controlKind, int left) {
    if (controlKind == 110 || controlKind == 120) return left;
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
    if (dataType == 1 && text == "__/__/____") return {};
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
    if (combo.dataType == 3) value = value == "1" ? "False" : "True";
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
