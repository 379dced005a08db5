// The statement guard: authorizer, deadline and connection limits.
#include "dataserver/sqlite/guard.h"

#include <array>
#include <string_view>

#include "dataserver/schema.h"
#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

// Functions a client statement may call. Everything else (randomblob, zeroblob, load_extension,
// printf, the JSON and FTS functions...) is refused.
constexpr std::array<std::string_view, 27> kFunctions = {
    "abs",    "avg",       "coalesce",  "count",   "date",  "group_concat", "ifnull",
    "iif",    "instr",     "julianday", "length",  "like",  "lower",        "ltrim",
    "max",    "min",       "nullif",    "replace", "round", "rtrim",        "strftime",
    "substr", "substring", "sum",       "total",   "trim",  "upper"};

bool IsAllowedFunction(std::string_view name) {
    for (std::string_view f : kFunctions) {
        if (EqualsNoCase(f, name)) return true;
    }
    return false;
}

std::string Text(const char* p) {
    return p ? std::string(p) : std::string();
}

// The kind of statement an authorizer action belongs to, for the refusal message.
const char* ActionName(int action) {
    switch (action) {
        case SQLITE_PRAGMA:
            return "PRAGMA";
        case SQLITE_ATTACH:
            return "ATTACH";
        case SQLITE_DETACH:
            return "DETACH";
        case SQLITE_TRANSACTION:
            return "BEGIN/COMMIT/ROLLBACK";
        case SQLITE_SAVEPOINT:
            return "SAVEPOINT";
        case SQLITE_ANALYZE:
            return "ANALYZE";
        case SQLITE_REINDEX:
            return "REINDEX";
        case SQLITE_RECURSIVE:
            return "WITH RECURSIVE";
        case SQLITE_ALTER_TABLE:
            return "ALTER TABLE";
        case SQLITE_CREATE_VTABLE:
        case SQLITE_DROP_VTABLE:
            return "table virtuelle";
        case SQLITE_CREATE_INDEX:
        case SQLITE_CREATE_TABLE:
        case SQLITE_CREATE_TEMP_INDEX:
        case SQLITE_CREATE_TEMP_TABLE:
        case SQLITE_CREATE_TEMP_TRIGGER:
        case SQLITE_CREATE_TEMP_VIEW:
        case SQLITE_CREATE_TRIGGER:
        case SQLITE_CREATE_VIEW:
        case SQLITE_DROP_INDEX:
        case SQLITE_DROP_TABLE:
        case SQLITE_DROP_TEMP_INDEX:
        case SQLITE_DROP_TEMP_TABLE:
        case SQLITE_DROP_TEMP_TRIGGER:
        case SQLITE_DROP_TEMP_VIEW:
        case SQLITE_DROP_TRIGGER:
        case SQLITE_DROP_VIEW:
            return "modification du schéma";
        default:
            return "instruction inconnue";
    }
}

}  // namespace

void ApplyConnectionLimits(sqlite3* db) {
    // A value is at most 1 MB (a long memo fits, a randomblob(2e9) does not); the statement text
    // at most 600 KB (the request line is bounded below that by the HTTP layer anyway).
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1000000);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 600000);
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 500);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 200);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10);
    sqlite3_limit(db, SQLITE_LIMIT_VDBE_OP, 250000);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 8);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 1000);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 10);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    sqlite3_limit(db, SQLITE_LIMIT_WORKER_THREADS, 0);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

StatementGuard::StatementGuard(sqlite3* db) : db_(db) {
    sqlite3_set_authorizer(db_, &StatementGuard::Authorize, this);
    // Checked every 1000 virtual-machine steps: cheap, and fine-grained enough for a 1 s budget.
    sqlite3_progress_handler(db_, 1000, &StatementGuard::Progress, this);
}

void StatementGuard::Begin(GuardMode mode, std::chrono::milliseconds budget) {
    mode_ = mode;
    deadline_ = std::chrono::steady_clock::now() + budget;
    sawWrite_ = false;
    insertTable_.clear();
    timedOut_ = false;
    refusal_.clear();
}

void StatementGuard::End() {
    mode_ = GuardMode::Off;
}

int StatementGuard::Authorize(void* self, int action, const char* a, const char* b,
                              const char* dbName, const char* /*trigger*/) {
    return static_cast<StatementGuard*>(self)->Decide(action, a, b, dbName);
}

bool StatementGuard::Expired() {
    if (mode_ == GuardMode::Off || timedOut_) return timedOut_;
    if (std::chrono::steady_clock::now() < deadline_) return false;
    timedOut_ = true;
    return true;
}

int StatementGuard::Progress(void* self) {
    auto* guard = static_cast<StatementGuard*>(self);
    if (guard->mode_ == GuardMode::Off) return 0;
    if (std::chrono::steady_clock::now() < guard->deadline_) return 0;
    guard->timedOut_ = true;
    return 1;
}

int StatementGuard::Deny(std::string what) {
    if (refusal_.empty()) refusal_ = std::move(what);
    return SQLITE_DENY;
}

int StatementGuard::Decide(int action, const char* a, const char* b, const char* dbName) {
    if (mode_ == GuardMode::Off) return SQLITE_OK;
    const bool mainDb = dbName == nullptr || std::string_view(dbName) == "main";
    switch (action) {
        case SQLITE_SELECT:
            return SQLITE_OK;
        case SQLITE_READ:
            if (mainDb && a && IsReadableTable(a)) return SQLITE_OK;
            return Deny(tarmel::Latin1FromUtf8("lecture non autorisée de la table ") + Text(a));
        case SQLITE_FUNCTION:
            if (b && IsAllowedFunction(b)) return SQLITE_OK;
            return Deny(tarmel::Latin1FromUtf8("fonction non autorisée : ") + Text(b));
        case SQLITE_INSERT:
        case SQLITE_UPDATE:
        case SQLITE_DELETE:
            if (mode_ == GuardMode::Write && mainDb && a && IsWritableTable(a)) {
                sawWrite_ = true;
                if (action == SQLITE_INSERT && insertTable_.empty()) insertTable_ = a;
                return SQLITE_OK;
            }
            if (a &&
                (StartsWithNoCase(a, "sqlite_master") || StartsWithNoCase(a, "sqlite_schema") ||
                 StartsWithNoCase(a, "sqlite_temp_"))) {
                return Deny(
                    tarmel::Latin1FromUtf8("instruction non autorisée : modification du schéma"));
            }
            return Deny(tarmel::Latin1FromUtf8("écriture non autorisée dans la table ") + Text(a));
        default:
            // DDL, PRAGMA, ATTACH, transactions, savepoints, ANALYZE, recursive CTEs, ...
            return Deny(tarmel::Latin1FromUtf8("instruction non autorisée : ") +
                        tarmel::Latin1FromUtf8(ActionName(action)));
    }
}

}  // namespace tarmel::dataserver
