// The dealership database on SQLite: opening and schema check, the guarded client statements,
// the pools.
#include "dataserver/sqlite/sqlitedatabase.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dataserver/cellformat.h"
#include "dataserver/schema.h"
#include "dataserver/sqlite/sqlitesession.h"
#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

bool Exec(sqlite3* db, const char* sql, std::string* error = nullptr) {
    char* message = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK && error) *error = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

int64_t PragmaInt(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    int64_t value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        value = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return value;
}

bool HasTable(sqlite3* db, std::string_view name) {
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_schema WHERE type='table' AND name=?1", -1,
                           &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        found = sqlite3_step(stmt) == SQLITE_ROW;
    }
    sqlite3_finalize(stmt);
    return found;
}

// The schema marks and every table the server relies on must be present.
bool SchemaIsKnown(sqlite3* db) {
    if (PragmaInt(db, "PRAGMA application_id") != kApplicationId) return false;
    if (PragmaInt(db, "PRAGMA user_version") != kSchemaVersion) return false;
    for (std::string_view table :
         {"tVehicles", "tClients", "TVehiclesClarum", "tVO - Frevo", "tVO - Liens Images",
          "tActions", "ListRubrics", "ListModels", "ListVersions", "tConcessions", "tSites",
          "tStaff", "tUsers", "tOptDates", "tReservations", "tStructure", "tCounters", "tSmsLog"}) {
        if (!HasTable(db, table)) return false;
    }
    return true;
}

// Brings a database of this application written by an older server to the current schema, one
// version a transaction. The version is read again once the write lock is held, so two servers
// opening the same old file upgrade it once.
bool UpgradeSchema(sqlite3* db, std::string& error) {
    if (PragmaInt(db, "PRAGMA application_id") != kApplicationId ||
        PragmaInt(db, "PRAGMA user_version") >= kSchemaVersion) {
        return true;  // current, or not ours: the schema check decides
    }
    while (true) {
        if (!Exec(db, "BEGIN IMMEDIATE", &error)) return false;
        const int64_t version = PragmaInt(db, "PRAGMA user_version");
        const std::string_view script =
            version < kSchemaVersion ? UpgradeSql(static_cast<int>(version)) : std::string_view();
        if (script.empty()) return Exec(db, "COMMIT", &error);  // done, or no way up from here
        const std::string sql =
            std::string(script) + ";PRAGMA user_version=" + std::to_string(version + 1) + ";";
        if (!Exec(db, sql.c_str(), &error) || !Exec(db, "COMMIT", &error)) {
            Exec(db, "ROLLBACK");
            error = "cannot upgrade from schema version " + std::to_string(version) + ": " + error;
            return false;
        }
    }
}

std::string QuotedName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Integer affinity, by SQLite's rule on the declared type.
bool IntegerType(std::string_view declared) {
    for (size_t i = 0; i + 3 <= declared.size(); ++i) {
        if (EqualsNoCase(declared.substr(i, 3), "INT")) return true;
    }
    return false;
}

struct IdentifierColumn {
    std::string table;
    std::string column;
    bool rowid = false;  // the INTEGER PRIMARY KEY: the row's identifier itself
};

// The columns of the writable tables that hold identifiers: each table's INTEGER PRIMARY KEY and
// every integer column with a unique index of its own. A value the counter hands out must be new
// to all of them, since it may be bound into any.
std::vector<IdentifierColumn> IdentifierColumns(sqlite3* db) {
    std::vector<IdentifierColumn> out;
    for (std::string_view table : WritableTables()) {
        const std::string t(table);
        std::vector<std::pair<std::string, std::string>> columns;  // name, declared type
        std::vector<std::string> keys;
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT name, type, pk FROM pragma_table_info(?1)", -1, &stmt,
                           nullptr);
        sqlite3_bind_text(stmt, 1, t.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            auto text = [stmt](int c) {
                const unsigned char* v = sqlite3_column_text(stmt, c);
                return v ? std::string(reinterpret_cast<const char*>(v)) : std::string();
            };
            columns.emplace_back(text(0), text(1));
            if (sqlite3_column_int(stmt, 2) > 0) keys.push_back(text(0));
        }
        sqlite3_finalize(stmt);
        auto typeOf = [&columns](const std::string& name) {
            for (const auto& [n, type] : columns) {
                if (EqualsNoCase(n, name)) return type;
            }
            return std::string();
        };
        if (keys.size() == 1 && EqualsNoCase(typeOf(keys[0]), "INTEGER")) {
            out.push_back({t, keys[0], true});
        }
        sqlite3_prepare_v2(db,
                           "SELECT min(ii.name) FROM pragma_index_list(?1) il, "
                           "pragma_index_info(il.name) ii WHERE il.\"unique\" AND NOT il.partial "
                           "GROUP BY il.name HAVING count(*) = 1",
                           -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, t.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* v = sqlite3_column_text(stmt, 0);
            const std::string column = v ? reinterpret_cast<const char*>(v) : "";
            if (!column.empty() && IntegerType(typeOf(column))) out.push_back({t, column, false});
        }
        sqlite3_finalize(stmt);
    }
    return out;
}

