// Connecting to PostgreSQL and running the server's own SQL.
#include "dataserver/postgres/pgconnection.h"

namespace tarmel::dataserver {

namespace {

void IgnoreNotice(void*, const char*) {}

}  // namespace

PgConn PgConnect(const std::string& conninfo, std::string& error) {
    PgConn conn(PQconnectdb(conninfo.c_str()));
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK) {
        error = "cannot connect to PostgreSQL: " +
                std::string(conn ? PQerrorMessage(conn.get()) : "out of memory");
        while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
        return nullptr;
    }
    if (!PgSetUpSession(conn.get(), error)) return nullptr;
    return conn;
}

bool PgSetUpSession(PGconn* c, std::string& error) {
    // NOTICEs (an extension already there, a role already granted) would go to stderr.
    PQsetNoticeProcessor(c, IgnoreNotice, nullptr);
    if (PQsetClientEncoding(c, "LATIN1") != 0 ||
        !PgExec(c,
                "SET standard_conforming_strings = on; SET DateStyle = 'ISO, DMY'; "
                "SET extra_float_digits = 1; SET IntervalStyle = 'postgres'",
                error)) {
        if (error.empty()) error = PQerrorMessage(c);
        error = "cannot set up the PostgreSQL session: " + error;
        return false;
    }
    return true;
}

PgResult PgRun(PGconn* c, std::string_view sql) {
    return PgResult(PQexec(c, std::string(sql).c_str()));
}

bool PgExec(PGconn* c, std::string_view sql, std::string& error) {
    PgResult r = PgRun(c, sql);
    if (PgOk(r.get())) return true;
    error = PgMessage(c, r.get());
    return false;
}

bool PgOk(const PGresult* r) {
    if (r == nullptr) return false;
    const ExecStatusType s = PQresultStatus(r);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

std::string PgMessage(PGconn* c, const PGresult* r) {
    const char* primary = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    std::string message = primary ? primary : (c ? PQerrorMessage(c) : "");
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "erreur PostgreSQL" : message;
}

std::string PgState(const PGresult* r) {
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    return state ? state : "";
}

}  // namespace tarmel::dataserver
