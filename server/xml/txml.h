// TXml: the string-scanning reader over the data server's answers. No tree is built: an element
// is found by plain, case-sensitive substring search, and a list is walked item by item.
//
// Texts are the 8-bit (ISO-8859-1) bytes of the document; nothing is unescaped. The reader keeps
// offsets into one shared, immutable copy of the document, so copying a reader is cheap and a
// copy steps on its own without disturbing the original.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tarmel {

struct TXml {
    TXml() = default;
    explicit TXml(std::string text) { setText(std::move(text)); }

    // Replaces the whole text and clears the remaining text and the current element.
    void setText(std::string text);

    std::string_view wholeText() const;
    // The part of the document still to be stepped through by XmlNext.
    std::string_view remainingText() const;
    // The content of the element last found by XmlFind or XmlNext.
    std::string_view currentElement() const;

    int position = 0;  // set to 0 by XmlFind; kept for callers that print it

    // Offsets into *text; [begin, end) ranges, empty when begin == end.
    std::shared_ptr<const std::string> text;
    size_t remainingBegin = 0, remainingEnd = 0;
    size_t currentBegin = 0, currentEnd = 0;
};

// Positions on the first element whose start tag begins with "<" + name (a prefix match: "AXQuery"
// also stops at "<AXQueryS"). The content runs from the next "<" after that one up to the first
// "</name>" after it; remaining text = current element = that content. When a search fails, both
// are empty.
void XmlFind(TXml& reader, std::string_view name);

// Steps to the next item "<name>...</name>" (exact start tag, no attributes) in the remaining text.
// Returns the 1-based position of the start tag in the remaining text, or 0 when the start tag or
// the closing tag is missing (then nothing changes). The first closing tag ends the item.
int XmlNext(TXml& reader, std::string_view name);

// Copies the text of the first child "<name>...</name>" of the current element, at any depth, into
// destination. Leaves destination unchanged when the start tag is missing or not before the first
// closing tag.
void XmlValue(const TXml& reader, std::string_view name, std::string& destination);
// The same text as a value: empty when XmlValue would leave its destination unchanged.
std::string XmlValueOf(const TXml& reader, std::string_view name);

// Copies the value of the first name="..." in the whole text (a substring match on the name) into
// destination, when its closing quote lies within the 20 characters after the opening quote;
// otherwise destination is unchanged.
void XmlAttr(const TXml& reader, std::string_view name, std::string& destination);

}  // namespace tarmel
