// The dealership database on PostgreSQL: pools of connections to one database that any number of
// data servers share. Client queries run in read-only transactions under the query role, client
// statements under the update role, each with its statement_timeout; identifiers come from one
// sequence. The server process keeps nothing another process would need.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dataserver/database.h"
#include "dataserver/postgres/pgconnection.h"
#include "dataserver/postgres/pgschema.h"
#include "dataserver/postgres/pgsession.h"

namespace tarmel::dataserver {

class PostgresDatabase : public Database {
public:
    // Connects the pools and checks the schema mark (with options.create, creates an empty
    // schema where there is none); nullptr with a message otherwise.
    static std::unique_ptr<Database> Open(const DatabaseOptions& options, std::string& error);
    ~PostgresDatabase() override = default;

    QueryResult Query(std::string_view sql, int64_t maxRows) override;
    ExecuteResult Execute(std::string_view sql,
                          const std::function<bool(std::string& error)>& beforeCommit) override;
    void Read(const std::function<void(SqlSession&)>& work) override;
    bool Write(const std::function<bool(SqlSession&)>& work) override;

private:
    // A pooled connection and the statements it keeps prepared.
    struct Pooled {
        PgConn conn;
        PgPreparedStatements prepared;
    };
    // Connections lent one request at a time; a connection found broken is reset when lent.
    class Pool {
    public:
        void Add(PgConn c);
        Pooled* Acquire();
        void Release(Pooled* c);

    private:
        std::vector<std::unique_ptr<Pooled>> all_;
        std::vector<Pooled*> free_;
        std::mutex mutex_;
        std::condition_variable freed_;
    };
    class Lease;

    explicit PostgresDatabase(std::string path) : Database(std::move(path)) {}
    // The statement_timeout (ms) left of a budget started at start.
    int64_t RemainingMs(std::chrono::steady_clock::time_point start) const;

    std::chrono::milliseconds budget_{1000};
    Pool readers_;
    Pool writers_;
    PgCatalog catalog_;
    std::string queryRole_;
    std::string updateRole_;
    std::vector<PgIdentifierColumn> identifiers_;
};

}  // namespace tarmel::dataserver
