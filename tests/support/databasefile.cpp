#include "tests/support/databasefile.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>

#include "dataserver/database.h"

namespace tarmel::testsupport {

std::unique_ptr<dataserver::Database> OpenPostgres(const std::string& database) {
    dataserver::DatabaseOptions options;
    options.path = database;
    options.readers = 1;
    std::string error;
    auto db = dataserver::Database::Open(options, error);
    if (!db) std::fprintf(stderr, "cannot open %s: %s\n", database.c_str(), error.c_str());
    return db;
}

std::string FirstValue(const std::string& database, const std::string& sql) {
    if (dataserver::IsPostgresConnection(database)) {
        std::string out;
        if (auto db = OpenPostgres(database)) {
            db->Read([&](dataserver::SqlSession& session) {
                auto st = session.Prepare(sql);
                if (st->Step()) out = st->Text(0);
                if (!st->error().empty())
                    std::fprintf(stderr, "FirstValue: %s\n", st->error().c_str());
            });
        }
        return out;
    }
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
    if (dataserver::IsPostgresConnection(database)) {
        auto db = OpenPostgres(database);
        return db && db->Write([&](dataserver::SqlSession& session) {
            std::string error;
            if (session.Exec(sql, error)) return true;
            std::fprintf(stderr, "ExecuteStatements: %s\n", error.c_str());
            return false;
        });
    }
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
