// Header texts decided from plain control texts: telephone groups, e-mail font sizes, days since
// entry or order, titles, identities and the hint wording.
#include "mainwindow/header/headertext.h"

#include <gtest/gtest.h>

namespace {

using namespace tarmel::header;
using tarmel::Date;

TEST(PhoneGroups, GroupsDigitsByTwoWithThreeFirstWhenOdd) {
    struct Case {
        const char* why;
        const char* text;
        const char* shown;
    } cases[] = {
        {"ten digits", "0612345678", "06.12.34.56.78"},
        {"nine digits", "612345678", "612.34.56.78"},
        {"a blank inside", "06 12345678", "06 12345678"},
        {"letters", "06ABCD5678", "06ABCD5678"},
        {"a sign", "-612345678", "-612345678"},
        {"one character", "6", ""},
        {"empty", "", ""},
        {"two digits", "06", "06"},
        {"three digits", "061", "061"},
    };
    for (const Case& c : cases) EXPECT_EQ(PhoneGroups(c.text), c.shown) << c.why;
}

TEST(EmailFont, ShrinksWithTheLength) {
    const std::pair<size_t, int> cases[] = {{0, 12},  {13, 12}, {14, 10}, {19, 10}, {20, 9},
                                            {25, 9},  {26, 8},  {31, 8},  {32, 7},  {80, 7}};
    for (auto [length, points] : cases) EXPECT_EQ(EmailFontPoints(length), points) << length;
    const std::pair<int, int> pixels[] = {{12, 16}, {10, 13}, {9, 12}, {8, 11}, {7, 9}};
    for (auto [points, px] : pixels) EXPECT_EQ(PointsToPixels(points), px) << points;
}

TEST(HeaderTexts, CaptionTitleAndIdentity) {
    EXPECT_EQ(Family("_TVO"), "VO");
    EXPECT_EQ(Family("_TCL"), "CL");
    EXPECT_EQ(Family(""), "");
    EXPECT_EQ(VehicleCaption("VO", "1234", "PEUGEOT - 308 SW"), "Tarmel - VO N°1234 - PEUGEOT - 308 SW");
    EXPECT_EQ(TitleText("Peugeot", "308 sw Allure"), "PEUGEOT - 308 sw Allure");
    EXPECT_EQ(TitleText("Citroën", "C3"), "CITROëN - C3");  // ASCII letters only
    struct Case {
        const char *civility, *surname, *firstName, *identity;
    } cases[] = {
        {"M.", "dupont", "jEAN", "M. DUPONT Jean"},
        {"", "dupont", "jean", "DUPONT Jean"},
        {"Mme", "", "claire", "Mme  Claire"},  // the blank after the civility, then the one before the first name
        {"", "", "claire", "Claire"},
        {"", "", "", ""},
        {"M.", "martin", "", "M. MARTIN "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IdentityText(c.civility, c.surname, c.firstName), c.identity) << c.identity;
}

TEST(Days, UsedVehicleCountsFromEntry) {
    const Date server{2024, 3, 15}, today{2024, 3, 20};
    struct Case {
        const char* why;
        const char *order, *entry;
        int days;
    } cases[] = {
        {"entry and order", "10/03/2024", "01/03/2024", 9},
        {"order before entry counts the same", "01/03/2024", "10/03/2024", 9},
        {"entry only: to the server's date", "", "01/03/2024", 14},
        {"no entry", "10/03/2024", "", 0},
        {"nothing", "", "", 0},
        {"empty mask", "__/__/____", "01/03/2024", 14},
        {"entry that does not parse counts as today", "", "31/02/2024", 5},
        {"order that does not parse counts as today", "45/03/2024", "01/03/2024", 19},
        {"across a leap day", "01/03/2024", "28/02/2024", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(UsedVehicleDays(c.order, c.entry, server, today), c.days) << c.why;
    // Before the server said its date, the client's own date stands in.
    EXPECT_EQ(UsedVehicleDays("", "01/03/2024", Date{}, today), 19);
}

TEST(Days, NewVehicleCountsFromOrderToInvoiceOrRegistration) {
    const Date today{2024, 3, 20};
    struct Case {
        const char* why;
        const char *order, *invoice, *registration, *text;
    } cases[] = {
        {"order to invoice", "01/02/2024", "11/02/2024", "", "10 jours"},
        {"invoice wins over registration", "01/02/2024", "11/02/2024", "01/03/2024", "10 jours"},
        {"order to registration", "01/02/2024", "", "01/03/2024", "29 jours"},
        {"no invoice nor registration: 0 days, empty", "01/02/2024", "", "", ""},
        {"no order: from today", "", "10/03/2024", "", "10 jours"},
        {"same day: empty", "01/02/2024", "01/02/2024", "", ""},
        {"invalid registration ends at the start", "01/02/2024", "", "99/99/9999", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewVehicleDaysText(c.order, c.invoice, c.registration, today), c.text) << c.why;
}

TEST(HintFor, SwapsVehicleAndClientByTheOpenRecord) {
    struct Case {
        const char* hint;
        bool clientOpen;
        const char* result;
    } cases[] = {
        {"impression de la fiche du véhicule", true, "impression de la fiche du client"},
        {"impression de la fiche du client", false, "impression de la fiche du véhicule"},
        {"nouveau véhicule", false, "nouveau véhicule"},
        {"enregistrement suivant", true, "enregistrement suivant"},
        // Only an exact lower-case word triggers; then every case of it is replaced.
        {"Véhicule et véhicule", true, "client et client"},
        {"VÉHICULE", true, "VÉHICULE"},
        {"Client du client", false, "véhicule du véhicule"},
        {"CLIENT", false, "CLIENT"},
    };
    for (const Case& c : cases) EXPECT_EQ(HintFor(c.hint, c.clientOpen), c.result) << c.hint;
}

}  // namespace
