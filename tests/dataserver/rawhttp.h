// A plain-socket HTTP client for the data-server tests: sends the request bytes exactly as given
// (no encoding, no header the test did not ask for) and reads one answer.
#pragma once

#include <string>
#include <vector>

namespace tarmel::testsupport {

struct HttpAnswer {
    int status = 0;  // 0 when no answer came
    std::string head;
    std::string body;

    std::string header(const std::string& name) const;
};

// Sends the raw request (request line, headers, blank line, body) to 127.0.0.1:port and reads the
// answer up to its Content-Length or the end of the connection.
HttpAnswer RawRequest(int port, const std::string& request, int timeoutMs = 20000);

// GET of a target exactly as the client sends it: blanks as "%20", "#" as "%23", nothing else
// encoded, "&idClient=" appended.
HttpAnswer ClientGet(int port, const std::string& target, const std::string& idClient = "");

// A multipart/form-data POST; each part is {name, filename (empty for a text field), bytes}.
struct Part {
    std::string name;
    std::string filename;
    std::string data;
};
HttpAnswer MultipartPost(int port, const std::string& path, const std::vector<Part>& parts,
                         const std::string& contentType = "");
// The bytes of that POST, for RawRequest.
std::string MultipartRequest(const std::string& path, const std::vector<Part>& parts,
                             const std::string& contentType = "");

}  // namespace tarmel::testsupport
