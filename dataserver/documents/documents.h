// The documents the client reads whole: the structure description ("AxInfoStruct"), the value
// lists ("AxInfoEquip") and the record documents of a vehicle ("AxInfoVO") and of a client
// ("AxInfoCL"). Each builder reads the database through the given (read-only) connection,
// finalizes every statement it prepares, and returns a Latin-1 XML document, or the message of
// the read that failed.
#pragma once

#include <string>
#include <string_view>

#include "dataserver/querystring.h"
#include "dataserver/sqlsession.h"

namespace tarmel::dataserver {

// A builder's answer: the document, or (error set, document empty) the database's message for the
// first statement that could not be prepared or stepped; the builder stops there.
struct BuiltDocument {
    std::string document;
    std::string error;
};

// "axStructS" with one "axStruct" per entry, for the parameter "UserConcession".
BuiltDocument BuildStructDocument(SqlSession& db, const QueryParams& params);
// "AxInfoEquip" holding "ParsS", "InfoComS", "MarksS", "ModelsS", "VNMarksS", "VNModelsS",
// "VNVersionsS", "InfoSiteS" and one container per option list, for "UserConcession".
BuiltDocument BuildEquipDocument(SqlSession& db, const QueryParams& params);
// "AxInfoVO": "User", "GNames", "OptDates", "tVO", "ImageS", "ResaS", "FrevoS" for the
// parameters "idTVO" and "UserID". today is "dd/mm/yyyy" (written as "Now").
BuiltDocument BuildVehicleDocument(SqlSession& db, const QueryParams& params,
                                   std::string_view today);
// "AxInfoCL": "User", "GNames", "OptDates", "TVC", "TActS", "TVehS" for "idClient" and "UserID".
BuiltDocument BuildClientDocument(SqlSession& db, const QueryParams& params,
                                  std::string_view today);

// Today's date on the server, "dd/mm/yyyy".
std::string ServerToday();

}  // namespace tarmel::dataserver
