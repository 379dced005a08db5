// The dealership database on SQLite: one guarded write connection and a pool of read-only
// connections over one file in WAL mode.
#pragma once

#include <sqlite3.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dataserver/database.h"
#include "dataserver/sqlite/guard.h"

namespace tarmel::dataserver {

class SqliteDatabase : public Database {
public:
    // Opens (or, with options.create, creates) the file; nullptr with a message when it is
    // absent, unreadable, or holds a schema the server does not know.
    static std::unique_ptr<Database> Open(const DatabaseOptions& options, std::string& error);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    QueryResult Query(std::string_view sql, int64_t maxRows) override;
    ExecuteResult Execute(std::string_view sql,
                          const std::function<bool(std::string& error)>& beforeCommit) override;
    void Read(const std::function<void(SqlSession&)>& work) override;
    bool Write(const std::function<bool(SqlSession&)>& work) override;

private:
    struct Connection {
        sqlite3* db = nullptr;
        std::unique_ptr<StatementGuard> guard;
    };
    class ReaderLease;

    explicit SqliteDatabase(std::string path) : Database(std::move(path)) {}
    Connection* AcquireReader();
    void ReleaseReader(Connection* c);
    bool AllocateId(int64_t& id);

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
