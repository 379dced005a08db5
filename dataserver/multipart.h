// multipart/form-data bodies: the photo upload and the SMS request. The body is complete and
// already bounded by the HTTP layer when it is parsed here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmel::dataserver {

struct FormPart {
    std::string name;
    std::optional<std::string> filename;  // present for a file part
    std::string contentType;
    std::string data;  // the part's bytes, exactly as sent
};

// The boundary named by a Content-Type header ("multipart/form-data; boundary=..."), quoted or
// not; nullopt when the header is not multipart or names none.
std::optional<std::string> BoundaryOf(std::string_view contentType);

// The boundary of a body whose first line is a delimiter ("--" + boundary); used when a client
// labelled a multipart body with another content type.
std::optional<std::string> BoundaryFromBody(std::string_view body);

// Splits the body into its parts. False with a French message when the body is not a complete
// multipart document (missing closing delimiter, a part without a name, more than maxParts parts).
bool ParseMultipart(std::string_view body, std::string_view boundary, std::vector<FormPart>& parts,
                    std::string& error, size_t maxParts = 16);

}  // namespace tarmel::dataserver
