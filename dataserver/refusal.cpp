// The refusal answers, one row per endpoint.
#include "dataserver/refusal.h"

#include <iterator>

#include "dataserver/textutil.h"
#include "dataserver/xmlanswer.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

struct Shape {
    Endpoint endpoint;
    std::string_view name;  // under the base path; empty for the paths outside it
    std::string_view root;  // of the XML answers; empty when the answer is not XML
};

// The roots are those of the endpoints' own answers (endpoints.cpp, documents/documents.cpp,
// reports.cpp): a reader that looks for the root of a good answer finds the refusal's LogItem.
constexpr Shape kShapes[] = {
    {Endpoint::Query, "AxQuery", "AXQueryS"},
    {Endpoint::Statement, "AxUpdate", "AXExecute"},
    {Endpoint::Statement, "AxInsert", "AXExecute"},
    {Endpoint::InfoVO, "AxInfoVO", "AxInfoVO"},
    {Endpoint::InfoCL, "AxInfoCL", "AxInfoCL"},
    {Endpoint::InfoEquip, "AxInfoEquip", "AxInfoEquip"},
    {Endpoint::InfoStruct, "AxInfoStruct", "axStructS"},
    {Endpoint::Report, "ReportPDF", "ReportPDF"},
    {Endpoint::Sms, "", ""},
    {Endpoint::Photos, "", ""},
    {Endpoint::Unknown, "", "AXExecute"},
};

const Shape& ShapeOf(Endpoint endpoint) {
    for (const Shape& s : kShapes) {
        if (s.endpoint == endpoint) return s;
    }
    return kShapes[std::size(kShapes) - 1];
}

}  // namespace

Endpoint EndpointNamed(std::string_view name) {
    for (const Shape& s : kShapes) {
        if (!s.name.empty() && EqualsNoCase(s.name, name)) return s.endpoint;
    }
    return Endpoint::Unknown;
}

std::string_view AnswerRoot(Endpoint endpoint) {
    return ShapeOf(endpoint).root;
}

Response Refusal(Endpoint endpoint, const std::string& message) {
    Response response;
    response.status = 200;
    response.contentType = "text/xml; charset=ISO-8859-1";
    switch (endpoint) {
        case Endpoint::Sms:
            response.contentType = "text/plain; charset=ISO-8859-1";
            response.body = tarmel::Latin1FromUtf8("telephonySmsSend en échec : ") + message;
            return response;
        case Endpoint::Photos:
            response.status = 404;
            response.contentType = "text/plain; charset=ISO-8859-1";
            response.body = message;
            return response;
        case Endpoint::Query: {
            AnswerWriter w(AnswerRoot(endpoint), {{"RowCount", "0"}, {"EOF", "1"}});
            response.body = w.Finish({message});
            return response;
        }
        default:
            response.body = LogDocument(AnswerRoot(endpoint), {message});
            return response;
    }
}

}  // namespace tarmel::dataserver
