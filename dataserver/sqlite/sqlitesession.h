// The server's own statements on a SQLite connection.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

class SqliteSession : public SqlSession {
public:
    // db stays owned by the caller and must outlive the session and its statements.
    explicit SqliteSession(sqlite3* db) : db_(db) {}
    std::unique_ptr<SqlStatement> Prepare(std::string_view sql) override;
    bool Exec(std::string_view sql, std::string& error) override;

private:
    sqlite3* db_;
};

}  // namespace tarmel::dataserver
