// The private PostgreSQL cluster of a test run (started by scripts/pgcluster.sh through CTest),
// for the tests registered to run on PostgreSQL: they find the cluster's socket folder in
// TARMEL_TEST_PG and connect to it as its superuser "tarmel".
#pragma once

#include <string>

namespace tarmel::testsupport {

// Whether this test program runs its data servers on PostgreSQL.
bool TestsOnPostgres();

// The connection to one database of the cluster.
std::string PgTestDatabase(const std::string& name);

// A database name no other test program or fixture of this run uses.
std::string UniquePgDatabaseName(const char* prefix);

// Runs an administration statement (CREATE/DROP DATABASE) on the cluster; throws
// std::runtime_error with PostgreSQL's message on failure.
void PgAdmin(const std::string& sql);

}  // namespace tarmel::testsupport
