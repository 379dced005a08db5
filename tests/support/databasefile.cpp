#include "tests/support/databasefile.h"

#include <sqlite3.h>

namespace tarmel::testsupport {

std::string FirstValue(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        out = v ? v : "";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

}  // namespace tarmel::testsupport
