// The demo dealership: a French dealership group with sites, staff, users, value lists, vehicles
// of the three families and clients, built at any size (the benchmark uses 100,000 of each).
#pragma once

#include <string>

#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

struct DemoOptions {
    int vehicles = 60;
    int clients = 40;
    unsigned seed = 20260101;
};

// Creates the database file with the schema and fills it, unless the file already exists (then
// nothing happens and true is returned). Photos of the demo vehicles go into photoDir. The file
// is built under a temporary name and renamed when complete. The same seed and sizes always
// give the same records.
bool BuildDemoDatabase(const std::string& path, const std::string& photoDir,
                       const DemoOptions& options, std::string& error);

// Fills an empty schema (open connection, inside the caller's transaction); photos of the demo
// vehicles are written into photoDir unless it is empty.
bool FillDemo(SqlSession& db, const DemoOptions& options, const std::string& photoDir,
              std::string& error);

}  // namespace tarmel::dataserver
