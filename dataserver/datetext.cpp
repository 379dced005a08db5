// Date text conversions between the client's SQL, the database and the answers.
#include "dataserver/datetext.h"

#include "server/dates.h"

namespace tarmel::dataserver {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads 1..maxDigits digits at text[pos]; advances pos.
bool ReadNumber(std::string_view text, size_t& pos, size_t minDigits, size_t maxDigits,
                int& value) {
    size_t start = pos;
    value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos - start >= minDigits;
}

void Append2(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

}  // namespace

bool IsoFromAccessDate(std::string_view text, std::string& iso) {
    size_t pos = 0;
    int month = 0, day = 0, year = 0;
    if (!ReadNumber(text, pos, 1, 2, month) || pos >= text.size() || text[pos++] != '/')
        return false;
    if (!ReadNumber(text, pos, 1, 2, day) || pos >= text.size() || text[pos++] != '/') return false;
    if (!ReadNumber(text, pos, 4, 4, year)) return false;
    if (!IsValidDate(year, month, day)) return false;
    int hour = -1, minute = 0, second = 0;
    if (pos < text.size()) {
        if (text[pos++] != ' ') return false;
        if (!ReadNumber(text, pos, 1, 2, hour) || pos >= text.size() || text[pos++] != ':')
            return false;
        if (!ReadNumber(text, pos, 2, 2, minute)) return false;
        if (pos < text.size()) {
            if (text[pos++] != ':' || !ReadNumber(text, pos, 2, 2, second)) return false;
        }
        if (pos != text.size() || hour > 23 || minute > 59 || second > 59) return false;
    }
    std::string out;
    Append2(out, year / 100);
    Append2(out, year % 100);
    out += '-';
    Append2(out, month);
    out += '-';
    Append2(out, day);
    if (hour >= 0) {
        out += ' ';
        Append2(out, hour);
        out += ':';
        Append2(out, minute);
        out += ':';
        Append2(out, second);
    }
    iso = std::move(out);
    return true;
}

bool DisplayFromIso(std::string_view iso, std::string& display) {
    if (iso.size() < 10 || iso[4] != '-' || iso[7] != '-') return false;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (!IsDigit(iso[i])) return false;
    }
    if (iso.size() > 10 && iso[10] != ' ' && iso[10] != 'T') return false;
    std::string out;
    out.reserve(iso.size());
    out.append(iso.substr(8, 2));
    out += '/';
    out.append(iso.substr(5, 2));
    out += '/';
    out.append(iso.substr(0, 4));
    if (iso.size() > 10) {
        out += ' ';
        out.append(iso.substr(11));
    }
    display = std::move(out);
    return true;
}

}  // namespace tarmel::dataserver
