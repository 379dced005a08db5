// Reading what the data server stored, straight from its SQLite file (read-only, beside the
// running server).
#pragma once

#include <string>

namespace tarmel::testsupport {

// The first column of the first row of a query, "" when there is none or it is NULL.
std::string FirstValue(const std::string& database, const std::string& sql);

}  // namespace tarmel::testsupport