// The counter's step: past its own last value and past the largest identifier any row holds,
// whoever chose it (the database's max + 1 for a row inserted without one, an explicit value, a
// file written by another program). "< ''" keeps the numbers (a text stored in an integer column
// would sort above them) and still reads one index entry per column; a fraction is cut.
std::string NextIdSql(const std::vector<IdentifierColumn>& columns) {
    std::string highest = "Value";
    for (const IdentifierColumn& c : columns) {
        const std::string col = QuotedName(c.column);
        highest += ", coalesce(CAST((SELECT max(" + col + ") FROM " + QuotedName(c.table) +
                   " WHERE " + col + " < '') AS INTEGER), 0)";
    }
    if (!columns.empty()) highest = "max(" + highest + ")";
    return "UPDATE tCounters SET Value = " + highest + " + 1 WHERE Name = 'NewID' RETURNING Value";
}

// The message of a failed prepare or step: the guard's refusal when it refused something.
std::string Failure(sqlite3* db, const StatementGuard& guard) {
    if (!guard.refusal().empty()) return Msg("Requête refusée : ") + guard.refusal();
    return Msg("Erreur SQL : ") + sqlite3_errmsg(db);
}

// Checks shared by both kinds of client statement after a successful prepare.
bool SingleStatement(std::string_view sql, const char* tail, std::string& error) {
    size_t used = static_cast<size_t>(tail - sql.data());
    if (!TrimWhitespace(sql.substr(used)).empty()) {
        error = Msg("Requête refusée : une seule instruction par requête");
        return false;
    }
    return true;
}

}  // namespace

class SqliteDatabase::ReaderLease {
public:
    explicit ReaderLease(SqliteDatabase& owner) : owner_(owner), c_(owner.AcquireReader()) {}
    ~ReaderLease() { owner_.ReleaseReader(c_); }
    ReaderLease(const ReaderLease&) = delete;
    ReaderLease& operator=(const ReaderLease&) = delete;
    Connection* operator->() const { return c_; }

private:
    SqliteDatabase& owner_;
    Connection* c_;
};

std::unique_ptr<Database> SqliteDatabase::Open(const DatabaseOptions& options, std::string& error) {
    std::unique_ptr<SqliteDatabase> self(new SqliteDatabase(options.path));
    self->budget_ = options.budget;
    std::error_code ec;
    const bool exists = std::filesystem::exists(options.path, ec);
    if (!exists && !options.create) {
        error = "database file not found: " + options.path;
        return nullptr;
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    if (!exists) flags |= SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(options.path.c_str(), &self->writer_.db, flags, nullptr) != SQLITE_OK) {
        error = "cannot open database " + options.path + ": " + sqlite3_errmsg(self->writer_.db);
        return nullptr;
    }
    sqlite3* w = self->writer_.db;
    sqlite3_busy_timeout(w, 5000);
    if (!exists) {
        std::string schemaError;
        const std::string script = "BEGIN;" + std::string(SchemaSql()) +
                                   "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                   ";PRAGMA user_version=" + std::to_string(kSchemaVersion) +
                                   ";COMMIT;";
        if (!Exec(w, "PRAGMA journal_mode=WAL", &schemaError) ||
            !Exec(w, script.c_str(), &schemaError)) {
            error = "cannot create the schema: " + schemaError;
            return nullptr;
        }
    }
    std::string upgradeError;
    if (exists && !UpgradeSchema(w, upgradeError)) {
        error = "refusing " + options.path + ": " + upgradeError;
        return nullptr;
    }
    if (!SchemaIsKnown(w)) {
        error = "refusing " + options.path +
                ": not a Tarmel dealership database of schema version " +
                std::to_string(kSchemaVersion);
        return nullptr;
    }
    std::string pragmaError;
    if (!Exec(w, "PRAGMA journal_mode=WAL", &pragmaError) ||
        !Exec(w, "PRAGMA synchronous=FULL", &pragmaError)) {
        error = "cannot set up the journal: " + pragmaError;
        return nullptr;
    }
    const std::vector<IdentifierColumn> identifiers = IdentifierColumns(w);
    for (const IdentifierColumn& c : identifiers) {
        if (c.rowid) self->rowidTables_.push_back(c.table);
    }
    if (sqlite3_prepare_v3(w, NextIdSql(identifiers).c_str(), -1, SQLITE_PREPARE_PERSISTENT,
                           &self->nextId_, nullptr) != SQLITE_OK) {
        error = std::string("cannot prepare the identifier counter: ") + sqlite3_errmsg(w);
        return nullptr;
    }
    ApplyConnectionLimits(w);
    self->writer_.guard = std::make_unique<StatementGuard>(w);

    for (int i = 0; i < std::max(1, options.readers); ++i) {
        auto reader = std::make_unique<Connection>();
        if (sqlite3_open_v2(options.path.c_str(), &reader->db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE,
                            nullptr) != SQLITE_OK) {
            error = "cannot open a reader on " + options.path + ": " + sqlite3_errmsg(reader->db);
            sqlite3_close(reader->db);
            return nullptr;
        }
        sqlite3_busy_timeout(reader->db, 5000);
        ApplyConnectionLimits(reader->db);
        reader->guard = std::make_unique<StatementGuard>(reader->db);
        self->freeReaders_.push_back(reader.get());
        self->readers_.push_back(std::move(reader));
    }
    return self;
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_finalize(nextId_);
    for (auto& r : readers_) sqlite3_close(r->db);
    sqlite3_close(writer_.db);
}

