// The "0"-prefixed integer rules for the "Trace" and "idTypeVO" settings.
#include <gtest/gtest.h>

#include <climits>

#include "app/startparams.h"

namespace tarmel {
namespace {

struct StartValueCase {
    const char* why;
    const char* value;
    bool traceOn;
    std::optional<int> idTypeVO;
};

const StartValueCase kStartValues[] = {
    {"empty is 0", "", false, 0},
    {"zero", "0", false, 0},
    {"used vehicle", "1", true, 1},
    {"demonstration vehicle", "3", true, 3},
    {"leading zeros", "007", true, 7},
    {"more leading zeros than an int has digits", "00000000000000000001", true, 1},
    {"largest int", "2147483647", true, INT_MAX},
    {"just past int", "2147483648", false, std::nullopt},
    {"past 32 bits", "4294967297", false, std::nullopt},
    {"minus becomes 0-1", "-1", false, std::nullopt},
    {"plus becomes 0+1", "+1", false, std::nullopt},
    {"leading blank becomes 0 1", " 1", false, std::nullopt},
    {"trailing blank", "1 ", false, std::nullopt},
    {"letters", "abc", false, std::nullopt},
    {"decimal point", "1.0", false, std::nullopt},
    {"Latin-1 superscript two", "\xB2", false, std::nullopt},
    {"x alone becomes 0x without digits", "x", false, std::nullopt},
    {"x becomes a 0x hexadecimal prefix", "x1F", true, 31},
    {"upper X and lower digits", "X1f", true, 31},
    {"hexadecimal zero", "x0", false, 0},
    {"largest int in hexadecimal", "x7FFFFFFF", true, INT_MAX},
    {"hexadecimal past int", "x80000000", false, std::nullopt},
    {"0x gets a second 0 in front", "0x1F", false, std::nullopt},
    {"sign after the hexadecimal prefix", "x-1", false, std::nullopt},
    {"dollar prefix becomes 0$", "$1F", false, std::nullopt},
    {"hexadecimal letter in decimal", "1F", false, std::nullopt},
    {"bad hexadecimal digit", "x1G", false, std::nullopt},
};

TEST(StartParams, ZeroPrefixedIntegers) {
    for (const StartValueCase& row : kStartValues) {
        SCOPED_TRACE(std::string(row.why) + ": \"" + row.value + "\"");
        EXPECT_EQ(ParseTraceSwitch(row.value), row.traceOn);
        EXPECT_EQ(ParseIdTypeVO(row.value), row.idTypeVO);
    }
}

}  // namespace
}  // namespace tarmel
