// Routes of the document endpoints: each handler runs its builder on a read-only connection of
// the pool and answers its document, or, when a read failed, the endpoint's refusal with the
// database's message. Nothing here catches: the builders give their faults as values, and what may
// still throw (std::bad_alloc) is refused by the HTTP layer's last-resort catch, under the same
// root.
#include "dataserver/documents/register.h"

#include <functional>
#include <string>

#include "dataserver/documents/documents.h"
#include "dataserver/refusal.h"

namespace tarmel::dataserver {

namespace {

using Builder = std::function<BuiltDocument(SqlSession&, const QueryParams&)>;

void Answer(Database& db, Endpoint endpoint, const Builder& build, const Request& request,
            Response& response) {
    BuiltDocument built;
    db.Read([&](SqlSession& connection) { built = build(connection, request.params); });
    if (!built.error.empty()) {
        response = Refusal(endpoint, "Erreur interne : " + built.error);
        return;
    }
    response.status = 200;
    response.body = std::move(built.document);
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
         [](SqlSession& c, const QueryParams& p) {
             return BuildVehicleDocument(c, p, ServerToday());
         }},
        {"AxInfoCL", Endpoint::InfoCL,
         [](SqlSession& c, const QueryParams& p) {
             return BuildClientDocument(c, p, ServerToday());
         }},
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
