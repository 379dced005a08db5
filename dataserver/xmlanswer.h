// The answer writer: every document the data server sends, in ISO-8859-1 with an internal DTD
// subset declaring "cr", values escaped, log items inside the root element.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarmel::dataserver {

// A value as element text: "&", "<" and ">" as entities (quotes stay as they are: the client
// replaces only "&amp;", "&lt;", "&gt;" and "&cr;"); CR LF, a lone CR and a lone LF
// each as "&cr;"; the other control bytes, which XML 1.0 cannot carry, as "?". Bytes above 127 are
// kept (the document is Latin-1).
std::string XmlText(std::string_view latin1);

// An element name made from a column name or alias: characters outside [A-Za-z0-9_.-] become "_",
// and a name that does not start with a letter or "_" gets a leading "_". Never empty.
std::string XmlName(std::string_view name);

// Builds one document. Usage: AnswerWriter w("AXQueryS", {{"RowCount","2"},{"EOF","1"}});
// w.Open("AXQuery"); w.Value("cpt", "3"); w.Close("AXQuery"); ... std::string doc = w.Finish(logs);
class AnswerWriter {
public:
    using Attributes = std::vector<std::pair<std::string, std::string>>;
    explicit AnswerWriter(std::string_view root, const Attributes& attributes = {});

    void Open(std::string_view name);
    void Close(std::string_view name);
    // <name>escaped value</name>; an empty value is written as a start tag and its closing tag.
    void Value(std::string_view name, std::string_view latin1);

    // Closes the root after writing the log items (Latin-1 texts), when there are any.
    std::string Finish(const std::vector<std::string>& logItems = {});

private:
    std::string root_;
    std::string out_;
};

// A whole document carrying only log items, under the given root.
std::string LogDocument(std::string_view root, const std::vector<std::string>& logItems);

}  // namespace tarmel::dataserver
