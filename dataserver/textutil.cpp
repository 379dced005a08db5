// ASCII text helpers.
#include "dataserver/textutil.h"

namespace tarmel::dataserver {

std::string Msg(std::string_view utf8) { return Latin1FromUtf8(utf8); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimWhitespace(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r' || text[b] == '\n')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r' ||
                     text[e - 1] == '\n'))
        --e;
    return text.substr(b, e - b);
}

}  // namespace tarmel::dataserver
