// The figures a vehicle record computes: VAT and margins, balance, due dates, the order update
// date, the date mirror and the accounting panel's fold.
#include "record/calculations.h"

#include <gtest/gtest.h>

namespace tarmel {
namespace {

const VatRate kRate20 = VatRateFromPercent(20);

TEST(Calculations, VatAndMargins) {
    struct Case {
        const char* name;
        const char* frevo;
        VatMode mode;
        VatRate rate;
        bool computed;
        const char *vat, *gross, *net;
    };
    const Case cases[] = {
        // 10000 / 1.196 x 0.196 = 1638.795...; the margin takes off the VAT as shown.
        {"taxed difference", "1500", VatMode::OnDifference, {}, true, "1638.80", "8361.20",
         "6561.20"},
        // 10000 / 1.196 = 8361.204...
        {"second item: no VAT", "1500", VatMode::Exempt, {}, true, "0.00", "8361.20", "6561.20"},
        {"no item: the margins stay", "1500", VatMode::NoList, {}, false, "", "", ""},
        {"blank between thousands", "1 500.00", VatMode::OnDifference, {}, true, "1638.80",
         "8361.20", "6561.20"},
        {"taxed at 20 %", "1500", VatMode::OnDifference, kRate20, true, "1666.67", "8333.33",
         "6533.33"},
        {"second item at 20 %", "1500", VatMode::Exempt, kRate20, true, "0.00", "8333.33",
         "6533.33"},
        {"no refurbishment total", "", VatMode::OnDifference, {}, true, "1638.80", "8361.20",
         "8061.20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MarginInput in;
        in.salePrice = "12000";
        in.tradeInPrice = "2000";
        in.tpvo = "0";
        in.warranty = "300";
        in.frevoTotal = c.frevo;
        in.mode = c.mode;
        in.rate = c.rate;
        const Margins m = ComputeMargins(in);
        EXPECT_EQ(m.frevo, *c.frevo ? "1500.00" : "0.00");
        EXPECT_EQ(m.computed, c.computed);
        EXPECT_EQ(m.vat, c.vat);
        EXPECT_EQ(m.gross, c.gross);
        EXPECT_EQ(m.net, c.net);
    }
}

TEST(Calculations, VatModeFollowsTheSelectedItem) {
    EXPECT_EQ(VatModeOf(0, -1), VatMode::NoList);
    EXPECT_EQ(VatModeOf(2, 0), VatMode::OnDifference);
    EXPECT_EQ(VatModeOf(2, 1), VatMode::Exempt);
    EXPECT_EQ(VatModeOf(3, 2), VatMode::OnDifference);
    EXPECT_EQ(VatModeOf(2, -1), VatMode::OnDifference) << "nothing chosen is not the second item";
}

TEST(Calculations, DealershipVatRate) {
    const auto rateOf = [](const char* pars) {
        return DealershipVatRate(TXml(std::string("<AxInfoEquip><ParsS>") + pars +
                                      "<Pars><type>Site</type><text>LYON</text></Pars>"
                                      "</ParsS></AxInfoEquip>"));
    };
    const VatRate twenty = rateOf("<Pars><type>TauxTVA</type><text>20</text></Pars>"
                                  "<Pars><type>TauxTVA</type><text>5.5</text></Pars>");
    EXPECT_DOUBLE_EQ(twenty.inclusive, 1.2);
    EXPECT_DOUBLE_EQ(twenty.part, 0.2);
    for (const char* none : {"", "<Pars><type>TauxTVA</type><text>vingt</text></Pars>",
                             "<Pars><type>TauxTVA</type><text>-20</text></Pars>",
                             "<Pars><type>TauxTVA</type><text></text></Pars>"}) {
        const VatRate standard = rateOf(none);
        EXPECT_EQ(standard.inclusive, 1.196) << none;
        EXPECT_EQ(standard.part, 0.196) << none;
    }
}

TEST(Calculations, AmountsReadAndShown) {
    EXPECT_EQ(ReadAmount("12000.50"), 12000.5);
    EXPECT_EQ(ReadAmount("-3.5"), -3.5);
    for (const char* none : {"", "abc", "12,5", "1 500", "12.5.1", "inf", "nan"})
        EXPECT_EQ(ReadAmount(none), 0) << none;
    EXPECT_EQ(FormatAmount(2.675), "2.68") << "halves as typed, not as the binary value";
    EXPECT_EQ(FormatAmount(-0.001), "0.00") << "no negative zero";
    EXPECT_EQ(FormatAmount(-1234.5), "-1234.50");
    EXPECT_EQ(Balance("30000", "20000", "5000", "1000.5"), "3999.50");
    EXPECT_EQ(Balance("30000", "", "x", ""), "30000.00");
}

DueDateInput DueInput(const char* purchase, const char* declared, const char* delivery,
                      const char* availability, const char* due) {
    DueDateInput in;
    in.purchase = purchase;
    in.declaredDelivered = declared;
    in.delivery = delivery;
    in.availability = availability;
    in.due = due;
    return in;
}

TEST(Calculations, TreasuryDueDate) {
    struct Case {
        const char* name;
        const char *purchase, *declared, *delivery, *availability, *due;
        const char* treasury;
    };
    const Case cases[] = {
        {"not bought: the delivery", "", "", "12/05/2026", "", "15/05/2026", "12/05/2026"},
        {"not bought: the availability", "", "", "", "14/05/2026", "15/05/2026", "14/05/2026"},
        {"not bought, no delivery: the due date", "", "", "", "", "15/05/2026", "15/05/2026"},
        {"not bought, no date at all", "", "", "", "", "", ""},
        {"delivered before declared", "02/04/2026", "20/05/2026", "12/05/2026", "", "",
         "17/05/2026"},
        {"delivered after declared", "02/04/2026", "20/05/2026", "25/05/2026", "", "",
         "25/05/2026"},
        {"declared, no delivery", "02/04/2026", "20/05/2026", "", "", "", "25/05/2026"},
        {"five days pass the due date", "02/04/2026", "", "12/05/2026", "", "15/05/2026",
         "15/05/2026"},
        {"five days within the due date", "02/04/2026", "", "12/05/2026", "", "31/05/2026",
         "17/05/2026"},
        {"five days on the due date itself", "02/04/2026", "", "12/05/2026", "", "17/05/2026",
         "17/05/2026"},
        {"no due date", "02/04/2026", "", "12/05/2026", "", "", ""},
        {"a half-typed date is none", "02/04/2026", "", "12/05/2026", "", "3_/05/____", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeDueDates(DueInput(c.purchase, c.declared, c.delivery, c.availability,
                                           c.due))
                      .treasury,
                  c.treasury);
    }
}

TEST(Calculations, SettlementDueDate) {
    using List = std::vector<std::string>;
    const List credit = {"30", "CREDIT : 45"};
    struct Case {
        const char* name;
        const char *delivery, *availability, *financing, *destination;
        DelayList delays;
        const char* settlement;
    };
    const Case cases[] = {
        {"credit in any case", "10/03/2026", "", "Credit", "", credit, "24/04/2026"},
        {"a type the list lacks: the default", "10/03/2026", "", "LOA", "", credit,
         "09/04/2026"},
        {"first entry no number, no match", "10/03/2026", "", "LOA", "",
         List{"COMPTANT : 8", "CREDIT : 45"}, "09/04/2026"},
        {"matching entry without a number", "10/03/2026", "", "CREDIT", "",
         List{"30", "CREDIT : quarante"}, "20/03/2026"},
        {"a first entry of 0 leaves the next to decide", "10/03/2026", "", "LOA", "",
         List{"0", "COMPTANT : 8"}, "09/04/2026"},
        {"no financing type", "10/03/2026", "", "", "", credit, "10/03/2026"},
        {"no list", "10/03/2026", "", "CREDIT", "", std::nullopt, "10/03/2026"},
        {"availability stands for delivery", "", "10/03/2026", "CREDIT", "", credit,
         "24/04/2026"},
        // 10/03 + 30 = 09/04, not a month end; the first one from there is 30/04 (51 days).
        {"group sale: a month end", "10/03/2026", "", "CREDIT", "groupe", credit, "30/04/2026"},
        {"group sale without financing", "10/03/2026", "", "", "GrOuPe", std::nullopt,
         "30/04/2026"},
        {"thirty days fall on a month end", "01/03/2026", "", "", "GROUPE", credit,
         "31/03/2026"},
        {"no delivery date: none", "", "", "CREDIT", "GROUPE", credit, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DueDateInput in = DueInput("", "", c.delivery, c.availability, "");
        in.financingType = c.financing;
        in.destination = c.destination;
        in.delays = c.delays;
        EXPECT_EQ(ComputeDueDates(in).settlement, c.settlement);
    }
    EXPECT_EQ(GroupDelay(Date{2026, 3, 10}), 51);
}

TEST(Calculations, OrderUpdateAndDateMirror) {
    const Date today{2026, 12, 10};
    EXPECT_EQ(OrderUpdateDate("01/02/2026", "03/02/2026", today), "10/12/2026");
    EXPECT_EQ(OrderUpdateDate("01/02/2026", "01/02/2026", today), std::nullopt);
    EXPECT_EQ(OrderUpdateDate("", "En stock", Date{}), std::nullopt) << "server date unknown";

    EXPECT_EQ(MirroredDate("12/05/2026", ""), "12/05/2026");
    EXPECT_EQ(MirroredDate("12/05/2026", "12/05/2026"), std::nullopt) << "the echo stops";
    EXPECT_EQ(MirroredDate("12/0_/____", "12/05/2026"), std::nullopt);
    EXPECT_EQ(MirroredDate("", "12/05/2026"), std::nullopt) << "a cleared date is not copied";
}

TEST(Calculations, AccountsPanelFoldsToItsCaption) {
    const PanelBox folded = ToggleAccountsPanel({210, 258}, 258);
    EXPECT_EQ(folded.top, 443);
    EXPECT_EQ(folded.height, kFoldedPanelHeight);
    const PanelBox unfolded = ToggleAccountsPanel(folded, 258);
    EXPECT_EQ(unfolded.top, 210);
    EXPECT_EQ(unfolded.height, 258);
    // A panel of 216 pixels travels 191.
    EXPECT_EQ(ToggleAccountsPanel({210, 216}, 216).top, 401);
}

}  // namespace
}  // namespace tarmel
