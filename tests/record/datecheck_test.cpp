// The date test of a field left by the user, its message, the birth-date limit and the limits of
// each date control.
#include "record/datecheck.h"

#include <gtest/gtest.h>

#include "server/xml/texttools.h"

namespace tarmel {
namespace {

constexpr Date kDeb{2023, 1, 1}, kToday{2026, 12, 10};

TEST(DateCheck, RefusalsAndTheirMessages) {
    const struct {
        const char* name;
        const char* text;
        DateRange range;
        const char* stored;
        bool refused;
        const char* message;  // UTF-8; empty: no box
    } cases[] = {
        {"inside both limits", "15/06/2025", {kDeb, kToday}, "", false, ""},
        {"on the lower limit", "01/01/2023", {kDeb, kToday}, "", false, ""},
        {"on the upper limit", "10/12/2026", {kDeb, kToday}, "", false, ""},
        {"before the lower limit, both set", "31/12/2022", {kDeb, kToday}, "", true,
         "La valeur du champ \"Entrée\" doit être comprise entre le \"01/01/2023\" et le "
         "\"10/12/2026\""},
        {"after the upper limit, both set", "11/12/2026", {kDeb, kToday}, "", true,
         "La valeur du champ \"Entrée\" doit être comprise entre le \"01/01/2023\" et le "
         "\"10/12/2026\""},
        {"only a lower limit", "31/12/2022", {kDeb, {}}, "", true,
         "La valeur du champ \"Entrée\" doit être supérieure au \"01/01/2023\""},
        {"only an upper limit", "11/12/2026", {{}, kToday}, "", true,
         "La valeur du champ \"Entrée\" doit être inférieure au \"10/12/2026\""},
        {"no limits", "01/01/1900", {}, "", false, ""},
        {"out of range but equal to the stored value", "01/01/2001", {kDeb, kToday}, "01/01/2001",
         false, ""},
        {"emptied under a lower limit: refused without a box", "", {kDeb, {}}, "05/05/2024", true,
         ""},
        {"unreadable under a lower limit", "31/02/2024", {kDeb, kToday}, "", true, ""},
        {"emptied under an upper limit only", "", {{}, kToday}, "05/05/2024", false, ""},
        {"empty and stored empty", "", {kDeb, kToday}, "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DateCheck check{c.text, c.range, true, c.stored, Latin1FromUtf8("Entrée"), "DateEntree"};
        const DateVerdict verdict = CheckDate(check);
        EXPECT_EQ(verdict.refused, c.refused);
        EXPECT_EQ(Utf8FromLatin1(verdict.message), c.message);
    }
}

TEST(DateCheck, AControlWithoutFieldIsRefusedWithoutABox) {
    const DateVerdict verdict = CheckDate({"11/12/2026", {{}, kToday}, false, "", "", ""});
    EXPECT_TRUE(verdict.refused);
    EXPECT_EQ(verdict.message, "");
}

TEST(DateCheck, LabelLosesItsColonsAndKeepsItsBlanks) {
    const struct {
        const char* caption;
        const char* label;
    } cases[] = {
        {"Entrée :", "Entrée "},
        {"Date: d'entrée :", "Date d'entrée "},
        {" : ", "  "},
        {":", "DateEntree"},
        {"", "DateEntree"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8FromLatin1(DateFieldLabel(Latin1FromUtf8(c.caption), "DateEntree")), c.label)
            << c.caption;
    }
    const DateVerdict verdict =
        CheckDate({"31/12/2022", {kDeb, {}}, true, "", Latin1FromUtf8("Entrée :"), "DateEntree"});
    EXPECT_EQ(Utf8FromLatin1(verdict.message),
              "La valeur du champ \"Entrée \" doit être supérieure au \"01/01/2023\"");
}

TEST(DateCheck, BirthDateLimitIsEighteenYearsBack) {
    const struct {
        Date today, limit;
    } cases[] = {
        {{2026, 12, 10}, {2008, 12, 10}},
        {{2026, 2, 28}, {2008, 2, 28}},
        {{2028, 2, 29}, {2010, 2, 28}},  // no 29 February in 2010
        {{2028, 3, 1}, {2010, 3, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(AdultBirthLimit(c.today), c.limit) << FormatDate(c.today);

    // Exactly 18 years old passes, one day younger does not.
    const DateExitRow* row = FindDateExitRow("aCliDateNaissance");
    ASSERT_NE(row, nullptr);
    DateSources sources;
    sources.today = kToday;
    const auto range = ExitRange(*row, sources);
    ASSERT_TRUE(range);
    const std::string caption = Latin1FromUtf8("Né le");
    EXPECT_FALSE(CheckDate({"10/12/2008", *range, true, "", caption, "CliDateNaissance"}).refused);
    const DateVerdict younger = CheckDate({"11/12/2008", *range, true, "", caption, ""});
    EXPECT_TRUE(younger.refused);
    EXPECT_EQ(Utf8FromLatin1(younger.message),
              "La valeur du champ \"Né le\" doit être inférieure au \"10/12/2008\"");
}

TEST(DateCheck, EachDateControlHasItsLimits) {
    DateSources sources;
    sources.limitDeb = kDeb;
    sources.limitFin = kToday;
    sources.serverToday = {2026, 12, 9};
    sources.today = kToday;
    const Date server = sources.serverToday;
    const struct {
        const char* control;
        const char* order;
        const char* mec;
        bool tested;
        DateRange range;
    } cases[] = {
        {"cMEC", "", "", true, {{}, server}},
        {"vMEC", "", "", true, {{}, server}},
        {"vDateLastSAV", "", "", true, {{}, server}},
        {"cDateEntree", "", "", true, {kDeb, kToday}},
        {"cVNDateAnnulation", "", "", true, {kDeb, kToday}},
        {"cVNDateLivrMaxi", "", "", true, {server, {}}},
        {"vDateNextSAV", "", "", true, {server, {}}},
        {"vDateFinGarantie", "03/04/2024", "01/02/2020", true, {{2024, 4, 3}, {}}},
        {"vDateFinFinancement", "", "01/02/2020", true, {{2020, 2, 1}, {}}},
        {"vDateFinGarantie", "31/02/2024", "01/02/2020", true, {{2020, 2, 1}, {}}},
        {"vDateFinGarantie", "", "", false, {}},
        {"aCliDateNaissance", "", "", true, {{}, {2008, 12, 10}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " " + c.order + " " + c.mec);
        const DateExitRow* row = FindDateExitRow(c.control);
        ASSERT_NE(row, nullptr);
        sources.orderText = c.order;
        sources.mecText = c.mec;
        const auto range = ExitRange(*row, sources);
        ASSERT_EQ(range.has_value(), c.tested);
        if (!range) continue;
        EXPECT_EQ(range->lower, c.range.lower);
        EXPECT_EQ(range->upper, c.range.upper);
    }
    EXPECT_EQ(FindDateExitRow("cVNDateFacture"), nullptr) << "not checked on exit";

    // Limits 0 (no or inconsistent OptDates): entry and order dates pass whatever they hold.
    sources.limitDeb = sources.limitFin = {};
    const auto open = ExitRange(*FindDateExitRow("cDateOrdre"), sources);
    ASSERT_TRUE(open);
    EXPECT_FALSE(CheckDate({"01/01/1990", *open, true, "", "Ordre", "DateOrdre"}).refused);
    EXPECT_FALSE(CheckDate({"", *open, true, "05/05/2024", "Ordre", "DateOrdre"}).refused);
}

}  // namespace
}  // namespace tarmel
