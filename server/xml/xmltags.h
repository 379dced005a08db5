// Private to the reader: the tag texts it searches for ("<name>", "</name>", "<name", name="),
// built without touching the heap for the short names the documents use, since the reader
// builds two of them for every item and every value it reads.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarmel::xml {

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

}  // namespace tarmel::xml
