// Cell formatting of PostgreSQL results.
#include "dataserver/postgres/pgcells.h"

#include <cstdlib>

#include "dataserver/cellformat.h"
#include "dataserver/datetext.h"

namespace tarmel::dataserver {

namespace {

// Built-in type oids (pg_type.dat): they never change.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

uint64_t Key(Oid table, int column) {
    return (static_cast<uint64_t>(table) << 16) | static_cast<uint16_t>(column);
}

bool ParseDouble(std::string_view text, double& value) {
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return end != copy.c_str() && *end == '\0';
}

}  // namespace

void PgColumnKinds::Add(Oid table, int column, PgCellKind kind) {
    kinds_[Key(table, column)] = kind;
}

PgCellKind PgColumnKinds::Of(const PGresult* r, int col) const {
    const Oid table = PQftable(r, col);
    if (table != InvalidOid) {
        auto it = kinds_.find(Key(table, PQftablecol(r, col)));
        if (it != kinds_.end()) return it->second;
    }
    switch (PQftype(r, col)) {
        case kBool:
            return PgCellKind::Boolean;
        case kInt8:
        case kInt2:
        case kInt4:
        case kOid:
            return PgCellKind::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return PgCellKind::Real;
        default:
            return PgCellKind::Text;
    }
}

void AppendPgCell(PgCellKind kind, bool expression, std::string_view text, std::string& out) {
    double value = 0;
    std::string display;
    switch (kind) {
        case PgCellKind::Boolean:
            out += text == "t" ? "True" : text == "f" ? "False" : std::string(text);
            return;
        case PgCellKind::Money:
            out += ParseDouble(text, value) ? FormatMoney(value) : std::string(text);
            return;
        case PgCellKind::Real:
            out += ParseDouble(text, value) ? FormatReal(value) : std::string(text);
            return;
        case PgCellKind::Date:
            out += DisplayFromIso(text, display) ? display : std::string(text);
            return;
        case PgCellKind::Text:
            if (expression && LooksLikeIsoDate(text) && DisplayFromIso(text, display)) {
                out += display;
                return;
            }
            out.append(text);
            return;
        case PgCellKind::Integer:
            out.append(text);
            return;
    }
}

}  // namespace tarmel::dataserver
