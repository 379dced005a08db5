// Routes of the document endpoints: each handler runs its builder on a read-only connection of
// the pool; a builder never throws past the handler, so a fault becomes a LogItem answer.
#include "dataserver/documents/register.h"

#include <exception>
#include <functional>
#include <string>

#include "dataserver/documents/documents.h"
#include "dataserver/xmlanswer.h"

namespace tarmel::dataserver {

namespace {

using Builder = std::function<std::string(sqlite3*, const QueryParams&)>;

void Answer(Database& db, const char* root, const Builder& build, const Request& request,
            Response& response) {
    std::string body;
    try {
        db.Read([&](sqlite3* connection) { body = build(connection, request.params); });
    } catch (const std::exception& e) {
        body = LogDocument(root, {std::string("Erreur interne : ") + e.what()});
    }
    response.status = 200;
    response.body = std::move(body);
}

}  // namespace

void RegisterDocumentEndpoints(HttpServer& server, Database& db, const EndpointConfig& config) {
    struct Endpoint {
        const char* name;
        const char* root;
        Builder build;
    };
    const Endpoint endpoints[] = {
        {"AxInfoStruct", "axStructS", BuildStructDocument},
        {"AxInfoEquip", "AxInfoEquip", BuildEquipDocument},
        {"AxInfoVO", "AxInfoVO",
         [](sqlite3* c, const QueryParams& p) { return BuildVehicleDocument(c, p, ServerToday()); }},
        {"AxInfoCL", "AxInfoCL",
         [](sqlite3* c, const QueryParams& p) { return BuildClientDocument(c, p, ServerToday()); }},
    };
    for (const Endpoint& e : endpoints) {
        const char* root = e.root;
        Builder build = e.build;
        server.Route("GET", config.base + e.name,
                     [&db, root, build](const Request& request, Response& response) {
                         Answer(db, root, build, request, response);
                     });
    }
}

}  // namespace tarmel::dataserver
