// What the data-server tests need around the real server: the client's requests, the answers read
// as the client reads them, and a fingerprint of the database and folders.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/dataserver/rawhttp.h"
#include "tests/support/dataserverprocess.h"

namespace tarmel::testsupport {

struct Rowset {
    std::string raw;
    std::string rowCount;                                  // the "RowCount" attribute
    std::string eof;                                       // the "EOF" attribute
    std::vector<std::map<std::string, std::string>> rows;  // children of each "AXQuery" item
    std::vector<std::vector<std::string>> columnOrder;     // child names of each item, in order
    std::vector<std::string> logItems;
};

struct Outcome {
    std::string raw;
    std::string newId;  // "OutParams"/"NewID"
    std::vector<std::string> logItems;
};

// The texts of the "LogItem" elements of a document.
std::vector<std::string> LogItemsOf(const std::string& document);

// "AxQuery" with the statement as the client builds it (MaxRows added when given); the answer
// must be well-formed and HTTP 200 (checked with gtest expectations).
Rowset Query(const DataServerProcess& server, const std::string& sql, int maxRows = 0);
// "AxUpdate" or "AxInsert" (GET) with the statement as the client builds it.
Outcome Execute(const DataServerProcess& server, const std::string& endpoint,
                const std::string& sql);

// Every table's rows and the schema, as one text; equal before and after means nothing changed.
std::string DatabaseFingerprint(const std::string& databasePath);
// The files under a folder (recursively), except SQLite's own -wal, -shm and journal files and
// the server's logs.
std::vector<std::string> FilesUnder(const std::string& folder);

}  // namespace tarmel::testsupport
