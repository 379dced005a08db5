// Raw query-string parsing: "%XX" decoding and the "&" / first "=" split.
#include "dataserver/querystring.h"

#include "dataserver/textutil.h"

namespace tarmel::dataserver {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// True when the "&" at pos starts a new parameter: it is followed by a name of letters, digits
// and "_" and then "=" (or the end of the text, or another "&"). The client's search text is not
// encoded, so "A&B" inside a statement must stay in the statement.
bool StartsParameter(std::string_view raw, size_t pos) {
    size_t i = pos + 1;
    while (i < raw.size()) {
        char c = raw[i];
        bool nameChar =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!nameChar) break;
        ++i;
    }
    if (i == pos + 1) return i >= raw.size() || raw[i] == '&';
    return i >= raw.size() || raw[i] == '=' || raw[i] == '&';
}

bool IsStatementName(std::string_view name) {
    return EqualsNoCase(name, "SQL") || EqualsNoCase(name, "SQLExecute");
}

// The "&" that ends the item starting at from. Inside a statement ("SQL", "SQLExecute") an "&"
// within a quoted literal never ends it: the client's search text is sent unencoded, so a typed
// "R&D=1" must stay in its LIKE pattern.
size_t NextSeparator(std::string_view raw, size_t from) {
    const size_t firstAmp = raw.find('&', from);
    // The "=" of this item, looked for only up to its first "&" (a scan to the end for every
    // item would make a target of many "&" quadratic).
    const size_t nameEnd = raw.substr(from, firstAmp == std::string_view::npos
                                                ? std::string_view::npos
                                                : firstAmp - from)
                               .find('=');
    const size_t eq = nameEnd == std::string_view::npos ? nameEnd : from + nameEnd;
    const bool statement = eq != std::string_view::npos &&
                           IsStatementName(raw.substr(from, eq - from));
    if (!statement) {
        size_t pos = firstAmp;
        while (pos != std::string_view::npos && !StartsParameter(raw, pos))
            pos = raw.find('&', pos + 1);
        return pos;
    }
    bool inLiteral = false;
    for (size_t i = eq + 1; i < raw.size(); ++i) {
        if (raw[i] == '\'') {
            inLiteral = !inLiteral;
        } else if (raw[i] == '%' && i + 2 < raw.size() && raw[i + 1] == '2' && raw[i + 2] == '7') {
            inLiteral = !inLiteral;  // an encoded apostrophe
            i += 2;
        } else if (raw[i] == '&' && !inLiteral && StartsParameter(raw, i)) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string PercentDecode(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size()) {
            int hi = HexValue(raw[i + 1]);
            int lo = HexValue(raw[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(raw[i]);
    }
    return out;
}

QueryParams ParseQuery(std::string_view rawQuery) {
    QueryParams params;
    size_t start = 0;
    while (start <= rawQuery.size()) {
        size_t end = NextSeparator(rawQuery, start);
        if (end == std::string_view::npos) end = rawQuery.size();
        std::string_view item = rawQuery.substr(start, end - start);
        if (!item.empty()) {
            size_t eq = item.find('=');
            if (eq == std::string_view::npos) {
                params.emplace_back(PercentDecode(item), std::string());
            } else {
                params.emplace_back(PercentDecode(item.substr(0, eq)),
                                    PercentDecode(item.substr(eq + 1)));
            }
        }
        start = end + 1;
    }
    return params;
}

std::optional<std::string> FindParam(const QueryParams& params, std::string_view name) {
    for (const auto& [key, value] : params) {
        if (EqualsNoCase(key, name)) return value;
    }
    return std::nullopt;
}

std::pair<std::string_view, std::string_view> SplitTarget(std::string_view target) {
    size_t q = target.find('?');
    if (q == std::string_view::npos) return {target, std::string_view()};
    return {target.substr(0, q), target.substr(q + 1)};
}

}  // namespace tarmel::dataserver
