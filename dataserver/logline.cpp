// Escaping request text for the server's log.
#include "dataserver/logline.h"

namespace tarmel::dataserver {

std::string LogText(std::string_view raw) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    out.reserve(raw.size());
    for (char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (byte >= 0x80 && byte < 0xa0) || byte == '\\') {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        } else if (byte < 0x80) {
            out += c;
        } else {
            // Latin-1 to UTF-8: two bytes for U+00A0..U+00FF.
            out += static_cast<char>(0xc0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    return out;
}

}  // namespace tarmel::dataserver
