// The statement guard of one SQLite connection: limits, defensive settings, an authorizer that
// answers DENY to everything but reads (and, for write requests, writes) of the known tables and
// a short list of functions, and a progress-handler deadline.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <string>

namespace tarmel::dataserver {

enum class GuardMode {
    Off,    // the server's own statements: everything allowed, no deadline
    Read,   // a client query: SELECT reads of readable tables
    Write,  // a client statement: reads plus INSERT/UPDATE/DELETE of writable tables
};

class StatementGuard {
public:
    // Installs the limits, the defensive settings, the authorizer and the progress handler on db,
    // which must outlive the guard. The guard starts in mode Off.
    explicit StatementGuard(sqlite3* db);
    StatementGuard(const StatementGuard&) = delete;
    StatementGuard& operator=(const StatementGuard&) = delete;

    // Arms the guard for one client statement (prepare and steps): clears what it saw and sets the
    // deadline budget from now.
    void Begin(GuardMode mode, std::chrono::milliseconds budget);
    // Back to mode Off, without deadline.
    void End();

    // Whether an armed guard's deadline has passed (then timedOut() holds too). The progress
    // handler only runs between virtual machine steps; the caller asks this between rows, when
    // each row is cheap to step but costly to copy.
    bool Expired();

    bool sawWrite() const { return sawWrite_; }
    // The table an INSERT of the statement writes (as the authorizer names it), empty when the
    // statement inserts nothing. Seen while the statement is prepared.
    const std::string& insertTable() const { return insertTable_; }
    bool timedOut() const { return timedOut_; }
    // Latin-1 description of the first action refused, empty when none was.
    const std::string& refusal() const { return refusal_; }

private:
    static int Authorize(void* self, int action, const char* a, const char* b, const char* dbName,
                         const char* trigger);
    static int Progress(void* self);
    int Decide(int action, const char* a, const char* b, const char* dbName);
    int Deny(std::string what);

    sqlite3* db_;
    GuardMode mode_ = GuardMode::Off;
    std::chrono::steady_clock::time_point deadline_{};
    bool sawWrite_ = false;
    std::string insertTable_;
    bool timedOut_ = false;
    std::string refusal_;
};

// Applies the sqlite3_limit bounds and the defensive sqlite3_db_config switches to a connection
// that runs client SQL.
void ApplyConnectionLimits(sqlite3* db);

}  // namespace tarmel::dataserver
