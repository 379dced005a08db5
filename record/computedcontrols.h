// The controls whose text the program computes (VAT, margins, balance, due dates, the order update
// date, the refurbishment totals): the user reads them and never types into them, even where the
// structure description makes them fields whose value is saved with the record.
#pragma once

#include <string_view>

namespace tarmel {

inline constexpr std::string_view kComputedControls[] = {
    "cTotFrevo", "ccTVA", "cMBrute", "cMNette",
    "cVNSolde", "cVNDateEchTresorerie", "cVNDateEchReglement", "cVNDateUpdateCde",
    "cFrevo", "cFrevoFixe", "cFrevoInterne", "cFrevoExterne", "cFrevoPrevision",
    "cFrevoTotFDM", "cFrevoFixeFDM", "cFrevoIntFDM", "cFrevoExtFDM", "cFrevoPrevFDM",
};

inline bool IsComputedControl(std::string_view name) {
    for (std::string_view computed : kComputedControls) {
        if (name == computed) return true;
    }
    return false;
}

}  // namespace tarmel
