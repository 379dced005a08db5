// Shared pieces of the demo tests: one small demo database built once per test program and plain
// SQL helpers.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "dataserver/demodata.h"

namespace tarmel::testsupport {

struct DemoDatabase {
    std::string path;
    std::string photos;
    sqlite3* db = nullptr;  // read-only connection, open for the whole program
};

// The demo built with the default options into a scratch folder (once).
const DemoDatabase& SharedDemo();

// Builds a demo into dir (path dir/name.db, photos in dir/name.photos); fails the test on error.
std::string BuildDemo(const std::string& dir, const std::string& name,
                      const tarmel::dataserver::DemoOptions& options, bool photos = true);

int64_t ScalarInt(sqlite3* db, const std::string& sql);
std::string ScalarText(sqlite3* db, const std::string& sql);
// Every row of a query as one text (cells separated by '|', rows by '\n').
std::string Dump(sqlite3* db, const std::string& sql);

}  // namespace tarmel::testsupport
