// SqlStatement over libpq: the first run sends the statement with its values; a statement run
// again (the demo's inserts) is prepared on the server once and reused, and on a pooled
// connection every statement stays prepared for the connection's life.
#include "dataserver/postgres/pgsession.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "dataserver/postgres/pgconnection.h"
#include "dataserver/postgres/pgschema.h"

namespace tarmel::dataserver {

namespace {

constexpr Oid kBoolOid = 16;

// The number of $n a translated statement uses: "?" takes the number after the highest so far,
// "?N" is N.
size_t ParameterCount(const std::vector<std::string>& params) {
    size_t highest = 0;
    for (const std::string& p : params) {
        const size_t n = p.size() > 1 ? std::strtoul(p.c_str() + 1, nullptr, 10) : highest + 1;
        highest = std::max(highest, n);
    }
    return highest;
}

class PgServerStatement : public SqlStatement {
public:
    PgServerStatement(PGconn* c, const PgCatalog& catalog, PgPreparedStatements* kept,
                      std::string_view sql)
        : c_(c), catalog_(catalog), kept_(kept) {
        PgStatement translated = ToPostgres(sql, catalog.names, PgSource::Server);
        if (!translated.ok) {
            error_ = translated.error.empty() ? "cannot translate the statement" : translated.error;
            return;
        }
        sql_ = std::move(translated.sql);
        values_.resize(ParameterCount(translated.params));
    }
    ~PgServerStatement() override {
        if (!prepared_.empty() && kept_ == nullptr) PgRun(c_, "DEALLOCATE " + prepared_);
    }
    PgServerStatement(const PgServerStatement&) = delete;
    PgServerStatement& operator=(const PgServerStatement&) = delete;

    SqlStatement& Bind(int i, std::string_view text) override {
        if (i >= 1 && static_cast<size_t>(i) <= values_.size()) values_[i - 1] = std::string(text);
        return *this;
    }
    SqlStatement& Bind(int i, int64_t value) override { return Bind(i, std::to_string(value)); }
    SqlStatement& BindReal(int i, double value) override {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", value);
        return Bind(i, std::string_view(buf));
    }
    bool Step() override {
        if (!error_.empty()) return false;
        if (!ran_) {
            ran_ = true;
            if (!Run()) return false;
        }
        ++row_;
        return result_ && row_ < PQntuples(result_.get());
    }
    void Reset() override {
        result_.reset();
        row_ = -1;
        ran_ = false;
        for (auto& v : values_) v.reset();
        if (!sql_.empty()) error_.clear();
    }
    int Columns() const override { return result_ ? PQnfields(result_.get()) : 0; }
    std::string Name(int col) const override { return PQfname(result_.get(), col); }
    std::string Cell(int col) const override {
        std::string out;
        if (PQgetisnull(result_.get(), row_, col)) return out;
        AppendPgCell(catalog_.kinds.Of(result_.get(), col),
                     PQftable(result_.get(), col) == InvalidOid, Value(col), out);
        return out;
    }
    // A flag reads as SQLite stores it, 1 or 0.
    std::string Text(int col) const override {
        if (PQftype(result_.get(), col) == kBoolOid) return Int(col) != 0 ? "1" : "0";
        return std::string(Value(col));
    }
    int64_t Int(int col) const override {
        const std::string_view v = Value(col);
        if (v == "t") return 1;
        return std::strtoll(std::string(v).c_str(), nullptr, 10);
    }
    const std::string& error() const override { return error_; }

private:
    std::string_view Value(int col) const {
        return {PQgetvalue(result_.get(), row_, col),
                static_cast<size_t>(PQgetlength(result_.get(), row_, col))};
    }
    bool Run() {
        std::vector<const char*> values;
        for (const auto& v : values_) values.push_back(v ? v->c_str() : nullptr);
        const int n = static_cast<int>(values.size());
        if (kept_ != nullptr && prepared_.empty()) {
            auto it = kept_->find(sql_);
            if (it != kept_->end()) prepared_ = it->second;
        }
        if ((runs_ == 1 || kept_ != nullptr) && prepared_.empty()) {
            static std::atomic<unsigned long> counter{0};
            const std::string name = "tarmel_s" + std::to_string(++counter);
            PgResult prepared(PQprepare(c_, name.c_str(), sql_.c_str(), n, nullptr));
            if (PgOk(prepared.get())) {
                prepared_ = name;
                if (kept_ != nullptr) kept_->emplace(sql_, name);
            }
        }
        result_.reset(
            prepared_.empty()
                ? PQexecParams(c_, sql_.c_str(), n, nullptr, values.data(), nullptr, nullptr, 0)
                : PQexecPrepared(c_, prepared_.c_str(), n, values.data(), nullptr, nullptr, 0));
        ++runs_;
        // A connection reset since forgot the statement: sent once more with its values.
        if (!prepared_.empty() && PgState(result_.get()) == "26000") {
            if (kept_ != nullptr) kept_->erase(sql_);
            prepared_.clear();
            result_.reset(
                PQexecParams(c_, sql_.c_str(), n, nullptr, values.data(), nullptr, nullptr, 0));
        }
        if (!PgOk(result_.get())) {
            error_ = PgMessage(c_, result_.get());
            result_.reset();
            return false;
        }
        return true;
    }

    PGconn* c_;
    const PgCatalog& catalog_;
    PgPreparedStatements* kept_;
    std::string sql_;
    std::vector<std::optional<std::string>> values_;
    PgResult result_;
    int row_ = -1;
    bool ran_ = false;
    int runs_ = 0;
    std::string prepared_;
    std::string error_;
};

}  // namespace

bool LoadPgCatalog(PGconn* c, PgCatalog& catalog, std::string& error) {
    PgResult r = PgRun(c,
                       "SELECT c.oid, c.relname, a.attnum, a.attname, t.typname "
                       "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
                       "JOIN pg_type t ON t.oid = a.atttypid "
                       "WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' "
                       "AND a.attnum > 0 AND NOT a.attisdropped");
    if (!PgOk(r.get())) {
        error = "cannot read the schema: " + PgMessage(c, r.get());
        return false;
    }
    for (int i = 0; i < PQntuples(r.get()); ++i) {
        const Oid table = static_cast<Oid>(std::strtoul(PQgetvalue(r.get(), i, 0), nullptr, 10));
        catalog.names.Add(PQgetvalue(r.get(), i, 1));
        catalog.names.Add(PQgetvalue(r.get(), i, 3));
        const std::string_view type = PQgetvalue(r.get(), i, 4);
        const int column = std::atoi(PQgetvalue(r.get(), i, 2));
        if (type == kPgDateDomain) catalog.kinds.Add(table, column, PgCellKind::Date);
        if (type == kPgMoneyDomain) catalog.kinds.Add(table, column, PgCellKind::Money);
    }
    return true;
}

std::unique_ptr<SqlStatement> PgSession::Prepare(std::string_view sql) {
    return std::make_unique<PgServerStatement>(c_, catalog_, prepared_, sql);
}

bool PgSession::Exec(std::string_view sql, std::string& error) {
    PgStatement translated = ToPostgres(sql, catalog_.names, PgSource::Server);
    if (!translated.ok) {
        error = translated.error;
        return false;
    }
    return PgExec(c_, translated.sql, error);
}

}  // namespace tarmel::dataserver