SqliteDatabase::Connection* SqliteDatabase::AcquireReader() {
    std::unique_lock lock(readersMutex_);
    readerFreed_.wait(lock, [this] { return !freeReaders_.empty(); });
    Connection* c = freeReaders_.back();
    freeReaders_.pop_back();
    return c;
}

void SqliteDatabase::ReleaseReader(Connection* c) {
    {
        std::lock_guard lock(readersMutex_);
        freeReaders_.push_back(c);
    }
    readerFreed_.notify_one();
}

QueryResult SqliteDatabase::Query(std::string_view sql, int64_t maxRows) {
    QueryResult result;
    ReaderLease c(*this);
    StatementGuard& guard = *c->guard;
    guard.Begin(GuardMode::Read, budget_);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(c->db, sql.data(), static_cast<int>(sql.size()), 0, &stmt, &tail);
    auto refuse = [&](std::string message) {
        result.outcome = guard.timedOut() ? Outcome::TimedOut : Outcome::Refused;
        result.error = guard.timedOut() ? Msg(kTimeoutText) : std::move(message);
        result.columns.clear();
        result.rows.clear();
        result.more = false;
        sqlite3_finalize(stmt);
        guard.End();
        return result;
    };
    if (rc != SQLITE_OK) return refuse(Failure(c->db, guard));
    if (stmt == nullptr) return refuse(Msg("Requête vide"));
    std::string error;
    if (!SingleStatement(sql, tail, error)) return refuse(error);
    if (!sqlite3_stmt_readonly(stmt) || sqlite3_column_count(stmt) == 0 ||
        sqlite3_stmt_isexplain(stmt) != 0) {
        return refuse(Msg("Requête refusée : seule une instruction SELECT est acceptée ici"));
    }
    if (sqlite3_bind_parameter_count(stmt) != 0) {
        return refuse(Msg("Requête refusée : paramètre inattendu dans une requête SELECT"));
    }
    const int columns = sqlite3_column_count(stmt);
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        result.columns.emplace_back(name ? name : "");
    }
    // The answer is bounded in size and in time, whatever the rows cost to compute.
    size_t answerBytes = 0;
    while (true) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) return refuse(Failure(c->db, guard));
        if (static_cast<int64_t>(result.rows.size()) >= maxRows) {
            result.more = true;
            break;
        }
        if (guard.Expired()) return refuse(Msg(kTimeoutText));
        auto& row = result.rows.emplace_back(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i) {
            answerBytes += static_cast<size_t>(sqlite3_column_bytes(stmt, i));
            if (answerBytes > kMaxAnswerBytes)
                return refuse(Msg("Requête refusée : la réponse dépasse 16 Mo"));
            AppendCell(stmt, i, row[static_cast<size_t>(i)]);
        }
    }
    sqlite3_finalize(stmt);
    guard.End();
    return result;
}

