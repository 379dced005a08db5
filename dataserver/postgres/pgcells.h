// How a PostgreSQL result cell is written in an answer, the same way as a SQLite one: a column of
// the schema by its domain (dates dd/mm/yyyy, amounts with two decimals), flags True/False,
// numbers with ".", an expression that yields an ISO date shown as a date.
#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tarmel::dataserver {

enum class PgCellKind { Text, Integer, Real, Money, Date, Boolean };

// The schema's columns that need more than their type to be written: dates and amounts, by
// (table oid, column number).
class PgColumnKinds {
public:
    void Add(Oid table, int column, PgCellKind kind);
    // The kind of result column col: the schema column it reads, else its type.
    PgCellKind Of(const PGresult* r, int col) const;

private:
    std::unordered_map<uint64_t, PgCellKind> kinds_;
};

// Appends the answer text of a non-NULL cell. expression: the column reads no table column.
void AppendPgCell(PgCellKind kind, bool expression, std::string_view text, std::string& out);

}  // namespace tarmel::dataserver
