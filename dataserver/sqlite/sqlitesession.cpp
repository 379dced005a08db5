// SqlStatement over sqlite3_stmt: the statement is always finalized, and a failure is kept.
#include "dataserver/sqlite/sqlitesession.h"

#include "dataserver/cellformat.h"

namespace tarmel::dataserver {

namespace {

std::string MessageOf(sqlite3* db) {
    const char* message = sqlite3_errmsg(db);
    return message != nullptr && *message != '\0' ? message : "erreur SQLite";
}

class SqliteStatement : public SqlStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
        if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), 0, &stmt_, nullptr) !=
                SQLITE_OK ||
            stmt_ == nullptr) {
            error_ = MessageOf(db);
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqlStatement& Bind(int i, std::string_view text) override {
        if (stmt_ != nullptr) {
            sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        }
        return *this;
    }
    SqlStatement& Bind(int i, int64_t value) override {
        if (stmt_ != nullptr) sqlite3_bind_int64(stmt_, i, value);
        return *this;
    }
    SqlStatement& BindReal(int i, double value) override {
        if (stmt_ != nullptr) sqlite3_bind_double(stmt_, i, value);
        return *this;
    }
    bool Step() override {
        if (stmt_ == nullptr || !error_.empty()) return false;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) error_ = MessageOf(db_);
        return false;
    }
    void Reset() override {
        if (stmt_ == nullptr) return;
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        error_.clear();
    }
    int Columns() const override { return stmt_ ? sqlite3_column_count(stmt_) : 0; }
    std::string Name(int col) const override {
        const char* name = sqlite3_column_name(stmt_, col);
        return name ? name : "";
    }
    std::string Cell(int col) const override {
        std::string out;
        AppendCell(stmt_, col, out);
        return out;
    }
    std::string Text(int col) const override {
        const unsigned char* t = sqlite3_column_text(stmt_, col);
        return t ? std::string(reinterpret_cast<const char*>(t),
                               static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
                 : std::string();
    }
    int64_t Int(int col) const override { return sqlite3_column_int64(stmt_, col); }
    const std::string& error() const override { return error_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string error_;
};

}  // namespace

std::unique_ptr<SqlStatement> SqliteSession::Prepare(std::string_view sql) {
    return std::make_unique<SqliteStatement>(db_, sql);
}

bool SqliteSession::Exec(std::string_view sql, std::string& error) {
    char* message = nullptr;
    const std::string text(sql);
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) error = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

}  // namespace tarmel::dataserver
