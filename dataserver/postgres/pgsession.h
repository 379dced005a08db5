// The server's own statements on a PostgreSQL connection: their SQLite text rewritten with the
// schema's spelling and $n parameters, their cells written as on SQLite.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>

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

// Reads the tables and columns of the connection's current schema.
bool LoadPgCatalog(PGconn* c, PgCatalog& catalog, std::string& error);

class PgSession : public SqlSession {
public:
    // c and catalog stay owned by the caller and outlive the session and its statements.
    PgSession(PGconn* c, const PgCatalog& catalog) : c_(c), catalog_(catalog) {}
    std::unique_ptr<SqlStatement> Prepare(std::string_view sql) override;
    bool Exec(std::string_view sql, std::string& error) override;

private:
    PGconn* c_;
    const PgCatalog& catalog_;
};

}  // namespace tarmel::dataserver
