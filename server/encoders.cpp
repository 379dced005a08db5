// SQL text encoders for statements sent in URLs.
#include "server/encoders.h"

#include "server/dates.h"

namespace tarmel {

std::string_view TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string SqlText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    text = TrimBlanks(text);
    std::string out = "'";
    out.reserve(text.size() + 8);
    for (const char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '"': out += "%22"; break;
            case '&': out += "%26"; break;
            case '<': out += "%3C"; break;
            case '>': out += "%3E"; break;
            case '\'': out += "''"; break;
            default: {
                // Control bytes (a tab pasted from a spreadsheet, a line break of a memo; CR LF
                // thus gives "%0D%0A") cannot stand in a URL: the HTTP client refuses it.
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7F) {
                    out += '%';
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0x0F];
                } else {
                    out += c;
                }
            }
        }
    }
    out += '\'';
    return out;
}

std::string SqlNumber(std::string_view text) {
    std::string out(TrimBlanks(text));
    for (char& c : out)
        if (c == ',') c = '.';
    return out;
}

std::string SqlDate(std::string_view text) {
    const auto date = ParseShortDate(text);
    if (!date || IsZeroDate(*date)) return "NULL";
    return "#" + FormatDate(*date, DateOrder::MonthFirst) + "#";
}

}  // namespace tarmel
