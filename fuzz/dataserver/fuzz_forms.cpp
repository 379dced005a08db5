// Arbitrary bytes through what the data server reads before any SQL: the raw query string and the
// multipart form of the photo upload and the SMS request.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/multipart.h"
#include "dataserver/querystring.h"
#include "dataserver/uploads.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarmel::dataserver;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Every decoded byte comes from the input: decoding never grows the text.
    for (const auto& [name, value] : ParseQuery(input)) {
        if (name.size() + value.size() > size) std::abort();
    }
    (void)SplitTarget(input);

    // The first line names the boundary, as a client's body does; the parts must lie inside it.
    std::vector<FormPart> parts;
    std::string error;
    if (auto boundary = BoundaryFromBody(input)) {
        if (ParseMultipart(input, *boundary, parts, error)) {
            size_t total = 0;
            for (const FormPart& p : parts) total += p.name.size() + p.data.size();
            if (total > size || !error.empty()) std::abort();
        } else if (error.empty() || !parts.empty()) {
            std::abort();  // a refusal always says why and keeps nothing
        }
    }
    (void)BoundaryOf(input);
    if (IsSafePhotoName(input) &&
        (input.find('/') != std::string_view::npos || input.find('\\') != std::string_view::npos ||
         input.find("..") != std::string_view::npos ||
         input.find('\0') != std::string_view::npos)) {
        std::abort();
    }
    return 0;
}
