// The one answer to a refused request. Whoever refuses (the HTTP layer before the body is read, a
// handler, a statement, a document builder), the answer is written here, in the form of the
// endpoint's own answer: the client's reader for that endpoint finds the root element it looks
// for, and the message in its "LogItem".
#pragma once

#include <string>
#include <string_view>

#include "dataserver/httpserver.h"

namespace tarmel::dataserver {

// The default path of the SMS tool, outside the base path.
inline constexpr std::string_view kSmsPath = "/tools/smssend/smssend.php5";

// The endpoints, by the shape of their answer.
enum class Endpoint {
    Query,       // "AxQuery": rowset "AXQueryS"
    Statement,   // "AxUpdate", "AxInsert" (GET, and the photo upload's POST): "AXExecute"
    InfoVO,      // "AxInfoVO"
    InfoCL,      // "AxInfoCL"
    InfoEquip,   // "AxInfoEquip"
    InfoStruct,  // "AxInfoStruct": "axStructS"
    Report,      // "ReportPDF": a PDF, or a "ReportPDF" document
    Sms,         // the SMS path: one line of plain text
    Photos,      // the photo files under the images path
    Unknown,     // no endpoint: answered like a statement
};

// The endpoint of that name under the base path ("AxQuery", "AxInfoVO"...; ASCII case ignored),
// Unknown for any other name.
Endpoint EndpointNamed(std::string_view name);

// The root element of the endpoint's XML answers; empty for the SMS path and the photos, whose
// answers are not XML.
std::string_view AnswerRoot(Endpoint endpoint);

// The refusal of a request to that endpoint, carrying the Latin-1 message:
// - an XML endpoint: HTTP 200 and a document under the endpoint's root holding one "LogItem"
//   (an "AXQueryS" with RowCount "0" and EOF "1", so the rowset reader sees no rows);
// - the SMS path: HTTP 200 and "telephonySmsSend en échec : " + message, as plain text (only
//   "telephonySmsSend successfull" means sent);
// - the photos: HTTP 404 and the message as plain text, so an image reader shows no image.
Response Refusal(Endpoint endpoint, const std::string& message);

}  // namespace tarmel::dataserver
