// libpq handles that close themselves, and the few calls every PostgreSQL piece of the server
// makes: connect with the server's text rules, run its own SQL, read a failure.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>

namespace tarmel::dataserver {

struct PgResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultFree>;

struct PgConnFinish {
    void operator()(PGconn* c) const { PQfinish(c); }
};
using PgConn = std::unique_ptr<PGconn, PgConnFinish>;

// Connects and sets the session up as every statement expects it: texts in Latin-1 both ways,
// standard strings (a backslash is a backslash), ISO dates, the shortest exact doubles.
// nullptr with libpq's message on failure.
PgConn PgConnect(const std::string& conninfo, std::string& error);
// The same set-up, again on a connection that was reset.
bool PgSetUpSession(PGconn* c, std::string& error);

// Runs the server's own SQL with the simple protocol (several statements allowed); false with
// the message of the first failure.
bool PgExec(PGconn* c, std::string_view sql, std::string& error);
PgResult PgRun(PGconn* c, std::string_view sql);

// A result that is a success, with or without rows.
bool PgOk(const PGresult* r);
// The primary message of a failed result, else of the connection.
std::string PgMessage(PGconn* c, const PGresult* r);
// The five-character SQLSTATE of a failed result, "" when there is none.
std::string PgState(const PGresult* r);

}  // namespace tarmel::dataserver
