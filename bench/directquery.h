// A SELECT prepared and stepped in-process, as the data server does for one search: the
// benchmarks compare the server's answer time with this.
#pragma once

#include <sqlite3.h>

#include <string>

namespace tarmel::bench {

// Prepares sql and reads every column of its first `rows` + 1 rows (the server reads one more to
// know whether the list goes on).
inline void ReadFirstRows(sqlite3* connection, const std::string& sql, int rows = 50) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v3(connection, sql.c_str(), -1, 0, &stmt, nullptr);
    int read = 0;
    while (read <= rows && sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_text(stmt, c);
        ++read;
    }
    sqlite3_finalize(stmt);
}

}  // namespace tarmel::bench
