// The dealership database, whatever engine holds it: the client's statements, guarded and bounded
// in time and size, and the server's own reads and writes. SQLite (a file) is the embedded
// default; PostgreSQL serves groups that run several data servers over one database.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

enum class Outcome { Ok, Refused, TimedOut };

struct QueryResult {
    Outcome outcome = Outcome::Ok;
    std::string error;                           // Latin-1 LogItem text when not Ok
    std::vector<std::string> columns;            // names as the engine reports them
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
    // A SQLite file, or a PostgreSQL connection ("postgresql://..." or "postgres://...", or a
    // libpq "key=value" string such as "host=/run/postgresql dbname=tarmel").
    std::string path;
    bool create = false;  // create an empty database with the schema when there is none
    int readers = 4;      // connections for reads (and, on PostgreSQL, as many for writes)
    std::chrono::milliseconds budget{1000};  // deadline of one client statement
};

// Whether a --db value names a PostgreSQL database rather than a SQLite file.
bool IsPostgresConnection(std::string_view path);

// The server refuses, rather than answers, rows beyond this many bytes: the answer is built in
// memory and sent whole.
constexpr size_t kMaxAnswerBytes = 16 * 1024 * 1024;
// The LogItem of a statement stopped by its deadline (UTF-8, for Msg).
extern const char* const kTimeoutText;

class Database {
public:
    // Opens the database the options name; nullptr with a message when it is absent, unreadable,
    // or holds a schema the server does not know.
    static std::unique_ptr<Database> Open(const DatabaseOptions& options, std::string& error);
    virtual ~Database() = default;

    // One SELECT on a read-only connection; at most maxRows rows are returned. The SQL is the
    // client's, through TranslateDialect.
    virtual QueryResult Query(std::string_view sql, int64_t maxRows) = 0;
    // One INSERT, UPDATE or DELETE of a writable table in its own transaction; ":NewID" and
    // ":NewIDbis" are bound to fresh identifiers taken inside that transaction, each above every
    // identifier a row of a writable table holds.
    // beforeCommit, when given, runs once the statement has succeeded and before it is committed;
    // returning false (with a Latin-1 error) rolls the statement back.
    virtual ExecuteResult Execute(
        std::string_view sql, const std::function<bool(std::string& error)>& beforeCommit = {}) = 0;

    // Runs the server's own reads (record documents, lists) on a pooled connection with no guard.
    virtual void Read(const std::function<void(SqlSession&)>& work) = 0;
    // Runs the server's own writes (SMS log) inside one transaction; returns false (rolled back)
    // when work returns false.
    virtual bool Write(const std::function<bool(SqlSession&)>& work) = 0;

    const std::string& path() const { return path_; }

protected:
    explicit Database(std::string path) : path_(std::move(path)) {}

private:
    std::string path_;
};

}  // namespace tarmel::dataserver
