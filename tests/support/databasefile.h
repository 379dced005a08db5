// Reading what the data server stored, straight from its database (beside the running server),
// and writing a fixture's rows into it before the window asks for them. database is the SQLite
// file or the PostgreSQL connection of DataServerProcess::databasePath(); the SQL is SQLite's,
// written for PostgreSQL the way the server writes its own.
#pragma once

#include <memory>
#include <string>

#include "dataserver/database.h"

namespace tarmel::testsupport {

// The data server's own way to a PostgreSQL database (one connection of each kind), whose
// sessions write the tests' SQLite-style statements with the schema's spelling; nullptr, with
// the reason on stderr, when it cannot be opened.
std::unique_ptr<dataserver::Database> OpenPostgres(const std::string& database);

// The first column of the first row of a query, "" when there is none or it is NULL.
std::string FirstValue(const std::string& database, const std::string& sql);

// Runs the statements (";"-separated) in one transaction; false, with the reason on stderr, when
// one fails (then none is kept).
bool ExecuteStatements(const std::string& database, const std::string& sql);

}  // namespace tarmel::testsupport
