// The dealership schema on PostgreSQL, written from the same table definitions as on SQLite:
// mixed-case names kept (quoted), case-insensitive text as citext, dates as ISO texts and
// amounts as doubles under domains of their own (the answer writer knows a column by them), and
// one sequence handing out every identifier.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarmel::dataserver {

// Domains and sequence names the schema and the server share.
inline constexpr std::string_view kPgDateDomain = "tarmel_date";
inline constexpr std::string_view kPgMoneyDomain = "tarmel_money";
inline constexpr std::string_view kPgIdSequence = "tarmel_newid";
// One row: the application mark, the schema version and the two roles client statements run
// under (the copies of a database keep the roles of the database they were copied from).
inline constexpr std::string_view kPgMarkTable = "tarmel_schema";

struct PgIdentifierColumn {
    std::string table;
    std::string column;
    bool primary = false;  // the table's INTEGER PRIMARY KEY, filled from the sequence by default
};

struct PgSchema {
    std::string types;    // extension, domains, sequence
    std::string tables;   // CREATE TABLE and the seed rows
    std::string indexes;  // CREATE INDEX, cheaper once the tables are filled
    // Integer primary keys and integer columns with a unique constraint, of every table.
    std::vector<PgIdentifierColumn> identifiers;
};

// Rewrites the SQLite DDL script (CREATE TABLE, CREATE INDEX, INSERT, "--" comments).
PgSchema PgSchemaFrom(std::string_view sqliteDdl);

// "name" with inner quotes doubled.
std::string PgQuoted(std::string_view name);

// The roles of client statements and their grants: reads of the readable tables for both, and
// INSERT/UPDATE/DELETE of the writable tables (and the sequences their defaults use) for the
// update role; both granted to the connecting user, who switches to them per transaction.
std::string PgRolesSql(std::string_view queryRole, std::string_view updateRole);

}  // namespace tarmel::dataserver
