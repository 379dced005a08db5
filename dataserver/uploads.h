// The non-SQL paths of the data server: the photo upload of "AxInsert" (multipart POST), the
// photos under the images address, and the SMS path.
#pragma once

#include <string>
#include <string_view>

#include "dataserver/database.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"

namespace tarmel::dataserver {

// Largest photo file accepted, whatever the form's MAX_FILE_SIZE says.
constexpr size_t kMaxPhotoBytes = 4096000;

// A photo file name the server may create or serve: letters, digits, "-", "_" and ".", not
// starting with ".", ending in ".jpg" (any case), at most 100 characters. Path separators, "..",
// percent signs, NUL and every other byte are refused, so no client-given text ever becomes a path.
bool IsSafePhotoName(std::string_view name);

// "AxInsert" as a multipart POST: fields "NFImage", "SQLExecute", "MAX_FILE_SIZE", "NFImageMini"
// and two "File" parts (photo, then miniature). Both files are checked, written under temporary
// names, the statement runs, and only then are they renamed to their given names.
void HandlePhotoUpload(Database& db, const EndpointConfig& config, const Request& request,
                       Response& response);

// GET of a photo under the images path: the file of that name in the photo folder.
void HandlePhotoFile(const EndpointConfig& config, const Request& request, Response& response);

// The SMS path: records "destinataire" and "texte" and answers "telephonySmsSend successfull".
void HandleSms(Database& db, const Request& request, Response& response);

}  // namespace tarmel::dataserver
