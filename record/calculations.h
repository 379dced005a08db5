// The figures a vehicle record computes from others as the user types: VAT and margins of a used
// vehicle, balance and due dates of a new vehicle's accounting follow-up, the date of its last
// order update. Texts in, as the controls show them; texts out, as the controls are to show them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

// A control's number, "." as decimal separator; 0 when the text is not a number.
double ReadAmount(std::string_view text);
// "0.00": rounded to two decimals (halves away from zero), "." as separator.
std::string FormatAmount(double value);

// A VAT rate as the margin sheet uses it: an amount including VAT is base x inclusive, its VAT
// base x part.
struct VatRate {
    double inclusive = 1.196;
    double part = 0.196;
};
VatRate VatRateFromPercent(double percent);
// The dealership's rate: the text of the first "TauxTVA" entry of its value lists, in percent
// ("20"); 19.6 % when the lists have none or it is not a number of 0 or more.
VatRate DealershipVatRate(const TXml& equip);

// What the VAT mode combo says: no item at all (the margins are left as shown), its second item
// (index 1: no VAT, the margin taken net of it), anything else (VAT on the price difference).
enum class VatMode { NoList, OnDifference, Exempt };
VatMode VatModeOf(int itemCount, int selectedIndex);

struct MarginInput {
    std::string salePrice, tradeInPrice, tpvo, warranty;
    std::string frevoTotal;  // the refurbishment total; blanks between digits are ignored
    VatMode mode = VatMode::NoList;
    VatRate rate;
};
struct Margins {
    std::string frevo;  // cTotFrevo, always
    bool computed = false;  // false: ccTVA, cMBrute, cMNette keep what they show
    std::string vat, gross, net;
};
Margins ComputeMargins(const MarginInput& in);

// cVNSolde: sale price less financing, trade-in and deposit.
std::string Balance(std::string_view salePrice, std::string_view financing,
                    std::string_view tradeIn, std::string_view deposit);

// The "TypeFinancementDelai" run of the value lists (nullopt when the lists have none).
using DelayList = std::optional<std::vector<std::string>>;

// Days granted by a financing type: the first entry of the list is the default ("30"; 30 when it
// is no whole number), an entry "TYPE : n" gives n (10 when n is no number); 0 without a type or
// without a list.
int FinancingDelay(std::string_view financingType, const DelayList& delays);
// Sales to the group are settled at a month end: the first delay from 30 days on for which
// from + delay is the last day of its month.
int GroupDelay(const Date& from);

struct DueDateInput {
    // "dd/mm/yyyy" texts; anything else counts as no date.
    std::string delivery, availability, declaredDelivered, due, purchase;
    std::string financingType, destination;
    DelayList delays;
};
struct DueDates {
    std::string treasury, settlement;  // "" when there is no date
};
DueDates ComputeDueDates(const DueDateInput& in);

// The date of the last order update once a followed field differs from its stored value; nullopt
// when it does not, or while the server's date is not known.
std::optional<std::string> OrderUpdateDate(std::string_view stored, std::string_view current,
                                           const Date& serverToday);

// The invoice and purchase dates follow each other: the text the other date takes, or nullopt
// when both read the same or the changed one is no date.
std::optional<std::string> MirroredDate(std::string_view changed, std::string_view other);

// The accounting panel folded to its caption line, or unfolded to its full height, with its
// bottom edge kept in place.
struct PanelBox {
    int top = 0, height = 0;
};
inline constexpr int kFoldedPanelHeight = 25;
PanelBox ToggleAccountsPanel(const PanelBox& now, int fullHeight);

}  // namespace tarmel
