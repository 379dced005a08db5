// Private to the reader: finding tags ("<name>", "</name>", "<name") by visiting only the "<" bytes
// of a text. The reader looks for two tags for every item and every value it reads, so a tag is
// matched in place against its name, never built as a string, and no call is made per "<" beyond
// the memchr that finds it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tarmel::xml {

constexpr size_t npos = std::string_view::npos;

// "<" + name + ">" (kStart), "</" + name + ">" (kClose) or "<" + name (kPrefix, a start tag that
// may go on with attributes or a longer name).
struct Tag {
    enum Kind { kStart, kClose, kPrefix };
    std::string_view name;
    Kind kind;

    size_t size() const { return name.size() + (kind == kClose ? 3 : kind == kStart ? 2 : 1); }

    // Whether the tag begins at p, given that *p is "<" and the text ends at end.
    bool at(const char* p, const char* end) const {
        if (static_cast<size_t>(end - p) < size()) return false;
        ++p;
        if (kind == kClose && *p++ != '/') return false;
        for (const char c : name) {
            if (*p++ != c) return false;
        }
        return kind == kPrefix || *p == '>';
    }
};

inline Tag StartTag(std::string_view name) { return {name, Tag::kStart}; }
inline Tag CloseTag(std::string_view name) { return {name, Tag::kClose}; }
inline Tag OpenPrefix(std::string_view name) { return {name, Tag::kPrefix}; }

// The next "<" at or after p, or nullptr.
inline const char* NextLt(const char* p, const char* end) {
    return p < end ? static_cast<const char*>(std::memchr(p, '<', end - p)) : nullptr;
}

// The first position of the tag in text at or after from; npos if none.
inline size_t FindTag(std::string_view text, const Tag& tag, size_t from = 0) {
    if (from > text.size()) return npos;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = NextLt(begin + from, end); p != nullptr; p = NextLt(p + 1, end)) {
        if (tag.at(p, end)) return p - begin;
    }
    return npos;
}

// The first closing tag in text, and the first start tag when it lies before that closing tag
// (npos otherwise), found in one pass.
struct TagPair {
    size_t start = npos;
    size_t close = npos;
};

inline TagPair FindStartBeforeClose(std::string_view text, const Tag& start, const Tag& close) {
    TagPair found;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = NextLt(begin, end); p != nullptr; p = NextLt(p + 1, end)) {
        // A start tag and a closing tag of the same name never begin at the same "<".
        if (found.start == npos && start.at(p, end)) {
            found.start = p - begin;
        } else if (close.at(p, end)) {
            found.close = p - begin;
            break;
        }
    }
    return found;
}

}  // namespace tarmel::xml
