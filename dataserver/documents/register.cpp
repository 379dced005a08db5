// Routes of the document endpoints: each handler runs its builder on a read-only connection of
// the pool; a builder never throws past the handler, so a fault becomes a LogItem answer.
#include "dataserver/documents/register.h"

#include <exception>
#include <functional>
#include <string>

#include "dataserver/documents/documents.h"
#include "dataserver/refusal.h"

namespace tarmel::dataserver {

namespace {

using Builder = std::function<std::string(sqlite3*, const QueryParams&)>;

void Answer(Database& db, Endpoint endpoint, const Builder& build, const Request& request,
            Response& response) {
    std::string body;
    try {
        db.Read([&](sqlite3* connection) { body = build(connection, request.params); });
    } catch (const std::exception& e) {
        response = Refusal(endpoint, std::string("Erreur interne : ") + e.what());
        return;
    }
    response.status = 200;
    response.body = std::move(body);
}

}  // namespace

void RegisterDocumentEndpoints(HttpServer& server, Database& db, const EndpointConfig& config) {
    struct DocumentRoute {
        const char* name;
        Endpoint endpoint;
        Builder build;
    };
    const DocumentRoute routes[] = {
        {"AxInfoStruct", Endpoint::InfoStruct, BuildStructDocument},
        {"AxInfoEquip", Endpoint::InfoEquip, BuildEquipDocument},
        {"AxInfoVO", Endpoint::InfoVO,
         [](sqlite3* c, const QueryParams& p) { return BuildVehicleDocument(c, p, ServerToday()); }},
        {"AxInfoCL", Endpoint::InfoCL,
         [](sqlite3* c, const QueryParams& p) { return BuildClientDocument(c, p, ServerToday()); }},
    };
    for (const DocumentRoute& e : routes) {
        const Endpoint endpoint = e.endpoint;
        Builder build = e.build;
        server.Route("GET", config.base + e.name,
                     [&db, endpoint, build](const Request& request, Response& response) {
                         Answer(db, endpoint, build, request, response);
                     });
    }
}

}  // namespace tarmel::dataserver
