// The data server's endpoints under the base path: the route table and the statement answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dataserver/database.h"
#include "dataserver/httpserver.h"
#include "dataserver/refusal.h"

namespace tarmel::dataserver {

struct EndpointConfig {
    std::string base = "/tarmel/";               // BaseHRef's path, with its trailing "/"
    std::string photos;                          // folder of the vehicle photos
    std::string imagesPath = "/tarmel/images/";  // path part of URLImages
    int64_t defaultMaxRows = 10000;              // row cap of an AxQuery without MaxRows
    std::string smsPath{kSmsPath};               // the SMS tool, outside the base path
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

// The endpoint a request path addresses: a name under the base path, the SMS path, or a photo
// under the images path.
Endpoint EndpointAt(const EndpointConfig& config, std::string_view path);

// Registers every endpoint on the server and installs the error writer, which answers every
// refusal of the HTTP layer with the Refusal of the endpoint asked.
void RegisterEndpoints(HttpServer& server, Database& db, const EndpointConfig& config);

}  // namespace tarmel::dataserver
