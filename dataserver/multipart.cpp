// multipart/form-data parsing.
#include "dataserver/multipart.h"

#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

// The value of a parameter (name="value" or name=value) inside a header line, from its start.
std::optional<std::string> HeaderParameter(std::string_view line, std::string_view name) {
    size_t pos = 0;
    while (pos < line.size()) {
        size_t semi = line.find(';', pos);
        std::string_view item =
            line.substr(pos, semi == std::string_view::npos ? std::string_view::npos : semi - pos);
        item = TrimWhitespace(item);
        size_t eq = item.find('=');
        if (eq != std::string_view::npos &&
            EqualsNoCase(TrimWhitespace(item.substr(0, eq)), name)) {
            std::string_view value = TrimWhitespace(item.substr(eq + 1));
            if (value.size() >= 2 && value.front() == '"') {
                // A quoted value may hold ";": take it up to its closing quote.
                size_t open = line.find('"', pos);
                size_t close = line.find('"', open + 1);
                if (close == std::string_view::npos) return std::nullopt;
                return std::string(line.substr(open + 1, close - open - 1));
            }
            return std::string(value);
        }
        if (semi == std::string_view::npos) break;
        pos = semi + 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> BoundaryOf(std::string_view contentType) {
    if (!StartsWithNoCase(TrimWhitespace(contentType), "multipart/")) return std::nullopt;
    auto boundary = HeaderParameter(contentType, "boundary");
    if (!boundary || boundary->empty() || boundary->size() > 200) return std::nullopt;
    return boundary;
}

std::optional<std::string> BoundaryFromBody(std::string_view body) {
    if (body.size() < 3 || body[0] != '-' || body[1] != '-') return std::nullopt;
    size_t end = body.find("\r\n");
    if (end == std::string_view::npos || end <= 2 || end > 202) return std::nullopt;
    std::string boundary(body.substr(2, end - 2));
    return boundary;
}

bool ParseMultipart(std::string_view body, std::string_view boundary, std::vector<FormPart>& parts,
                    std::string& error, size_t maxParts) {
    parts.clear();
    const std::string delimiter = "--" + std::string(boundary);
    auto fail = [&](std::string_view utf8) {
        error = tarmel::Latin1FromUtf8(utf8);
        parts.clear();
        return false;
    };
    size_t pos;
    if (body.substr(0, delimiter.size()) == delimiter) {
        pos = 0;
    } else {
        pos = body.find("\r\n" + delimiter);
        if (pos == std::string_view::npos) return fail("Formulaire illisible : délimiteur absent");
        pos += 2;
    }
    const std::string next = "\r\n" + delimiter;
    while (true) {
        pos += delimiter.size();
        if (body.substr(pos, 2) == "--") return true;  // closing delimiter
        // Optional blanks, then the line end of the delimiter line.
        while (pos < body.size() && (body[pos] == ' ' || body[pos] == '\t')) ++pos;
        if (body.substr(pos, 2) != "\r\n")
            return fail("Formulaire illisible : délimiteur mal formé");
        pos += 2;
        size_t headEnd = body.find("\r\n\r\n", pos);
        if (headEnd == std::string_view::npos)
            return fail("Formulaire illisible : en-têtes incomplets");
        if (parts.size() >= maxParts) return fail("Formulaire refusé : trop de parties");
        FormPart part;
        bool named = false;
        std::string_view head = body.substr(pos, headEnd - pos);
        size_t lineStart = 0;
        while (lineStart <= head.size()) {
            size_t lineEnd = head.find("\r\n", lineStart);
            if (lineEnd == std::string_view::npos) lineEnd = head.size();
            std::string_view line = head.substr(lineStart, lineEnd - lineStart);
            size_t colon = line.find(':');
            if (colon != std::string_view::npos) {
                std::string_view key = TrimWhitespace(line.substr(0, colon));
                std::string_view value = line.substr(colon + 1);
                if (EqualsNoCase(key, "Content-Disposition")) {
                    auto name = HeaderParameter(value, "name");
                    if (name) {
                        part.name = *name;
                        named = true;
                    }
                    part.filename = HeaderParameter(value, "filename");
                } else if (EqualsNoCase(key, "Content-Type")) {
                    part.contentType = std::string(TrimWhitespace(value));
                }
            }
            lineStart = lineEnd + 2;
        }
        if (!named) return fail("Formulaire illisible : partie sans nom");
        size_t dataStart = headEnd + 4;
        size_t dataEnd = body.find(next, dataStart);
        if (dataEnd == std::string_view::npos)
            return fail("Formulaire illisible : partie non terminée");
        part.data = std::string(body.substr(dataStart, dataEnd - dataStart));
        parts.push_back(std::move(part));
        pos = dataEnd + 2;
    }
}

}  // namespace tarmel::dataserver
