// Text rules of the server exchange.
#include "server/exchangerules.h"

#include "server/xml/txml.h"

namespace tarmel {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::string EncodeUrlBlanks(std::string_view url) {
    std::string out(url);
    replaceAll(out, " ", "%20");
    replaceAll(out, "#", "%23");
    return out;
}

bool HasTimeoutMarker(std::string_view answer) {
    std::string upper(answer);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper.find("WAIT_TIMEOUT") != std::string::npos ||
           upper.find("<![CDATA[TIMEOUT]]>") != std::string::npos;
}

std::string RewriteCodePage(std::string answer) {
    replaceAll(answer, "8859-15", "8859-1");
    return answer;
}

std::string LogItemsText(std::string_view answer) {
    TXml reader{std::string(answer)};
    XmlFind(reader, "LogItems");
    std::string text;
    while (XmlNext(reader, "LogItem") != 0) {
        text += reader.currentElement();
        text += " - ";
    }
    return text;
}

std::string ResolveAgainst(const std::string& lastUrl, const std::string& reference) {
    if (reference.find("://") != std::string::npos || lastUrl.empty()) return reference;
    std::string base = lastUrl.substr(0, lastUrl.find('?'));
    const size_t schemeEnd = base.find("://");
    const size_t slash = base.rfind('/');
    if (slash == std::string::npos || (schemeEnd != std::string::npos && slash < schemeEnd + 3))
        base += '/';
    else
        base.erase(slash + 1);
    return base + reference;
}

}  // namespace tarmel
