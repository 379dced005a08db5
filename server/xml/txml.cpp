// The TXml reader: element search, list stepping, child values and attributes over one shared,
// immutable document text, all by plain substring search on its ISO-8859-1 bytes.
#include "server/xml/txml.h"

#include <algorithm>
#include <cassert>
#include <climits>

#include "server/xml/xmltags.h"

namespace tarmel {

void TXml::setText(std::string newText) {
    text = std::make_shared<const std::string>(std::move(newText));
    remainingBegin = remainingEnd = 0;
    currentBegin = currentEnd = 0;
}

std::string_view TXml::wholeText() const {
    return text ? std::string_view(*text) : std::string_view();
}

std::string_view TXml::remainingText() const {
    assert(remainingBegin <= remainingEnd && remainingEnd <= wholeText().size());
    return wholeText().substr(remainingBegin, remainingEnd - remainingBegin);
}

std::string_view TXml::currentElement() const {
    assert(currentBegin <= currentEnd && currentEnd <= wholeText().size());
    return wholeText().substr(currentBegin, currentEnd - currentBegin);
}

void XmlFind(TXml& reader, std::string_view name) {
    reader.remainingBegin = reader.remainingEnd = 0;
    reader.currentBegin = reader.currentEnd = 0;
    reader.position = 0;

    const std::string_view whole = reader.wholeText();
    const size_t open = whole.find(xml::OpenPrefix(name).view());
    if (open == std::string_view::npos) return;
    // The content starts at the first child's start tag (or at the element's own closing tag).
    const size_t content = whole.find('<', open + 1);
    if (content == std::string_view::npos) return;
    const size_t close = whole.find(xml::CloseTag(name).view(), content);
    if (close == std::string_view::npos) return;

    reader.remainingBegin = reader.currentBegin = content;
    reader.remainingEnd = reader.currentEnd = close;
}

int XmlNext(TXml& reader, std::string_view name) {
    const std::string_view remaining = reader.remainingText();
    const xml::Tag start = xml::StartTag(name);
    const size_t open = remaining.find(start.view());
    if (open == std::string_view::npos) return 0;
    const xml::Tag closeTag = xml::CloseTag(name);
    const size_t close = remaining.find(closeTag.view());
    if (close == std::string_view::npos) return 0;

    // A closing tag before (or inside) the start tag leaves an empty item; stepping still moves
    // past that closing tag, so a loop over XmlNext always ends.
    const size_t valueBegin = std::min(open + start.size(), close);
    reader.currentBegin = reader.remainingBegin + valueBegin;
    reader.currentEnd = reader.remainingBegin + close;
    reader.remainingBegin += close + closeTag.size();
    return open < static_cast<size_t>(INT_MAX) ? static_cast<int>(open) + 1 : INT_MAX;
}

void XmlValue(const TXml& reader, std::string_view name, std::string& destination) {
    const std::string_view element = reader.currentElement();
    const xml::Tag start = xml::StartTag(name);
    const size_t open = element.find(start.view());
    if (open == std::string_view::npos) return;
    const size_t close = element.find(xml::CloseTag(name).view());
    if (close == std::string_view::npos || close <= open) return;
    const size_t valueBegin = std::min(open + start.size(), close);
    destination.assign(element.substr(valueBegin, close - valueBegin));
}

void XmlAttr(const TXml& reader, std::string_view name, std::string& destination) {
    // Attribute values the callers read are short (row counts, flags); the window keeps a
    // runaway quote from swallowing the document.
    constexpr size_t kValueWindow = 20;
    const std::string_view whole = reader.wholeText();
    const size_t at = whole.find(xml::AttrPrefix(name).view());
    if (at == std::string_view::npos) return;
    const std::string_view window = whole.substr(at + name.size() + 2, kValueWindow);
    const size_t quote = window.find('"');
    if (quote == std::string_view::npos) return;
    destination.assign(window.substr(0, quote));
}

}  // namespace tarmel