bool SqliteDatabase::AllocateId(int64_t& id) {
    // Past the largest integer the step yields a real: no identifier is left to hand out.
    bool ok =
        sqlite3_step(nextId_) == SQLITE_ROW && sqlite3_column_type(nextId_, 0) == SQLITE_INTEGER;
    if (ok) id = sqlite3_column_int64(nextId_, 0);
    while (ok && sqlite3_step(nextId_) == SQLITE_ROW) {
    }
    sqlite3_reset(nextId_);
    return ok;
}

ExecuteResult SqliteDatabase::Execute(std::string_view sql,
                                      const std::function<bool(std::string& error)>& beforeCommit) {
    ExecuteResult result;
    std::lock_guard lock(writeMutex_);
    sqlite3* db = writer_.db;
    StatementGuard& guard = *writer_.guard;
    std::string error;
    if (!Exec(db, "BEGIN IMMEDIATE", &error)) {
        result.outcome = Outcome::Refused;
        result.error = Msg("Erreur SQL : ") + error;
        return result;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    auto refuse = [&](std::string message) {
        result.outcome = guard.timedOut() ? Outcome::TimedOut : Outcome::Refused;
        result.error = guard.timedOut() ? Msg(kTimeoutText) : std::move(message);
        result.newId.reset();
        result.changes = 0;
        sqlite3_finalize(stmt);
        guard.End();
        Exec(db, "ROLLBACK");
        return result;
    };
    guard.Begin(GuardMode::Write, budget_);
    int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), 0, &stmt, &tail);
    if (rc != SQLITE_OK) return refuse(Failure(db, guard));
    if (stmt == nullptr) return refuse(Msg("Requête vide"));
    if (!SingleStatement(sql, tail, error)) return refuse(error);
    if (sqlite3_stmt_readonly(stmt) || !guard.sawWrite() || sqlite3_column_count(stmt) != 0 ||
        sqlite3_stmt_isexplain(stmt) != 0) {
        return refuse(Msg(
            "Requête refusée : seule une instruction INSERT, UPDATE ou DELETE est acceptée ici"));
    }
    // A row inserted without ":NewID" answers the identifier the database gave it, when its
    // table has an identifier column (a list table has none).
    bool answersRowid = false;
    for (const std::string& t : rowidTables_) {
        if (EqualsNoCase(t, guard.insertTable())) answersRowid = true;
    }
    guard.End();
    // Only the two identifier placeholders may appear; they take fresh values from the counter,
    // inside this transaction, so a rolled-back statement consumes nothing.
    const int params = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= params; ++i) {
        const char* name = sqlite3_bind_parameter_name(stmt, i);
        std::string_view n = name ? name : "";
        if (n != ":NewID" && n != ":NewIDbis") {
            return refuse(Msg("Requête refusée : paramètre inconnu ") +
                          std::string(n.empty() ? "?" : n));
        }
        int64_t id = 0;
        if (!AllocateId(id)) {
            return refuse(Msg("Erreur SQL : compteur d'identifiants illisible ou épuisé"));
        }
        sqlite3_bind_int64(stmt, i, id);
        if (n == ":NewID") result.newId = id;
    }
    guard.Begin(GuardMode::Write, budget_);
    // The mark tells an inserted row from an upsert that updated one (which leaves it alone).
    constexpr int64_t kNoRowInserted = INT64_MIN;
    sqlite3_set_last_insert_rowid(db, kNoRowInserted);
    rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) return refuse(Failure(db, guard));
    result.changes = sqlite3_changes(db);
    if (answersRowid && !result.newId && sqlite3_last_insert_rowid(db) != kNoRowInserted) {
        result.newId = sqlite3_last_insert_rowid(db);
    }
    sqlite3_finalize(stmt);
    stmt = nullptr;
    guard.End();
    if (beforeCommit && !beforeCommit(error)) return refuse(error);
    if (!Exec(db, "COMMIT", &error)) return refuse(Msg("Erreur SQL : ") + error);
    return result;
}

void SqliteDatabase::Read(const std::function<void(SqlSession&)>& work) {
    ReaderLease c(*this);
    SqliteSession session(c->db);
    work(session);
}

bool SqliteDatabase::Write(const std::function<bool(SqlSession&)>& work) {
    std::lock_guard lock(writeMutex_);
    if (!Exec(writer_.db, "BEGIN IMMEDIATE")) return false;
    SqliteSession session(writer_.db);
    if (!work(session)) {
        Exec(writer_.db, "ROLLBACK");
        return false;
    }
    if (!Exec(writer_.db, "COMMIT")) {
        Exec(writer_.db, "ROLLBACK");
        return false;
    }
    return true;
}

}  // namespace tarmel::dataserver
