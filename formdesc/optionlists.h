// The option lists of the demonstration and new vehicle pages: each list box, the button that
// opens it, and the label that repeats the chosen options.
#pragma once

#include <string_view>

namespace tarmel {

struct OptionList {
    const char* button;
    const char* list;
};

inline constexpr OptionList kOptionLists[] = {
    {"czVDOptions", "cVDInfoOptions"},
    {"czVNOptions", "cVNInfoOptions"},
};

// The label that shows the options chosen in either list.
inline constexpr const char* kOptionsLabel = "LbInfoOptions";

// The row of a list or of a button, or nullptr.
inline const OptionList* FindOptionList(std::string_view control) {
    for (const OptionList& o : kOptionLists) {
        if (control == o.list || control == o.button) return &o;
    }
    return nullptr;
}

}  // namespace tarmel
