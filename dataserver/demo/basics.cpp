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

int AnchorDay() {
    return DaysFromCivil(kAnchorYear, kAnchorMonth, kAnchorDay);
}

Inserter::Inserter(SqlSession& db, std::string_view table,
                   std::initializer_list<const char*> columns) {
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
    stmt_ = db.Prepare(sql);
    table_ = table;
}

Inserter::~Inserter() = default;

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
    if (i > 0) stmt_->Bind(i, latin1);
    return *this;
}

Inserter& Inserter::Utf8(const char* column, std::string_view utf8) {
    return Text(column, Latin1FromUtf8(utf8));
}

Inserter& Inserter::Int(const char* column, int64_t value) {
    const int i = Index(column);
    if (i > 0) stmt_->Bind(i, value);
    return *this;
}

Inserter& Inserter::Real(const char* column, double value) {
    const int i = Index(column);
    if (i > 0) stmt_->BindReal(i, value);
    return *this;
}

Inserter& Inserter::Date(const char* column, int days) {
    return Text(column, IsoDate(days));
}

bool Inserter::Run() {
    if (!error_.empty()) return false;
    stmt_->Step();
    if (!stmt_->error().empty()) {
        error_ = "cannot insert into " + table_ + ": " + stmt_->error();
        return false;
    }
    stmt_->Reset();
    return true;
}

}  // namespace tarmel::dataserver::demo
