// The answer check: the code page from the XML declaration, well-formedness and the top-level
// elements from one SAX pass of libxml2, then the expectations of each endpoint.
#include "server/answercheck.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <array>
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

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

const Expected* ExpectedOf(std::string_view endpoint) {
    for (const Expected& e : kExpected) {
        if (EqualsNoCase(e.endpoint, endpoint)) return &e;
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
        if (EqualsNoCase(encoding, known)) return true;
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
            if (EqualsNoCase(child, name)) n += count;
        }
        return n;
    }
};

void Silence(void*, const char*, ...) {}
void SilenceStructured(void*, xmlErrorPtr) {}

// The SAX pass: only the root and its children are looked at; nothing is built.
struct Walk {
    Shape* shape;
    int depth = 0;
};

void AddChild(Shape& shape, const std::string& name) {
    for (auto& [child, count] : shape.children) {
        if (child == name) {
            ++count;
            return;
        }
    }
    shape.children.emplace_back(name, 1);
}

void OnStart(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar*, int,
             const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    auto* walk = static_cast<Walk*>(static_cast<xmlParserCtxtPtr>(context)->_private);
    std::string name = reinterpret_cast<const char*>(localName);
    if (prefix != nullptr) name = reinterpret_cast<const char*>(prefix) + (":" + name);
    if (walk->depth == 0) {
        walk->shape->root = name;
        // Five pointers an attribute: name, prefix, URI, value start, value end.
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** attribute = attributes + 5 * i;
            if (std::string_view(reinterpret_cast<const char*>(attribute[0])) != "RowCount")
                continue;
            walk->shape->rowCount.assign(reinterpret_cast<const char*>(attribute[3]),
                                         static_cast<size_t>(attribute[4] - attribute[3]));
            walk->shape->hasRowCount = true;
        }
    } else if (walk->depth == 1) {
        AddChild(*walk->shape, name);
    }
    ++walk->depth;
}

void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    --static_cast<Walk*>(static_cast<xmlParserCtxtPtr>(context)->_private)->depth;
}

Shape ReadShape(std::string_view answer) {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    // The parser's messages would go to stderr; its failure is all the check needs.
    xmlSetGenericErrorFunc(nullptr, Silence);
    xmlSetStructuredErrorFunc(nullptr, SilenceStructured);
    Shape shape;
    xmlParserCtxtPtr parser =
        xmlCreateMemoryParserCtxt(answer.data(), static_cast<int>(answer.size()));
    if (parser == nullptr) {
        shape.hasErrorLine = true;
        return shape;
    }
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    // The document's internal subset declares the entities its text uses (&cr;).
    sax.startDocument = xmlSAX2StartDocument;
    sax.internalSubset = xmlSAX2InternalSubset;
    sax.entityDecl = xmlSAX2EntityDecl;
    sax.getEntity = xmlSAX2GetEntity;
    sax.startElementNs = OnStart;
    sax.endElementNs = OnEnd;
    sax.serror = SilenceStructured;
    xmlSAXHandlerPtr defaultSax = parser->sax;
    parser->sax = &sax;
    Walk walk{&shape};
    parser->_private = &walk;
    xmlCtxtUseOptions(
        parser, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC);
    // The wire is Latin-1 whatever the declaration says (ISO-8859-15 differs in letters only).
    xmlSwitchEncoding(parser, XML_CHAR_ENCODING_8859_1);
    xmlParseDocument(parser);
    if (!parser->wellFormed || shape.root.empty()) {
        shape.hasErrorLine = true;
        shape.errorLine = parser->lastError.line;
    }
    parser->sax = defaultSax;
    if (parser->myDoc != nullptr) xmlFreeDoc(parser->myDoc);
    parser->myDoc = nullptr;
    xmlFreeParserCtxt(parser);
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
    // A page's markup is seldom XML: it is known by its start before it is read.
    const bool webPage =
        StartsWithNoCase(content, "<!DOCTYPE html") || StartsWithNoCase(content, "<html");
    const Shape shape = webPage ? Shape{} : ReadShape(answer);
    if (webPage || EqualsNoCase(shape.root, "html")) {
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
    if (!EqualsNoCase(shape.root, expected->root)) {
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
