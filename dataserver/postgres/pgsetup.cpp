// Schema creation on PostgreSQL.
#include "dataserver/postgres/pgsetup.h"

#include "dataserver/postgres/pgconnection.h"
#include "dataserver/postgres/pgschema.h"
#include "dataserver/postgres/pgsession.h"
#include "dataserver/schema.h"

namespace tarmel::dataserver {

namespace {

// Any constant will do: it only serialises the servers creating the schema of one database.
constexpr const char* kCreateLock = "SELECT pg_advisory_xact_lock(1414679884)";

std::string Literal(std::string_view text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// The sequence's next value lies past the counter the rows were written with and past every
// identifier any row holds.
std::string SequenceCatchUp(const PgSchema& schema) {
    std::string highest = "(SELECT coalesce(max(\"Value\"), 0) FROM \"tCounters\")";
    for (const PgIdentifierColumn& c : schema.identifiers) {
        highest += ", (SELECT coalesce(max(" + PgQuoted(c.column) + "), 0) FROM " +
                   PgQuoted(c.table) + ")";
    }
    return "SELECT setval('" + std::string(kPgIdSequence) + "', greatest(" + highest + ", 1000))";
}

}  // namespace

bool PgHasSchema(PGconn* c, bool& has, std::string& error) {
    PgResult r = PgRun(c, "SELECT to_regclass('" + std::string(kPgMarkTable) + "') IS NOT NULL");
    if (!PgOk(r.get()) || PQntuples(r.get()) != 1) {
        error = "cannot read the database: " + PgMessage(c, r.get());
        return false;
    }
    has = std::string_view(PQgetvalue(r.get(), 0, 0)) == "t";
    return true;
}

bool CreatePgSchema(PGconn* c, const std::function<bool(SqlSession&)>& fill, std::string& error) {
    if (!PgExec(c, "BEGIN", error)) return false;
    auto fail = [&](std::string what) {
        error = std::move(what);
        PgRun(c, "ROLLBACK");
        return false;
    };
    bool has = false;
    if (!PgExec(c, kCreateLock, error) || !PgHasSchema(c, has, error)) return fail(error);
    if (has) return PgExec(c, "COMMIT", error);

    PgResult name = PgRun(c, "SELECT current_database()");
    if (!PgOk(name.get())) return fail(PgMessage(c, name.get()));
    const std::string database = PQgetvalue(name.get(), 0, 0);
    const std::string queryRole = database + "_query", updateRole = database + "_update";

    const PgSchema schema = PgSchemaFrom(SchemaSql());
    if (!PgExec(c, schema.types, error) || !PgExec(c, schema.tables, error)) {
        return fail("cannot create the schema: " + error);
    }
    if (fill) {
        PgCatalog catalog;
        if (!LoadPgCatalog(c, catalog, error)) return fail(error);
        PgSession session(c, catalog);
        if (!fill(session)) return fail(error.empty() ? "cannot fill the database" : error);
    }
    const std::string mark =
        "CREATE TABLE " + std::string(kPgMarkTable) +
        " (application_id bigint, version integer, query_role text, update_role text);"
        "INSERT INTO " +
        std::string(kPgMarkTable) + " VALUES (" + std::to_string(kApplicationId) + ", " +
        std::to_string(kSchemaVersion) + ", " + Literal(queryRole) + ", " + Literal(updateRole) +
        ");";
    if (!PgExec(c, schema.indexes, error) || !PgExec(c, SequenceCatchUp(schema), error) ||
        !PgExec(c, PgRolesSql(queryRole, updateRole), error) || !PgExec(c, mark, error)) {
        return fail("cannot create the schema: " + error);
    }
    if (!PgExec(c, "COMMIT", error)) return fail(error);
    PgRun(c, "VACUUM ANALYZE");  // statistics, and the visibility map index-only scans need
    return true;
}

bool BuildPostgresDemo(const std::string& conninfo, const std::string& photoDir,
                       const DemoOptions& options, std::string& error) {
    PgConn c = PgConnect(conninfo, error);
    if (!c) return false;
    bool has = false;
    if (!PgHasSchema(c.get(), has, error)) return false;
    if (has) return true;
    std::string fillError;
    const bool ok = CreatePgSchema(
        c.get(),
        [&](SqlSession& session) { return FillDemo(session, options, photoDir, fillError); },
        error);
    if (!ok && !fillError.empty()) error = "demo database: " + fillError;
    return ok;
}

}  // namespace tarmel::dataserver
