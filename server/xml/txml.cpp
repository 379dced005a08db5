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
    const size_t open = xml::FindTag(whole, xml::OpenPrefix(name));
    if (open == xml::npos) return;
    // The content starts at the first child's start tag (or at the element's own closing tag).
    const size_t content = whole.find('<', open + 1);
    if (content == xml::npos) return;
    const size_t close = xml::FindTag(whole, xml::CloseTag(name), content);
    if (close == xml::npos) return;

    reader.remainingBegin = reader.currentBegin = content;
    reader.remainingEnd = reader.currentEnd = close;
}

int XmlNext(TXml& reader, std::string_view name) {
    const std::string_view remaining = reader.remainingText();
    const xml::Tag start = xml::StartTag(name);
    const xml::Tag close = xml::CloseTag(name);
    xml::TagPair found = xml::FindStartBeforeClose(remaining, start, close);
    if (found.close == xml::npos) return 0;
    if (found.start == xml::npos) {
        found.start = xml::FindTag(remaining, start, found.close + 1);
        if (found.start == xml::npos) return 0;
    }

    // A closing tag before (or inside) the start tag leaves an empty item; stepping still moves
    // past that closing tag, so a loop over XmlNext always ends.
    const size_t valueBegin = std::min(found.start + start.size(), found.close);
    reader.currentBegin = reader.remainingBegin + valueBegin;
    reader.currentEnd = reader.remainingBegin + found.close;
    reader.remainingBegin += found.close + close.size();
    return found.start < static_cast<size_t>(INT_MAX) ? static_cast<int>(found.start) + 1 : INT_MAX;
}

void XmlValue(const TXml& reader, std::string_view name, std::string& destination) {
    const std::string_view element = reader.currentElement();
    const xml::Tag start = xml::StartTag(name);
    const xml::TagPair found =
        xml::FindStartBeforeClose(element, start, xml::CloseTag(name));
    if (found.start == xml::npos || found.close == xml::npos) return;
    const size_t valueBegin = std::min(found.start + start.size(), found.close);
    destination.assign(element.substr(valueBegin, found.close - valueBegin));
}

std::string XmlValueOf(const TXml& reader, std::string_view name) {
    std::string value;
    XmlValue(reader, name, value);
    return value;
}

void XmlAttr(const TXml& reader, std::string_view name, std::string& destination) {
    // Attribute values the callers read are short (row counts, flags); the window keeps a
    // runaway quote from swallowing the document.
    constexpr size_t kValueWindow = 20;
    const std::string_view whole = reader.wholeText();
    const size_t at = whole.find(std::string(name) + "=\"");
    if (at == xml::npos) return;
    const std::string_view window = whole.substr(at + name.size() + 2, kValueWindow);
    const size_t quote = window.find('"');
    if (quote == xml::npos) return;
    destination.assign(window.substr(0, quote));
}

}  // namespace tarmel
