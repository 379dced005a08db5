// Client statements and the server's own work on PostgreSQL.
#include "dataserver/postgres/pgdatabase.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "dataserver/pgdialect.h"
#include "dataserver/postgres/pgsetup.h"
#include "dataserver/schema.h"
#include "dataserver/textutil.h"

namespace tarmel::dataserver {

namespace {

// The LogItem of a failed client statement, and whether it was the deadline.
Outcome Failure(PGconn* c, const PGresult* r, std::string& error) {
    const std::string state = PgState(r);
    if (state == "57014") {  // query_canceled: the statement_timeout
        error = Msg(kTimeoutText);
        return Outcome::TimedOut;
    }
    // insufficient_privilege, read_only_sql_transaction: what the roles exist to stop.
    const bool refused = state == "42501" || state == "25006";
    error = Msg(refused ? "Requête refusée : " : "Erreur SQL : ") + PgMessage(c, r);
    return Outcome::Refused;
}

// The refusal of a statement of another kind than the endpoint runs, naming what it is.
std::string KindRefusal(const char* allowed, std::string_view sql) {
    const std::string verb = StatementVerb(sql);
    std::string text =
        std::string("Requête refusée : seule une instruction ") + allowed + " est acceptée ici";
    if (!verb.empty()) {
        text += " (instruction " + verb;
        if (ChangesSchema(verb)) text += " : modification du schéma";
        text += ")";
    }
    return Msg(text);
}

// Moves the identifier sequence to at least `value`, never back: by taking values one by one
// when it is close (others may be taking them at the same time), in one step when it is far.
std::string SequencePast(int64_t value) {
    const std::string v = std::to_string(value), seq = std::string(kPgIdSequence);
    return "SELECT CASE WHEN " + v + " - last_value > 100000 THEN setval('" + seq + "', " + v +
           ") ELSE (SELECT count(nextval('" + seq + "')) FROM generate_series(1, greatest(" + v +
           " - last_value, 0))) END FROM " + seq;
}

// Ends the connection's transaction, whatever state it is in. The ROLLBACK runs under the
// statement's own statement_timeout, which may be nearly spent: it is tried again, and a
// connection still in a transaction is connected anew rather than lent in that state.
void Rollback(PGconn* c) {
    for (int attempt = 0; attempt < 3 && PQtransactionStatus(c) != PQTRANS_IDLE; ++attempt) {
        PgRun(c, "ROLLBACK");
    }
    if (PQtransactionStatus(c) != PQTRANS_IDLE) {
        std::string ignored;
        PQreset(c);
        if (PQstatus(c) == CONNECTION_OK) PgSetUpSession(c, ignored);
    }
}

}  // namespace

void PostgresDatabase::Pool::Add(PgConn c) {
    all_.push_back(std::make_unique<Pooled>(Pooled{std::move(c), {}}));
    free_.push_back(all_.back().get());
}

PostgresDatabase::Pooled* PostgresDatabase::Pool::Acquire() {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return !free_.empty(); });
    Pooled* pooled = free_.back();
    free_.pop_back();
    lock.unlock();
    PGconn* c = pooled->conn.get();
    // The database restarted or the network dropped the connection: connect again (which
    // forgets the prepared statements).
    if (PQstatus(c) == CONNECTION_BAD) {
        std::string ignored;
        PQreset(c);
        if (PQstatus(c) == CONNECTION_OK) PgSetUpSession(c, ignored);
        pooled->prepared.clear();
    }
    Rollback(c);  // never lent inside a transaction
    return pooled;
}

void PostgresDatabase::Pool::Release(Pooled* c) {
    {
        std::lock_guard lock(mutex_);
        free_.push_back(c);
    }
    freed_.notify_one();
}

