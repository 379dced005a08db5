// Cell formatting for answers.
#include "dataserver/cellformat.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "dataserver/datetext.h"
#include "dataserver/textutil.h"

namespace tarmel::dataserver {

namespace {

enum class Declared { Other, Date, Money, Boolean };

Declared DeclaredKind(const char* decl) {
    if (decl == nullptr) return Declared::Other;
    std::string_view d(decl);
    if (EqualsNoCase(d, "DATE")) return Declared::Date;
    if (EqualsNoCase(d, "MONEY")) return Declared::Money;
    if (EqualsNoCase(d, "BOOLEAN")) return Declared::Boolean;
    return Declared::Other;
}

void AppendFixed2(double value, std::string& out) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    out.append(buf, res.ptr);
}

}  // namespace

bool LooksLikeIsoDate(std::string_view text) {
    if (text.size() != 10 && text.size() != 19) return false;
    std::string ignored;
    return DisplayFromIso(text, ignored);
}

std::string FormatMoney(double value) {
    std::string out;
    AppendFixed2(value, out);
    return out;
}

std::string FormatReal(double value) {
    if (!std::isfinite(value)) return std::string();
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

void AppendCell(sqlite3_stmt* stmt, int col, std::string& out) {
    const int type = sqlite3_column_type(stmt, col);
    if (type == SQLITE_NULL) return;
    const Declared declared = DeclaredKind(sqlite3_column_decltype(stmt, col));
    if (declared == Declared::Boolean && type != SQLITE_TEXT) {
        out += sqlite3_column_int64(stmt, col) != 0 ? "True" : "False";
        return;
    }
    if (declared == Declared::Money && (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
        AppendFixed2(sqlite3_column_double(stmt, col), out);
        return;
    }
    switch (type) {
        case SQLITE_INTEGER: {
            char buf[32];
            auto res = std::to_chars(buf, buf + sizeof buf, sqlite3_column_int64(stmt, col));
            out.append(buf, res.ptr);
            return;
        }
        case SQLITE_FLOAT:
            out += FormatReal(sqlite3_column_double(stmt, col));
            return;
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            std::string_view text(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, col)));
            // Dates are stored ISO; an expression over a date column (max(DateOrdre)) has no
            // declared type, so a value of exactly that shape is treated as a date as well.
            if ((declared == Declared::Date ||
                 (declared == Declared::Other && sqlite3_column_decltype(stmt, col) == nullptr &&
                  LooksLikeIsoDate(text)))) {
                std::string display;
                if (DisplayFromIso(text, display)) {
                    out += display;
                    return;
                }
            }
            out.append(text);
        }
    }
}

}  // namespace tarmel::dataserver
