// The grid's cell texts: the amount mask and the order a sortable column gives.
#include "mainwindow/toolkit/celltexts.h"

#include <gtest/gtest.h>

namespace tarmel::ui {
namespace {

TEST(AmountText, ShowsTwoDecimalsAndBlanksBetweenThousands) {
    const std::pair<const char*, const char*> cases[] = {
        {"12", "12.00"},
        {"1234.5", "1 234.50"},
        {"-1234567.891", "-1 234 567.89"},
        {"999.999", "1 000.00"},
        {"0", "0.00"},
        {"-0.001", "0.00"},
        {"", ""},
        {"abc", "abc"},
        {" 150 ", "150.00"},
        {"100000", "100 000.00"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(AmountText(text), shown) << text;
}

TEST(SortsBefore, ComparesByKindWithValuesBeforeTheRest) {
    struct Case {
        SortKind kind;
        const char* a;
        const char* b;
        bool before;
    };
    const Case cases[] = {
        {SortKind::Number, "9", "10", true},
        {SortKind::Number, "1 200.00", "950", false},
        {SortKind::Number, "-3", "", true},
        {SortKind::Number, "", "-3", false},
        {SortKind::Date, "31/12/2025", "01/01/2026", true},
        {SortKind::Date, "02/01/2026", "01/02/2025", false},
        {SortKind::Date, "15/03/2026 10:30:00", "16/03/2026", true},
        {SortKind::Date, "", "01/01/2000", false},
        {SortKind::Text, "martin", "Durand", false},
        {SortKind::Text, "dupont", "Durand", true},
        {SortKind::None, "a", "b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SortsBefore(c.kind, c.a, c.b), c.before) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace tarmel::ui
