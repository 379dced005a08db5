// Private to the reader: the tag texts it searches for ("<name>", "</name>", "<name", name="), and
// the scan that finds tags by visiting only the "<" bytes of a text. The reader builds and searches
// two tags for every item and every value it reads, so neither may touch the heap for the short
// names the documents use, nor call memcmp at every "<" of a row.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tarmel::xml {

constexpr size_t npos = std::string_view::npos;

class Tag {
public:
    Tag(std::string_view before, std::string_view name, std::string_view after) {
        const size_t size = before.size() + name.size() + after.size();
        char* out = inline_.data();
        if (size > inline_.size()) {
            heap_.resize(size);
            out = heap_.data();
        }
        before.copy(out, before.size());
        name.copy(out + before.size(), name.size());
        after.copy(out + before.size() + name.size(), after.size());
        view_ = std::string_view(out, size);
    }
    // The view points into this object.
    Tag(const Tag&) = delete;
    Tag& operator=(const Tag&) = delete;

    std::string_view view() const { return view_; }
    size_t size() const { return view_.size(); }

private:
    std::array<char, 48> inline_;
    std::string heap_;
    std::string_view view_;
};

inline Tag StartTag(std::string_view name) { return Tag("<", name, ">"); }
inline Tag CloseTag(std::string_view name) { return Tag("</", name, ">"); }
inline Tag OpenPrefix(std::string_view name) { return Tag("<", name, ""); }
inline Tag AttrPrefix(std::string_view name) { return Tag("", name, "=\""); }

// Whether the tag (which starts with "<") begins at p, given that *p is "<" and the text ends at end.
inline bool TagAt(const char* p, const char* end, std::string_view tag) {
    if (static_cast<size_t>(end - p) < tag.size()) return false;
    for (size_t i = 1; i < tag.size(); ++i) {
        if (p[i] != tag[i]) return false;
    }
    return true;
}

// The next "<" at or after p, or nullptr.
inline const char* NextLt(const char* p, const char* end) {
    return p < end ? static_cast<const char*>(std::memchr(p, '<', end - p)) : nullptr;
}

// The first position of the tag (which starts with "<") in text at or after from; npos if none.
inline size_t FindTag(std::string_view text, std::string_view tag, size_t from = 0) {
    if (from > text.size()) return npos;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = NextLt(begin + from, end); p != nullptr; p = NextLt(p + 1, end)) {
        if (TagAt(p, end, tag)) return p - begin;
    }
    return npos;
}

// The first closing tag in text, and the first start tag when it lies before that closing tag
// (npos otherwise), found in one pass. Both tags start with "<".
struct TagPair {
    size_t start = npos;
    size_t close = npos;
};

inline TagPair FindStartBeforeClose(std::string_view text, std::string_view start,
                                    std::string_view close) {
    TagPair found;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = NextLt(begin, end); p != nullptr; p = NextLt(p + 1, end)) {
        // A start tag and a closing tag of the same name never begin at the same "<".
        if (found.start == npos && TagAt(p, end, start)) {
            found.start = p - begin;
        } else if (TagAt(p, end, close)) {
            found.close = p - begin;
            break;
        }
    }
    return found;
}

}  // namespace tarmel::xml
