// The test run's PostgreSQL cluster.
#include "tests/support/pgtestcluster.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace tarmel::testsupport {

namespace {

const char* SocketFolder() {
    const char* folder = std::getenv("TARMEL_TEST_PG");
    return folder != nullptr && *folder != '\0' ? folder : nullptr;
}

std::string Base() {
    const char* folder = SocketFolder();
    if (folder == nullptr) {
        throw std::runtime_error("TARMEL_TEST_PG is not set: the PostgreSQL tests run under CTest");
    }
    return std::string("host=") + folder + " user=tarmel";
}

}  // namespace

bool TestsOnPostgres() {
    return SocketFolder() != nullptr;
}

std::string PgTestDatabase(const std::string& name) {
    return Base() + " dbname=" + name;
}

std::string UniquePgDatabaseName(const char* prefix) {
    static std::atomic<int> counter{0};
    return std::string(prefix) + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

void PgAdmin(const std::string& sql) {
    PGconn* c = PQconnectdb(PgTestDatabase("postgres").c_str());
    std::string error;
    if (PQstatus(c) != CONNECTION_OK) {
        error = PQerrorMessage(c);
    } else {
        PGresult* r = PQexec(c, sql.c_str());
        if (PQresultStatus(r) != PGRES_COMMAND_OK) error = PQresultErrorMessage(r);
        PQclear(r);
    }
    PQfinish(c);
    if (!error.empty()) throw std::runtime_error(sql + ": " + error);
}

}  // namespace tarmel::testsupport