class PostgresDatabase::Lease {
public:
    explicit Lease(Pool& pool) : pool_(pool), c_(pool.Acquire()) {}
    ~Lease() { pool_.Release(c_); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    operator PGconn*() const { return c_->conn.get(); }
    PgPreparedStatements* prepared() const { return &c_->prepared; }

private:
    Pool& pool_;
    Pooled* c_;
};

std::unique_ptr<Database> PostgresDatabase::Open(const DatabaseOptions& options,
                                                 std::string& error) {
    std::unique_ptr<PostgresDatabase> self(new PostgresDatabase(options.path));
    self->budget_ = options.budget;
    PgConn first = PgConnect(options.path, error);
    if (!first) return nullptr;
    bool has = false;
    if (!PgHasSchema(first.get(), has, error)) return nullptr;
    if (!has && options.create && !CreatePgSchema(first.get(), {}, error)) return nullptr;
    PgResult mark = PgRun(first.get(),
                          "SELECT application_id, version, query_role, update_role "
                          "FROM " +
                              std::string(kPgMarkTable));
    if (!PgOk(mark.get()) || PQntuples(mark.get()) != 1 ||
        std::atoll(PQgetvalue(mark.get(), 0, 0)) != kApplicationId ||
        std::atoi(PQgetvalue(mark.get(), 0, 1)) != kSchemaVersion) {
        error =
            "refusing the PostgreSQL database: not a Tarmel dealership database of schema "
            "version " +
            std::to_string(kSchemaVersion);
        return nullptr;
    }
    self->queryRole_ = PQgetvalue(mark.get(), 0, 2);
    self->updateRole_ = PQgetvalue(mark.get(), 0, 3);
    if (!LoadPgCatalog(first.get(), self->catalog_, error)) return nullptr;
    self->identifiers_ = PgSchemaFrom(SchemaSql()).identifiers;
    const int connections = std::max(1, options.readers);
    self->readers_.Add(std::move(first));
    for (int i = 0; i < 2 * connections - 1; ++i) {
        PgConn c = PgConnect(options.path, error);
        if (!c) return nullptr;
        (i < connections - 1 ? self->readers_ : self->writers_).Add(std::move(c));
    }
    return self;
}

int64_t PostgresDatabase::RemainingMs(std::chrono::steady_clock::time_point start) const {
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return std::max<int64_t>(1, (budget_ - spent).count());
}

QueryResult PostgresDatabase::Query(std::string_view sql, int64_t maxRows) {
    const auto start = std::chrono::steady_clock::now();
    QueryResult result;
    auto refuse = [&](Outcome outcome, std::string message) {
        result = QueryResult();
        result.outcome = outcome;
        result.error = std::move(message);
        return result;
    };
    if (TrimWhitespace(sql).empty()) return refuse(Outcome::Refused, Msg("Requête vide"));
    // The kind first: a statement the endpoint never runs is refused as such, whatever it holds.
    if (StatementVerb(sql) != "SELECT") return refuse(Outcome::Refused, KindRefusal("SELECT", sql));
    const PgStatement t = ToPostgres(sql, catalog_.names, PgSource::Client);
    if (!t.ok) return refuse(Outcome::Refused, t.error);
    if (!t.params.empty()) {
        return refuse(Outcome::Refused,
                      Msg("Requête refusée : paramètre inattendu dans une requête SELECT"));
    }
    Lease c(readers_);
    // One round trip: the transaction made read-only, its role and deadline, then the rows (at
    // most one beyond maxRows, received one by one so that the size bound holds while they
    // arrive). Both run in the one transaction a pipeline runs until its sync, which ends it.
    const std::string rows =
        "SELECT * FROM (" + t.sql + "\n) AS tarmel_rows LIMIT " + std::to_string(maxRows + 1);
    const std::string timeout = std::to_string(RemainingMs(start));
    const char* const settings[] = {queryRole_.c_str(), timeout.c_str()};
    bool sent = PQenterPipelineMode(c) == 1;
    sent = sent && PQsendQueryParams(c,
                                     "SELECT set_config('transaction_read_only', 'on', true), "
                                     "set_config('role', $1, true), "
                                     "set_config('statement_timeout', $2, true)",
                                     2, nullptr, settings, nullptr, nullptr, 0) == 1;
    sent =
        sent && PQsendQueryParams(c, rows.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    sent = sent && PQpipelineSync(c) == 1;

    std::vector<PgCellKind> kinds;
    std::vector<bool> expressions;
    size_t answerBytes = 0;
    std::optional<QueryResult> refused;
    for (int ends = 0; sent && ends < 64;) {
        // In a pipeline, single rows are asked for as the rows' command comes to be read.
        if (ends == 1 && kinds.empty()) PQsetSingleRowMode(c);
        PgResult r(PQgetResult(c));
        if (!r) {  // the end of one command's results
            if (PQstatus(c) == CONNECTION_BAD) break;
            ++ends;
            continue;
        }
        const ExecStatusType status = PQresultStatus(r.get());
        if (status == PGRES_PIPELINE_SYNC) break;
        if (status == PGRES_COMMAND_OK || status == PGRES_PIPELINE_ABORTED) continue;
        if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK) {
            if (!refused) {
                std::string message;
                const Outcome outcome = Failure(c, r.get(), message);
                refused = refuse(outcome, message);
            }
            continue;
        }
        if (ends != 1) continue;  // the settings' own row
        const int columns = PQnfields(r.get());
        if (kinds.empty()) {
            for (int i = 0; i < columns; ++i) {
                result.columns.emplace_back(PQfname(r.get(), i));
                kinds.push_back(catalog_.kinds.Of(r.get(), i));
                expressions.push_back(PQftable(r.get(), i) == InvalidOid);
            }
        }
        for (int row = 0; row < PQntuples(r.get()) && !refused && !result.more; ++row) {
            if (static_cast<int64_t>(result.rows.size()) >= maxRows) {
                result.more = true;
                break;
            }
            auto& cells = result.rows.emplace_back(static_cast<size_t>(columns));
            for (int i = 0; i < columns && !refused; ++i) {
                if (PQgetisnull(r.get(), row, i)) continue;
                const auto length = static_cast<size_t>(PQgetlength(r.get(), row, i));
                answerBytes += length;
                if (answerBytes > kMaxAnswerBytes) {
                    refused =
                        refuse(Outcome::Refused, Msg("Requête refusée : la réponse dépasse 16 Mo"));
                    break;
                }
                AppendPgCell(kinds[static_cast<size_t>(i)], expressions[static_cast<size_t>(i)],
                             {PQgetvalue(r.get(), row, i), length}, cells[static_cast<size_t>(i)]);
            }
        }
    }
    PQexitPipelineMode(c);
    Rollback(c);  // the sync ended the transaction; this mends a connection left inside one
    if (!sent) refused = refuse(Outcome::Refused, Msg("Erreur SQL : ") + PgMessage(c, nullptr));
    return refused ? *refused : result;
}

ExecuteResult PostgresDatabase::Execute(
    std::string_view sql, const std::function<bool(std::string& error)>& beforeCommit) {
    const auto start = std::chrono::steady_clock::now();
    ExecuteResult result;
    auto refuse = [&](Outcome outcome, std::string message) {
        result = ExecuteResult();
        result.outcome = outcome;
        result.error = std::move(message);
        return result;
    };
    if (TrimWhitespace(sql).empty()) return refuse(Outcome::Refused, Msg("Requête vide"));
    const std::string verb = StatementVerb(sql);
    if (verb != "INSERT" && verb != "UPDATE" && verb != "DELETE") {
        return refuse(Outcome::Refused, KindRefusal("INSERT, UPDATE ou DELETE", sql));
    }
    const PgStatement t = ToPostgres(sql, catalog_.names, PgSource::Client);
    if (!t.ok) return refuse(Outcome::Refused, t.error);
    Lease c(writers_);
    auto fail = [&](const PGresult* r) {
        std::string message;
        const Outcome outcome = Failure(c, r, message);
        Rollback(c);
        return refuse(outcome, message);
    };
    PgResult begun =
        PgRun(c, "BEGIN; SET LOCAL ROLE " + PgQuoted(updateRole_) +
                     "; SET LOCAL statement_timeout = " + std::to_string(RemainingMs(start)));
    if (!PgOk(begun.get())) return fail(begun.get());
    // The identifiers come from the sequence: unique across every server on the database.
    std::vector<std::string> values;
    if (!t.params.empty()) {
        PgResult ids =
            PgRun(c, "SELECT nextval('" + std::string(kPgIdSequence) +
                         "') FROM generate_series(1, " + std::to_string(t.params.size()) + ")");
        if (!PgOk(ids.get()) || PQntuples(ids.get()) != static_cast<int>(t.params.size())) {
            return fail(ids.get());
        }
        for (size_t k = 0; k < t.params.size(); ++k) {
            values.emplace_back(PQgetvalue(ids.get(), static_cast<int>(k), 0));
            if (t.params[k] == ":NewID") result.newId = std::atoll(values.back().c_str());
        }
    }
    // A row inserted without ":NewID" answers the identifier its table's default gave it, and
    // identifiers the statement chose itself move the sequence past them.
    std::string text = t.sql;
    std::vector<bool> primary;  // per RETURNING column
    if (t.kind == PgKind::Insert && !result.newId) {
        for (const PgIdentifierColumn& id : identifiers_) {
            if (!EqualsNoCase(id.table, t.insertTable)) continue;
            text += (primary.empty() ? "\nRETURNING " : ", ") + PgQuoted(id.column);
            primary.push_back(id.primary);
        }
    }
    const bool returning = !primary.empty();
    std::vector<const char*> pointers;
    for (const std::string& v : values) pointers.push_back(v.c_str());
    PgResult done(PQexecParams(c, text.c_str(), static_cast<int>(pointers.size()), nullptr,
                               pointers.data(), nullptr, nullptr, 0));
    if (!PgOk(done.get())) return fail(done.get());
    if (!returning && PQnfields(done.get()) > 0) {  // the statement's own RETURNING
        Rollback(c);
        return refuse(Outcome::Refused, KindRefusal("INSERT, UPDATE ou DELETE", "RETURNING"));
    }
    result.changes = std::atoi(PQcmdTuples(done.get()));
    int64_t highest = 0;
    for (int row = 0; row < PQntuples(done.get()); ++row) {
        for (size_t col = 0; col < primary.size(); ++col) {
            const int i = static_cast<int>(col);
            if (PQgetisnull(done.get(), row, i)) continue;
            const int64_t value = std::atoll(PQgetvalue(done.get(), row, i));
            highest = std::max(highest, value);
            if (primary[col]) result.newId = value;  // the last row's, as on SQLite
        }
    }
    if (highest > 0) {
        PgResult moved = PgRun(c, SequencePast(highest));
        if (!PgOk(moved.get())) return fail(moved.get());
    }
    std::string error;
    if (beforeCommit && !beforeCommit(error)) {
        Rollback(c);
        return refuse(Outcome::Refused, error);
    }
    // No deadline for the COMMIT itself: a cancel that arrived once the commit was written would
    // report a time-out for a statement that was stored, and the client's retry would store it
    // twice. The deadline may still stop the SET (a message of its own): nothing is written then.
    PgResult untimed = PgRun(c, "SET LOCAL statement_timeout = 0");
    if (!PgOk(untimed.get())) return fail(untimed.get());
    PgResult committed = PgRun(c, "COMMIT");
    if (!PgOk(committed.get())) return fail(committed.get());
    return result;
}

void PostgresDatabase::Read(const std::function<void(SqlSession&)>& work) {
    Lease c(readers_);
    PgSession session(c, catalog_, c.prepared());
    work(session);
}

bool PostgresDatabase::Write(const std::function<bool(SqlSession&)>& work) {
    Lease c(writers_);
    std::string error;
    if (!PgExec(c, "BEGIN", error)) return false;
    PgSession session(c, catalog_, c.prepared());
    if (!work(session) || !PgExec(c, "COMMIT", error)) {
        Rollback(c);
        return false;
    }
    return true;
}

}  // namespace tarmel::dataserver
