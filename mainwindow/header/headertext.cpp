// Header texts and window captions.
#include "mainwindow/header/headertext.h"

#include <algorithm>
#include <cstdlib>

#include "server/xml/texttools.h"

namespace tarmel::header {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date control's text holds a date once any digit is typed ("__/__/____" is empty).
bool Filled(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Date DateOr(std::string_view text, const Date& fallback) {
    if (auto d = ParseShortDate(text)) return *d;
    return fallback;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view word, std::size_t from) {
    for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < word.size() && same; ++j)
            same = Lower(text[i + j]) == Lower(word[j]);
        if (same) return i;
    }
    return std::string_view::npos;
}

}  // namespace

const VehicleHeaderControls* VehicleHeaderOf(std::string_view recordKind) {
    for (const VehicleHeaderControls& row : kVehicleHeaders) {
        if (recordKind == row.kind) return &row;
    }
    return nullptr;
}

std::string Family(std::string_view recordKind) {
    return recordKind.size() >= 4 ? std::string(recordKind.substr(2, 2)) : std::string();
}

std::string PhoneGroups(std::string_view text) {
    std::string result;
    std::size_t start = 0;
    std::size_t size = text.size() % 2 == 1 ? 3 : 2;
    // Only groups starting before the last character.
    while (start + 1 < text.size()) {
        const std::string_view group = text.substr(start, size);
        if (!IsDigits(group)) return std::string(text);
        if (!result.empty()) result += '.';
        result += group;
        start += size;
        size = 2;
    }
    return result;
}

int EmailFontPoints(std::size_t length) {
    if (length <= 13) return 12;
    if (length <= 19) return 10;
    if (length <= 25) return 9;
    if (length <= 31) return 8;
    return 7;
}

int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

std::string VehicleCaption(std::string_view family, std::string_view number, std::string_view title) {
    return "Tarmel - " + std::string(family) + " N°" + std::string(number) + " - " + std::string(title);
}

std::string TitleText(std::string_view make, std::string_view version) {
    return UpperAscii(make) + " - " + std::string(version);
}

std::string IdentityText(std::string_view civility, std::string_view surname,
                         std::string_view firstName) {
    std::string identity(civility);
    if (!identity.empty()) identity += ' ';
    identity += UpperAscii(surname);
    if (!identity.empty()) identity += ' ';
    for (std::size_t i = 0; i < firstName.size(); ++i)
        identity += i == 0 ? Upper(firstName[i]) : Lower(firstName[i]);
    return identity;
}

int WholeDaysBetween(const Date& a, const Date& b) {
    return static_cast<int>(std::labs(DayNumber(a) - DayNumber(b)));
}

int UsedVehicleDays(std::string_view orderDate, std::string_view entryDate, const Date& serverToday,
                    const Date& today) {
    if (!Filled(entryDate)) return 0;
    const Date entry = DateOr(entryDate, today);
    if (Filled(orderDate)) return WholeDaysBetween(DateOr(orderDate, today), entry);
    return WholeDaysBetween(entry, serverToday.year == 0 ? today : serverToday);
}

std::string NewVehicleDaysText(std::string_view orderDate, std::string_view invoiceDate,
                               std::string_view registrationDate, const Date& today) {
    const Date start = DateOr(orderDate, today);
    const Date end = Filled(invoiceDate) ? DateOr(invoiceDate, today) : DateOr(registrationDate, start);
    const int days = WholeDaysBetween(start, end);
    return days > 0 ? std::to_string(days) + " jours" : std::string();
}

std::string HintFor(std::string_view hint, bool clientOpen) {
    const std::string_view from = clientOpen ? "véhicule" : "client";
    const std::string_view to = clientOpen ? "client" : "véhicule";
    if (hint.find(from) == std::string_view::npos) return std::string(hint);
    std::string result;
    std::size_t pos = 0;
    for (std::size_t at; (at = FindIgnoringCase(hint, from, pos)) != std::string_view::npos;
         pos = at + from.size()) {
        result += hint.substr(pos, at - pos);
        result += to;
    }
    result += hint.substr(pos);
    return result;
}

}  // namespace tarmel::header
