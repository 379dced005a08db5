// The data server's endpoints under the base path: the route table and the one error document.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dataserver/database.h"
#include "dataserver/httpserver.h"

namespace tarmel::dataserver {

struct EndpointConfig {
    std::string base = "/tarmel/";               // BaseHRef's path, with its trailing "/"
    std::string photos;                          // folder of the vehicle photos
    std::string imagesPath = "/tarmel/images/";  // path part of URLImages
    int64_t defaultMaxRows = 10000;              // row cap of an AxQuery without MaxRows
};

// The answer to one client statement ("AxUpdate", "AxInsert"): translated, guarded, run in its own
// transaction; ok tells whether it was written.
struct StatementAnswer {
    bool ok = false;
    std::string document;
};
// beforeCommit: see Database::Execute.
StatementAnswer RunStatement(Database& db, std::string_view clientSql,
                             const std::function<bool(std::string& error)>& beforeCommit = {});

// The answer to one client query ("AxQuery"): a rowset of at most maxRows rows, or the rowset
// root carrying a LogItem.
std::string QueryAnswer(Database& db, std::string_view clientSql, int64_t maxRows);

// Registers every endpoint on the server and installs the error writer.
void RegisterEndpoints(HttpServer& server, Database& db, const EndpointConfig& config);

// The error document of a request: the shape its endpoint's reader expects (a rowset for
// "AxQuery", a statement answer for the others) carrying one LogItem.
std::string ErrorDocument(std::string_view path, const std::string& message);

}  // namespace tarmel::dataserver
