// The answer writer.
#include "dataserver/xmlanswer.h"

namespace tarmel::dataserver {

std::string XmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&cr;";
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                break;
            case '\n':
                out += "&cr;";
                break;
            case '\t':
                out += '\t';
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += '?';
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

std::string XmlName(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 1);
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '.' || c == '-';
        out += ok ? c : '_';
    }
    if (out.empty() ||
        !((out[0] >= 'a' && out[0] <= 'z') || (out[0] >= 'A' && out[0] <= 'Z') || out[0] == '_')) {
        out.insert(out.begin(), '_');
    }
    return out;
}

AnswerWriter::AnswerWriter(std::string_view root, const Attributes& attributes) : root_(root) {
    out_.reserve(4096);
    out_ += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<!DOCTYPE ";
    out_ += root_;
    out_ += " [<!ENTITY cr \"&#13;&#10;\">]>\r\n<";
    out_ += root_;
    for (const auto& [name, value] : attributes) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        for (char c : XmlText(value)) {
            if (c == '"') {
                out_ += "&quot;";
            } else {
                out_ += c;
            }
        }
        out_ += '"';
    }
    out_ += '>';
}

void AnswerWriter::Open(std::string_view name) {
    out_ += '<';
    out_ += name;
    out_ += '>';
}

void AnswerWriter::Close(std::string_view name) {
    out_ += "</";
    out_ += name;
    out_ += '>';
}

void AnswerWriter::Value(std::string_view name, std::string_view latin1) {
    Open(name);
    out_ += XmlText(latin1);
    Close(name);
}

std::string AnswerWriter::Finish(const std::vector<std::string>& logItems) {
    if (!logItems.empty()) {
        Open("LogItems");
        for (const std::string& item : logItems) Value("LogItem", item);
        Close("LogItems");
    }
    Close(root_);
    out_ += "\r\n";
    return std::move(out_);
}

std::string LogDocument(std::string_view root, const std::vector<std::string>& logItems) {
    AnswerWriter writer(root);
    return writer.Finish(logItems);
}

}  // namespace tarmel::dataserver
