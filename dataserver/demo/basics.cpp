// The generator's basic tools: the seeded random source, calendar days and the named-column
// INSERT.
#include <string>

#include "dataserver/demo/demo.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver::demo {

uint64_t Random::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Random::Range(int low, int high) {
    if (high <= low) return low;
    const uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return low + static_cast<int>(Next() % span);
}

// Howard Hinnant's days_from_civil / civil_from_days.
int DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string IsoDate(int days) {
    int z = days + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int y = yoe + era * 400;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
    // Written by hand: the generator formats a few million dates.
    std::string out(10, '-');
    out[0] = static_cast<char>('0' + y / 1000 % 10);
    out[1] = static_cast<char>('0' + y / 100 % 10);
    out[2] = static_cast<char>('0' + y / 10 % 10);
    out[3] = static_cast<char>('0' + y % 10);
    out[5] = static_cast<char>('0' + m / 10);
    out[6] = static_cast<char>('0' + m % 10);
    out[8] = static_cast<char>('0' + d / 10);
    out[9] = static_cast<char>('0' + d % 10);
    return out;
}

int AnchorDay() { return DaysFromCivil(kAnchorYear, kAnchorMonth, kAnchorDay); }

Inserter::Inserter(sqlite3* db, std::string_view table,
                   std::initializer_list<const char*> columns)
    : db_(db) {
    std::string sql = "INSERT INTO " + std::string(table) + " (";
    std::string marks;
    int i = 0;
    for (const char* c : columns) {
        if (i > 0) {
            sql += ",";
            marks += ",";
        }
        sql += c;
        marks += "?";
        index_.emplace(c, ++i);
    }
    sql += ") VALUES (" + marks + ")";
    if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) !=
        SQLITE_OK) {
        error_ = std::string("cannot prepare the insert into ") + std::string(table) + ": " +
                 sqlite3_errmsg(db);
        stmt_ = nullptr;
    }
}

Inserter::~Inserter() { sqlite3_finalize(stmt_); }

int Inserter::Index(const char* column) {
    auto it = index_.find(column);
    if (it == index_.end()) {
        if (error_.empty()) error_ = std::string("no column ") + column + " in the insert";
        return 0;
    }
    return it->second;
}

Inserter& Inserter::Text(const char* column, std::string_view latin1) {
    const int i = Index(column);
    if (stmt_ && i > 0) {
        sqlite3_bind_text(stmt_, i, latin1.data(), static_cast<int>(latin1.size()),
                          SQLITE_TRANSIENT);
    }
    return *this;
}

Inserter& Inserter::Utf8(const char* column, std::string_view utf8) {
    return Text(column, Latin1FromUtf8(utf8));
}

Inserter& Inserter::Int(const char* column, int64_t value) {
    const int i = Index(column);
    if (stmt_ && i > 0) sqlite3_bind_int64(stmt_, i, value);
    return *this;
}

Inserter& Inserter::Real(const char* column, double value) {
    const int i = Index(column);
    if (stmt_ && i > 0) sqlite3_bind_double(stmt_, i, value);
    return *this;
}

Inserter& Inserter::Date(const char* column, int days) { return Text(column, IsoDate(days)); }

bool Inserter::Run() {
    if (!stmt_ || !error_.empty()) return false;
    const int rc = sqlite3_step(stmt_);
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    if (rc != SQLITE_DONE) {
        error_ = sqlite3_errmsg(db_);
        return false;
    }
    return true;
}

}  // namespace tarmel::dataserver::demo
