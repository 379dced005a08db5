// Text tools used with the reader: whole text files with CR LF line ends, ";"-separated fields,
// and the UTF-8 <-> Latin-1 bridge between the program's source literals and its 8-bit texts.
#include "server/xml/texttools.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace tarmel {

namespace {

// The whole file as bytes; nullopt when it cannot be opened or read (missing file, folder).
std::optional<std::string> ReadBytes(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> LoadTextFile(const std::string& path) {
    std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) return std::nullopt;
    const std::string& in = *bytes;

    // CR, LF and CR LF each end a line; a last line without a break still counts as a line.
    std::string out;
    out.reserve(in.size() + in.size() / 16 + 2);
    size_t lineBegin = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\r' && in[i] != '\n') continue;
        out.append(in, lineBegin, i - lineBegin).append("\r\n");
        if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
        lineBegin = i + 1;
    }
    if (lineBegin < in.size()) out.append(in, lineBegin, std::string::npos).append("\r\n");
    return out;
}

std::string FieldOf(std::string_view text, int n) {
    if (n < 1) return {};
    size_t begin = 0;
    for (; n > 1; --n) {
        const size_t separator = text.find(';', begin);
        if (separator == std::string_view::npos) return {};
        begin = separator + 1;
    }
    const size_t end = text.find(';', begin);
    return std::string(text.substr(begin, end == std::string_view::npos ? end : end - begin));
}

std::string Latin1FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // Decode one sequence; anything malformed (stray continuation byte, truncated or overlong
        // sequence, surrogate, beyond U+10FFFF) costs one "?" per byte that cannot start a
        // sequence, so the rest of the text still decodes.
        size_t length = 0;
        uint32_t code = 0, minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return out;
}

std::string Utf8FromLatin1(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size() + latin1.size() / 8);
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string UpperLatin1(std::string_view text) {
    std::string out = UpperAscii(text);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xE0 && b <= 0xFE && b != 0xF7) c = static_cast<char>(b - 0x20);
    }
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

}  // namespace tarmel
