// The dealership database's schema: its tables, which of them the client may read and write,
// and the marks by which the server recognises a database it knows.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace tarmel::dataserver {

// Stored in the file's header (PRAGMA application_id / user_version); a database with other
// values is refused, so the server never runs the client's SQL over a schema it does not know.
constexpr int kApplicationId = 0x54524D4C;  // "TRML"
constexpr int kSchemaVersion = 2;

// The DDL creating every table and index (one script, for sqlite3_exec).
std::string_view SchemaSql();

// The script that brings a database of schema version `from` (and of this application) to
// version from + 1; the caller runs it inside one transaction and sets the new version there.
// Empty when the server cannot upgrade that version.
std::string_view UpgradeSql(int from);

// Tables the client's statements may write ("AxUpdate", "AxInsert"), as the authorizer names them.
std::span<const std::string_view> WritableTables();
bool IsWritableTable(std::string_view table);
// Tables the client's statements may read: the writable ones and the reference tables (users,
// staff, sites, options, reservations, structure). Internal tables (identifier counter, SMS log)
// are in neither list.
bool IsReadableTable(std::string_view table);
// Every readable table: the writable ones, then the reference tables.
std::vector<std::string_view> ReadableTables();

}  // namespace tarmel::dataserver
