// The keystroke filters of the telephone, plate and name fields.
#include "record/keyfilters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tarmel {
namespace {

TEST(KeyFilters, AcceptReplaceOrCancel) {
    // Each typed character of a row gives the character at the same place of the result; 0:
    // the key is cancelled.
    const struct {
        const char* name;
        KeyFilter filter;
        std::u32string typed, result;
    } cases[] = {
        {"telephone: digits and backspace", KeyFilter::Telephone, U"0123456789\b",
         U"0123456789\b"},
        {"telephone: nothing else", KeyFilter::Telephone, U"a .+-/Z", std::u32string(7, 0)},
        {"plate: letters in capitals", KeyFilter::Plate, U"azAZ", U"AZAZ"},
        {"plate: digits and backspace", KeyFilter::Plate, U"09\b", U"09\b"},
        {"plate: no dash, blank or accent", KeyFilter::Plate, U"- .\u00e9", std::u32string(4, 0)},
        {"names: a to z in capitals", KeyFilter::Capitals, U"az", U"AZ"},
        {"names: the rest as typed", KeyFilter::Capitals, U"\u00e9\u00e7\u00c9- '1",
         U"\u00e9\u00e7\u00c9- '1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.typed.size(), c.result.size());
        for (size_t i = 0; i < c.typed.size(); ++i)
            EXPECT_EQ(FilterKey(c.filter, c.typed[i]), c.result[i]) << std::uint32_t(c.typed[i]);
    }
}

}  // namespace
}  // namespace tarmel
