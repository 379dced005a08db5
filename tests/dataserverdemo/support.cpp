// Shared pieces of the demo tests.
#include "tests/dataserverdemo/support.h"

#include <gtest/gtest.h>

#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {

const DemoDatabase& SharedDemo() {
    static ScratchDir dir;
    static DemoDatabase demo = [] {
        DemoDatabase d;
        d.path = BuildDemo(dir.str(), "demo", {});
        d.photos = dir.file("demo.photos");
        if (sqlite3_open_v2(d.path.c_str(), &d.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << d.path;
        }
        return d;
    }();
    return demo;
}

std::string BuildDemo(const std::string& dir, const std::string& name,
                      const tarmel::dataserver::DemoOptions& options, bool photos) {
    const std::string path = dir + "/" + name + ".db";
    std::string error;
    const bool ok = tarmel::dataserver::BuildDemoDatabase(
        path, photos ? dir + "/" + name + ".photos" : std::string(), options, error);
    EXPECT_TRUE(ok) << error;
    return path;
}

int64_t ScalarInt(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    int64_t v = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        v = sqlite3_column_int64(st, 0);
    } else {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    return v;
}

std::string ScalarText(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    std::string v;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        if (t) v = reinterpret_cast<const char*>(t);
    } else {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    return v;
}

std::string Dump(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
        return out;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const unsigned char* t = sqlite3_column_text(st, c);
            if (t) out += reinterpret_cast<const char*>(t);
            out += '|';
        }
        out += '\n';
    }
    sqlite3_finalize(st);
    return out;
}

}  // namespace tarmel::testsupport
