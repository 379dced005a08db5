// Field values when a page is filled, labels, visibility, and what the editing handlers store.
#include "formdesc/fieldrules.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

TEST(FieldRules, ValueFromRecord) {
    const Date today{2026, 12, 10};
    const struct {
        const char* raw;
        int kind, type;
        const char* shown;
    } cases[] = {
        {"a &amp;lt; b&cr;c", kind::Text, datatype::Text, "a < b\r\nc"},
        {"a &amp; b", kind::ComboText, datatype::Text, "a &amp; b"},  // only text controls decode
        {"now", kind::Text, datatype::Date, "10/12/2026"},
        {"NOW", kind::Text, datatype::Date, "NOW"},
        {" 1 250 ", kind::Text, datatype::Integer, "1250"},
        {"12 500", kind::Text, datatype::Decimal, "12500.00"},
        {"12500.456", kind::Text, datatype::Decimal, "12500.46"},
        {"douze", kind::Text, datatype::Decimal, "0.00"},
        {"", kind::Text, datatype::Decimal, "0.00"},
        {" x ", kind::Text, 0, " x "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FieldValueFromRecord(c.raw, c.kind, c.type, today), c.shown) << c.raw;
}

TEST(FieldRules, TwoDecimalsRoundsTheDecimalText) {
    const std::string sixtyOneDigits = "1" + std::string(60, '0');
    const struct {
        std::string in;
        const char* out;
    } cases[] = {
        // Halves away from zero, on the digits as typed.
        {"0.125", "0.13"},
        {"2.675", "2.68"},
        {"-2.675", "-2.68"},
        {"1.005", "1.01"},
        {"0.005", "0.01"},
        {"-0.005", "-0.01"},
        {"0.0049999999999999999999", "0.00"},
        {"0.124999", "0.12"},
        {"9.995", "10.00"},
        {"-999.999", "-1000.00"},
        {"12500.456", "12500.46"},
        {"123456789012345678901234567890.125", "123456789012345678901234567890.13"},
        {"2.675e0", "2.68"},
        {"0.2675E1", "2.68"},
        {"26.75e-1", "2.68"},
        // Signs and zeros.
        {"+5", "5.00"},
        {"+0.125", "0.13"},
        {"5", "5.00"},
        {"-5", "-5.00"},
        {"007.5", "7.50"},
        {"00", "0.00"},
        {"-0", "0.00"},
        {"-0.004", "0.00"},
        // Short forms and exponents.
        {"5.", "5.00"},
        {".5", "0.50"},
        {"1e3", "1000.00"},
        {"1E+2", "100.00"},
        {"2.5e-1", "0.25"},
        {"5e-400", "0.00"},
        {"12345678901234567890.5e-15", "12345.68"},
        {std::string(2000, '1') + "e-1995", "11111.11"},
        {"0." + std::string(2000, '0') + "1e2003", "100.00"},
        // Not a finite number.
        {"nan", "0.00"},
        {"NaN", "0.00"},
        {"inf", "0.00"},
        {"-inf", "0.00"},
        {"infinity", "0.00"},
        {"", "0.00"},
        {".", "0.00"},
        {"-", "0.00"},
        {"+", "0.00"},
        {"++5", "0.00"},
        {"+-5", "0.00"},
        {"-+5", "0.00"},
        {"1e", "0.00"},
        {"1e+", "0.00"},
        {"1.2.3", "0.00"},
        {"1e3.5", "0.00"},
        {"0x10", "0.00"},
        {"douze", "0.00"},
        {"5a", "0.00"},
        // Blanks and commas are not read here (the page removes blanks before).
        {" 5", "0.00"},
        {"5 ", "0.00"},
        {"1,5", "0.00"},
        // Up to 64 characters written; a longer result is no amount.
        {sixtyOneDigits, "1000000000000000000000000000000000000000000000000000000000000.00"},
        {"-" + sixtyOneDigits, "0.00"},
        {"1e61", "0.00"},
        {"1e400", "0.00"},
        {"1e99999999999999999999", "0.00"},
        {"1e-99999999999999999999", "0.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(TwoDecimals(c.in), c.out) << c.in;
}

TEST(FieldRules, LabelPlacementMarkerAndVisibility) {
    const struct {
        int kind, left, labelLeft;
    } labels[] = {{kind::Text, 93, 5},    {kind::Text, 94, 46},      {kind::Text, 400, 352},
                  {kind::Text, 401, 379}, {kind::ListBox, 300, 300}, {kind::Placed, 20, 20},
                  {kind::ComboText, 0, 5}};
    for (const auto& c : labels) EXPECT_EQ(LabelLeft(c.kind, c.left), c.labelLeft) << c.left;

    EXPECT_TRUE(MandatoryMarked(true, ""));
    EXPECT_TRUE(MandatoryMarked(true, "0"));
    EXPECT_TRUE(MandatoryMarked(true, "0.00"));
    EXPECT_FALSE(MandatoryMarked(true, "0.0"));
    EXPECT_FALSE(MandatoryMarked(false, ""));

    EXPECT_FALSE(FieldVisible(3, true));
    EXPECT_FALSE(FieldVisible(2, false));
    EXPECT_TRUE(FieldVisible(2, true));
    EXPECT_TRUE(FieldVisible(0, false));
}

TEST(FieldRules, EditValueOfAnEmptyDateMask) {
    EXPECT_EQ(EditValue("__/__/____", datatype::Date), "");
    EXPECT_EQ(EditValue("__/__/____", datatype::Text), "__/__/____");
    EXPECT_EQ(EditValue("01/02/2024", datatype::Date), "01/02/2024");
}

TEST(FieldRules, ComboCheck) {
    const TXml equip(
        "<InfoComS><InfoCom><idCom>12</idCom><cNom>Martin Paul</cNom></InfoCom></InfoComS>");
    const std::vector<std::string> plain = {"Essence", "Diesel"};
    const std::vector<std::string> withEmpty = {"", "VP", "VU"};
    const std::vector<std::string> coded = {"EX : Export", "RE : Reprise"};
    const struct {
        const char* name;
        ComboState combo;
        ComboVerdict verdict;
        const char* value;
    } cases[] = {
        {"free text", {"GPL", plain, -1, false, false, false, 2, "Energie"}, ComboVerdict::Accepted,
         "GPL"},
        {"pick-only, unknown text", {"GPL", plain, -1, true, false, false, 2, "Energie"},
         ComboVerdict::Refused, ""},
        {"pick-only, cleared", {"", plain, -1, true, false, false, 2, "Energie"},
         ComboVerdict::Accepted, ""},
        {"pick-only, listed", {"Diesel", plain, 1, true, false, false, 2, "Energie"},
         ComboVerdict::Accepted, "Diesel"},
        {"no items", {"x", {}, -1, false, false, false, 2, "Energie"}, ComboVerdict::NoItems, ""},
        {"indexed, empty first item", {"", withEmpty, 0, false, true, true, 4, "Genre"},
         ComboVerdict::Accepted, "0"},
        {"indexed, first real item", {"VP", withEmpty, 1, false, true, true, 4, "Genre"},
         ComboVerdict::Accepted, "1"},
        {"indexed, nothing selected, empty first", {"", withEmpty, -1, false, true, true, 4, "G"},
         ComboVerdict::Accepted, "-1"},
        {"indexed, nothing selected", {"", plain, -1, false, true, false, 4, "G"},
         ComboVerdict::Accepted, "0"},
        {"boolean item 1", {"Non", {"Non", "Oui"}, 0, false, true, false, 3, "BOOLEAN"},
         ComboVerdict::Accepted, "False"},
        {"boolean item 2", {"Oui", {"Non", "Oui"}, 1, false, true, false, 3, "BOOLEAN"},
         ComboVerdict::Accepted, "True"},
        {"code before the label", {"EX : Export", coded, 0, false, false, false, 2, "Origine"},
         ComboVerdict::Accepted, "EX"},
        {"staff", {"Martin Paul", {"Martin Paul"}, 0, false, true, false, 4, "idCom"},
         ComboVerdict::Accepted, "12"},
        {"unknown staff", {"Personne", {"Martin Paul"}, -1, false, true, false, 4, "IDCOM"},
         ComboVerdict::Accepted, "0"},
    };
    for (const auto& c : cases) {
        const ComboCheckResult result = CheckCombo(c.combo, equip);
        EXPECT_EQ(result.verdict, c.verdict) << c.name;
        EXPECT_EQ(result.value, c.value) << c.name;
    }
}

TEST(FieldRules, ListBoxSelection) {
    const std::vector<std::string> items = {"Xylo", "Yacht", "Zinc"};
    const ListBoxValue xz = ListBoxSelection(";X;Y;Z", items, {true, false, true});
    EXPECT_EQ(xz.value, ";X;Z;");
    EXPECT_EQ(xz.display, "Xylo - Zinc");
    EXPECT_EQ(ListBoxSelection(";X;Y;Z", items, {false, false, false}).value, "");
}

TEST(FieldRules, WeekLabel) {
    const struct {
        const char* date;
        const char* week;
    } cases[] = {
        {"", ""},
        {"01/01/2024", "2024s00"},  // 2024 begins on a Monday
        {"06/01/2024", "2024s00"},
        {"07/01/2024", "2024s01"},  // the following Sunday starts week 01
        {"31/12/2024", "2024s52"},
        {"01/01/2023", "2023s00"},  // 2023 begins on a Sunday
        {"07/01/2023", "2023s00"},
        {"08/01/2023", "2023s01"},
        {"pas une date", "1900s00"},
    };
    for (const auto& c : cases) EXPECT_EQ(WeekLabel(c.date), c.week) << c.date;
}

}  // namespace
}  // namespace tarmel
