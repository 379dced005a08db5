#include "tests/support/databasefile.h"

#include <sqlite3.h>

#include <cstdio>

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

bool ExecuteStatements(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "ExecuteStatements: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    // The server may be reading the file at the same moment.
    sqlite3_busy_timeout(db, 5000);
    char* error = nullptr;
    const std::string all = "BEGIN IMMEDIATE;" + sql + ";COMMIT;";
    const bool ok = sqlite3_exec(db, all.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok) {
        std::fprintf(stderr, "ExecuteStatements: %s\n", error ? error : "?");
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

}  // namespace tarmel::testsupport
