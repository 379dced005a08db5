// The server's own statements on a PostgreSQL connection: their SQLite text rewritten with the
// schema's spelling and $n parameters, their cells written as on SQLite.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dataserver/pgdialect.h"
#include "dataserver/postgres/pgcells.h"
#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

// What the server knows of the schema it opened: the spelling of its names, the columns whose
// domain decides how they are written.
struct PgCatalog {
    NameSpelling names;
    PgColumnKinds kinds;
};

// The statements a pooled connection keeps prepared, by their text: a document runs the same few
// statements on every request, planned once per connection. Emptied when the connection is reset.
using PgPreparedStatements = std::unordered_map<std::string, std::string>;  // text -> name

// Reads the tables and columns of the connection's current schema.
bool LoadPgCatalog(PGconn* c, PgCatalog& catalog, std::string& error);

class PgSession : public SqlSession {
public:
    // c and catalog stay owned by the caller and outlive the session and its statements.
    // prepared, when given, is the connection's own and keeps the statements prepared.
    PgSession(PGconn* c, const PgCatalog& catalog, PgPreparedStatements* prepared = nullptr)
        : c_(c), catalog_(catalog), prepared_(prepared) {}
    std::unique_ptr<SqlStatement> Prepare(std::string_view sql) override;
    bool Exec(std::string_view sql, std::string& error) override;

private:
    PGconn* c_;
    const PgCatalog& catalog_;
    PgPreparedStatements* prepared_;
};

}  // namespace tarmel::dataserver
