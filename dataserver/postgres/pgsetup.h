// Creating the dealership schema in a PostgreSQL database, empty or filled with the demo.
#pragma once

#include <libpq-fe.h>

#include <functional>
#include <string>

#include "dataserver/demodata.h"
#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

// Whether the database holds the server's schema mark; false with error set when it cannot be
// read at all.
bool PgHasSchema(PGconn* c, bool& has, std::string& error);

// Creates the schema in one transaction unless another server did it first: the types and
// tables, fill (when given) on them, the indexes, the identifier sequence moved past every
// identifier the rows hold, the roles of client statements and the mark.
bool CreatePgSchema(PGconn* c, const std::function<bool(SqlSession&)>& fill, std::string& error);

// The demo dealership in the database conninfo names, unless it holds the schema already (then
// nothing happens). Photos of the demo vehicles go into photoDir.
bool BuildPostgresDemo(const std::string& conninfo, const std::string& photoDir,
                       const DemoOptions& options, std::string& error);

}  // namespace tarmel::dataserver
