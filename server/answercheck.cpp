// The answer check: the code page from the XML declaration, well-formedness and the top-level
// elements from libxml2's streaming reader, then the expectations of each endpoint.
#include "server/answercheck.h"

#include <libxml/xmlreader.h>

#include <array>
#include <cctype>
#include <mutex>
#include <vector>

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

// What the window's readers need of a good answer of each endpoint.
struct Expected {
    std::string_view endpoint;
    std::string_view root;
    std::array<std::string_view, 2> once;  // children of the root taken once
    std::string_view atLeastOne;           // children of which there must be some
    std::string_view rows;                 // children counted by the root's RowCount
};

constexpr Expected kExpected[] = {
    {"AxInfoStruct", "axStructS", {}, "axStruct", {}},
    {"AxInfoEquip", "AxInfoEquip", {"ParsS"}, {}, {}},
    {"AxInfoVO", "AxInfoVO", {"User", "tVO"}, {}, {}},
    {"AxInfoCL", "AxInfoCL", {"User", "TVC"}, {}, {}},
    {"AxQuery", "AXQueryS", {}, {}, "AXQuery"},
    {"AxUpdate", "AXExecute", {"OutParams"}, {}, {}},
    {"AxInsert", "AXExecute", {"OutParams"}, {}, {}},
};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

const Expected* ExpectedOf(std::string_view endpoint) {
    for (const Expected& e : kExpected) {
        if (SameName(e.endpoint, endpoint)) return &e;
    }
    return nullptr;
}

std::string Sentence(const std::string& utf8) {
    return Latin1FromUtf8(utf8);
}

std::string_view SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    return text.substr(i);
}

// The code page the answer says it is written in: "" when it names none. A byte-order mark
// counts as a declaration of its own.
std::string DeclaredEncoding(std::string_view answer) {
    if (answer.size() >= 2 && ((answer[0] == '\xFE' && answer[1] == '\xFF') ||
                               (answer[0] == '\xFF' && answer[1] == '\xFE')))
        return "UTF-16";
    if (answer.substr(0, 3) == "\xEF\xBB\xBF") return "UTF-8";
    if (answer.size() >= 2 && (answer[0] == '\0' || answer[1] == '\0')) return "UTF-16";
    if (answer.substr(0, 5) != "<?xml") return {};
    const std::string_view declaration = answer.substr(0, answer.find("?>"));
    const size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return {};
    const size_t open = declaration.find_first_of("\"'", at);
    if (open == std::string_view::npos) return {};
    const size_t close = declaration.find(declaration[open], open + 1);
    return std::string(declaration.substr(open + 1, close - open - 1));
}

bool ReadAsLatin1(std::string_view encoding) {
    for (std::string_view known : {"ISO-8859-1", "ISO-8859-15", "ISO_8859-1", "ISO8859-1", "LATIN1",
                                   "LATIN-1", "US-ASCII", "ASCII"}) {
        if (SameName(encoding, known)) return true;
    }
    return encoding.empty();
}

// The root and its children, as the streaming reader met them.
struct Shape {
    std::string root;
    std::string rowCount;  // the root's RowCount attribute, "" without one
    bool hasRowCount = false;
    std::vector<std::pair<std::string, int>> children;  // name, count, in order of first meeting
    int errorLine = 0;  // the line the document stopped being XML on; 0 when it is whole
    bool hasErrorLine = false;

    int Count(std::string_view name) const {
        int n = 0;
        for (const auto& [child, count] : children) {
            if (SameName(child, name)) n += count;
        }
        return n;
    }
};

void Silence(void*, const char*, ...) {}
void SilenceStructured(void*, xmlErrorPtr) {}

