// "ReportPDF": the printed forms as PDF documents drawn with cairo. The client's sheet ("Fiche
// Clarum"), a vehicle's commercial sheet ("VO", "VD" or "VN" + " - Fiche Commerciale", and the
// demonstration vehicle's "2" variant without prices) and the margin sheet ("VO - Feuille de
// Marge").
#pragma once

#include <string>
#include <string_view>

#include "dataserver/database.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"

namespace tarmel::dataserver {

// The selection of a report: "idVO=" or "idClient=" followed by digits.
struct ReportSelection {
    bool vehicle = false;
    long long id = 0;
};
bool ParseReportSelection(std::string_view text, ReportSelection& selection);

// Renders the named report for the selection into pdf; false with a Latin-1 message when the
// report name is unknown, does not fit the selection, or the record does not exist.
bool RenderReport(Database& db, const EndpointConfig& config, std::string_view reportName,
                  const ReportSelection& selection, std::string& pdf, std::string& error);

// The endpoint: parameters "rptSelect" and "rptName"; a PDF, or a LogItem document.
void HandleReport(Database& db, const EndpointConfig& config, const Request& request,
                  Response& response);

}  // namespace tarmel::dataserver
