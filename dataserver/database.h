// The dealership database: one guarded write connection and a pool of read-only connections over
// one SQLite file in WAL mode. Client SQL (already translated) runs only through Query/Execute.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/guard.h"

namespace tarmel::dataserver {

enum class Outcome { Ok, Refused, TimedOut };

struct QueryResult {
    Outcome outcome = Outcome::Ok;
    std::string error;                           // Latin-1 LogItem text when not Ok
    std::vector<std::string> columns;            // names as SQLite reports them (alias or column)
    std::vector<std::vector<std::string>> rows;  // formatted cells, empty for NULL
    bool more = false;                           // rows beyond maxRows exist
};

struct ExecuteResult {
    Outcome outcome = Outcome::Ok;
    std::string error;
    // The value bound to :NewID; without one, the identifier of the row an INSERT added.
    std::optional<int64_t> newId;
    int changes = 0;
};

struct DatabaseOptions {
    std::string path;
    bool create = false;  // create an empty database with the schema when the file is absent
    int readers = 4;
    std::chrono::milliseconds budget{1000};  // deadline of one client statement
};

class Database {
public:
    // Opens (or creates) the database; nullptr with a message when the file is absent, unreadable,
    // or holds a schema the server does not know.
    static std::unique_ptr<Database> Open(const DatabaseOptions& options, std::string& error);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // One SELECT on a read-only connection; at most maxRows rows are returned.
    QueryResult Query(std::string_view sql, int64_t maxRows);
    // One INSERT, UPDATE or DELETE of a writable table in its own transaction; ":NewID" and
    // ":NewIDbis" are bound to fresh identifiers taken from the counter inside that transaction,
    // each above every identifier a row of a writable table holds.
    // beforeCommit, when given, runs once the statement has succeeded and before it is committed;
    // returning false (with a Latin-1 error) rolls the statement back.
    ExecuteResult Execute(std::string_view sql,
                          const std::function<bool(std::string& error)>& beforeCommit = {});

    // Runs the server's own reads (record documents, lists) on a pooled read-only connection with
    // the guard off. The callback must finalize every statement it prepares.
    void Read(const std::function<void(sqlite3*)>& work);
    // Runs the server's own writes (demo data, SMS log) on the write connection inside one
    // transaction; returns false (rolled back) when work returns false.
    bool Write(const std::function<bool(sqlite3*)>& work);

    const std::string& path() const { return path_; }

private:
    struct Connection {
        sqlite3* db = nullptr;
        std::unique_ptr<StatementGuard> guard;
    };
    class ReaderLease;

    Database() = default;
    Connection* AcquireReader();
    void ReleaseReader(Connection* c);
    bool AllocateId(int64_t& id);

    std::string path_;
    std::chrono::milliseconds budget_{1000};
    Connection writer_;
    sqlite3_stmt* nextId_ = nullptr;
    std::vector<std::string> rowidTables_;  // writable tables with an INTEGER PRIMARY KEY
    std::mutex writeMutex_;
    std::vector<std::unique_ptr<Connection>> readers_;
    std::vector<Connection*> freeReaders_;
    std::mutex readersMutex_;
    std::condition_variable readerFreed_;
};

}  // namespace tarmel::dataserver
