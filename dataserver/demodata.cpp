// Building the demo dealership: schema, group, catalogue, structure description and records in
// one transaction, then the identifier counter moved past every identifier the demo took.
#include "dataserver/demodata.h"

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"
#include "dataserver/demo/structure.h"
#include "dataserver/schema.h"
#include "dataserver/sqlite/sqlitesession.h"

namespace tarmel::dataserver {

namespace {

bool Exec(sqlite3* db, const std::string& sql, std::string& error) {
    return SqliteSession(db).Exec(sql, error);
}

// The schema split in two: the tables, then the indexes, which are cheaper to build once over
// the filled tables (a sort) than to maintain row by row in random key order.
void SplitSchema(std::string& tables, std::string& indexes) {
    const std::string_view schema = SchemaSql();
    size_t start = 0;
    while (start < schema.size()) {
        size_t end = schema.find(';', start);
        end = end == std::string_view::npos ? schema.size() : end + 1;
        std::string_view statement = schema.substr(start, end - start);
        size_t first = statement.find_first_not_of(" \r\n\t");
        // Skip comment lines in front of the statement to see what it is.
        while (first != std::string_view::npos && statement.substr(first, 2) == "--") {
            const size_t eol = statement.find('\n', first);
            first =
                eol == std::string_view::npos ? eol : statement.find_first_not_of(" \r\n\t", eol);
        }
        const bool isIndex =
            first != std::string_view::npos && statement.substr(first, 12) == "CREATE INDEX";
        (isIndex ? indexes : tables) += statement;
        start = end;
    }
}

// Vehicles that get real photos: all of a small demo, the first ones of a large database.
constexpr int kPhotoVehicles = 80;

}  // namespace

bool FillDemo(SqlSession& db, const DemoOptions& options, const std::string& photoDir,
              std::string& error) {
    using namespace demo;
    if (!SeedGroup(db, error) || !SeedCatalogue(db, error)) return false;
    std::vector<StructEntry> structure;
    try {
        structure = DemoStructure();
    } catch (const std::exception& e) {  // a data control of the window without a description
        error = e.what();
        return false;
    }
    if (!InsertStructure(db, "*", structure, error)) return false;
    Random rng(options.seed);
    IdCounter ids;
    ids.next = 1001;  // below lies nothing: the counter's own start
    if (!SeedVehicles(db, rng, options.vehicles, ids, kPhotoVehicles, photoDir, error)) {
        return false;
    }
    if (!SeedClients(db, rng, options.clients, ids, error)) return false;
    return db.Exec(
        "UPDATE tCounters SET Value = " + std::to_string(ids.next) + " WHERE Name = 'NewID'",
        error);
}

bool BuildDemoDatabase(const std::string& path, const std::string& photoDir,
                       const DemoOptions& options, std::string& error) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return true;
    // Build under a temporary name: a crash or an error never leaves a half-filled database
    // that the server would then accept.
    const std::string building = path + ".building";
    std::filesystem::remove(building, ec);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(building.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        error = "cannot create " + building + ": " + sqlite3_errmsg(db);
        sqlite3_close(db);
        return false;
    }
    SqliteSession session(db);
    std::string tables, indexes;
    SplitSchema(tables, indexes);
    // The file is private until renamed, so the build runs without a journal, in one
    // transaction, with a page cache large enough for the largest index.
    bool ok = Exec(db,
                   "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                   "PRAGMA cache_size=-131072; PRAGMA temp_store=MEMORY",
                   error) &&
              Exec(db, "BEGIN", error) && Exec(db, tables, error) &&
              Exec(db,
                   "PRAGMA application_id=" + std::to_string(kApplicationId) +
                       "; PRAGMA user_version=" + std::to_string(kSchemaVersion),
                   error) &&
              FillDemo(session, options, photoDir, error) && Exec(db, indexes, error) &&
              Exec(db, "COMMIT", error) && Exec(db, "PRAGMA journal_mode=WAL", error);
    if (!ok) {
        error = "demo database: " + error;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    if (ok) ok = Exec(db, "ANALYZE", error);
    sqlite3_close(db);
    if (ok) {
        std::filesystem::rename(building, path, ec);
        if (ec) {
            error = "cannot rename " + building + ": " + ec.message();
            ok = false;
        }
    }
    if (!ok) {
        std::filesystem::remove(building, ec);
        std::filesystem::remove(building + "-wal", ec);
        std::filesystem::remove(building + "-shm", ec);
    }
    return ok;
}

}  // namespace tarmel::dataserver
