// The document endpoints under the base path: "AxInfoVO", "AxInfoCL", "AxInfoEquip" and
// "AxInfoStruct" (GET), each answered from a pooled read-only connection.
#pragma once

#include "dataserver/database.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"

namespace tarmel::dataserver {

void RegisterDocumentEndpoints(HttpServer& server, Database& db, const EndpointConfig& config);

}  // namespace tarmel::dataserver