Shape ReadShape(std::string_view answer) {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    // The parser's messages would go to stderr; its failure is all the check needs.
    xmlSetGenericErrorFunc(nullptr, Silence);
    xmlSetStructuredErrorFunc(nullptr, SilenceStructured);
    Shape shape;
    // The wire is Latin-1 whatever the declaration says (ISO-8859-15 differs in letters only).
    xmlTextReaderPtr reader =
        xmlReaderForMemory(answer.data(), static_cast<int>(answer.size()), nullptr, "ISO-8859-1",
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (reader == nullptr) {
        shape.hasErrorLine = true;
        return shape;
    }
    int status;
    while ((status = xmlTextReaderRead(reader)) == 1) {
        if (xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT) continue;
        const int depth = xmlTextReaderDepth(reader);
        const char* name = reinterpret_cast<const char*>(xmlTextReaderConstName(reader));
        if (depth == 0) {
            shape.root = name ? name : "";
            if (xmlChar* rows = xmlTextReaderGetAttribute(reader, BAD_CAST "RowCount")) {
                shape.rowCount = reinterpret_cast<const char*>(rows);
                shape.hasRowCount = true;
                xmlFree(rows);
            }
        } else if (depth == 1 && name != nullptr) {
            if (!shape.children.empty() && shape.children.back().first == name) {
                ++shape.children.back().second;
            } else {
                bool counted = false;
                for (auto& [child, count] : shape.children) {
                    if (child == name) {
                        ++count;
                        counted = true;
                        break;
                    }
                }
                if (!counted) shape.children.emplace_back(name, 1);
            }
        }
    }
    if (status != 0 || shape.root.empty()) {
        shape.hasErrorLine = true;
        shape.errorLine = xmlTextReaderGetParserLineNumber(reader);
    }
    xmlFreeTextReader(reader);
    return shape;
}

std::string Ignored(const std::string& what) {
    return Sentence(what + " : elle est ignorée, réessayez.");
}

}  // namespace

std::string_view EndpointOfUrl(std::string_view url) {
    url = url.substr(0, url.find('?'));
    const size_t slash = url.rfind('/');
    return slash == std::string_view::npos ? url : url.substr(slash + 1);
}

std::string AnswerProblem(std::string_view endpoint, std::string_view answer) {
    if (answer.size() > kMaxAnswerBytes)
        return Sentence("Réponse trop volumineuse : affinez la demande et réessayez.");
    const std::string_view content = SkipBlanks(answer);
    if (content.empty()) return Ignored("Réponse vide du serveur");
    const std::string encoding = DeclaredEncoding(answer);
    if (!ReadAsLatin1(encoding)) {
        return Sentence("Réponse du serveur dans un codage inattendu (" +
                        Utf8FromLatin1(encoding.substr(0, 40)) +
                        ") : elle est ignorée, prévenez le responsable informatique.");
    }
    if (StartsWithNoCase(content, "<!DOCTYPE html") || StartsWithNoCase(content, "<html")) {
        return Sentence(
            "Réponse inattendue : une page web est arrivée à la place des données "
            "(un autre serveur répond peut-être à cette adresse) : elle est ignorée.");
    }
    const Shape shape = ReadShape(answer);
    if (SameName(shape.root, "html")) {
        return Sentence(
            "Réponse inattendue : une page web est arrivée à la place des données "
            "(un autre serveur répond peut-être à cette adresse) : elle est ignorée.");
    }
    if (shape.hasErrorLine) {
        return Ignored("Réponse du serveur incomplète ou illisible (ligne " +
                       std::to_string(shape.errorLine) + ")");
    }
    const Expected* expected = ExpectedOf(endpoint);
    if (expected == nullptr) return {};
    if (!SameName(shape.root, expected->root)) {
        return Ignored("Réponse inattendue du serveur (" +
                       Utf8FromLatin1(shape.root.substr(0, 60)) + " au lieu de " +
                       std::string(expected->root) + ")");
    }
    if (shape.Count("LogItems") > 0) return {};  // a refusal: its items are the warning
    for (std::string_view name : expected->once) {
        if (name.empty()) continue;
        const int n = shape.Count(name);
        if (n == 0)
            return Ignored("Réponse du serveur incomplète (" + std::string(name) + " absent)");
        if (n > 1) {
            return Ignored("Réponse du serveur incohérente (" + std::string(name) + " en double)");
        }
    }
    if (!expected->atLeastOne.empty() && shape.Count(expected->atLeastOne) == 0) {
        return Ignored("Réponse du serveur incomplète (aucun " + std::string(expected->atLeastOne) +
                       ")");
    }
    if (!expected->rows.empty() && shape.hasRowCount) {
        const int received = shape.Count(expected->rows);
        if (shape.rowCount != std::to_string(received)) {
            return Ignored("Réponse du serveur incohérente (" +
                           Utf8FromLatin1(shape.rowCount.substr(0, 12)) + " lignes annoncées, " +
                           std::to_string(received) + " reçues)");
        }
    }
    return {};
}

}  // namespace tarmel
