// VAT and margins, the new vehicle's balance and due dates, and the order update date, from the
// texts of the controls.
#include "record/calculations.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

#include "formdesc/fieldrules.h"
#include "formdesc/valuelists.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

constexpr double kStandardPercent = 19.6;
constexpr int kDefaultDelay = 30;   // a first entry that is no whole number
constexpr int kUnreadDelay = 10;    // "TYPE : x" whose x is no whole number
constexpr size_t kDelayDigits = 99;
constexpr int kDeliveryMargin = 5;  // days after delivery before the treasury falls due

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<int> WholeNumber(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
    return value;
}

// The civil date of a day number (days from 1 January 1970).
Date DateOfDayNumber(long days) {
    const long z = days + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return Date{year, month, day};
}

Date AddDays(const Date& date, int days) { return DateOfDayNumber(DayNumber(date) + days); }

// A control's date; nullopt stands for the zero date ("no date").
std::optional<Date> DateOf(std::string_view text) { return ParseShortDate(text); }

long Day(const std::optional<Date>& date) { return date ? DayNumber(*date) : LONG_MIN; }

std::string Shown(const std::optional<Date>& date) { return date ? FormatDate(*date) : ""; }

bool IsMonthEnd(const Date& date) { return AddDays(date, 1).month != date.month; }

}  // namespace

double ReadAmount(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return 0;
    return value;
}

std::string FormatAmount(double value) {
    // Rounded from its shortest decimal writing, so that 2.675 shows as 2.68 as it was typed.
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return TwoDecimals(text);
}

VatRate VatRateFromPercent(double percent) {
    if (percent == kStandardPercent) return VatRate{};
    return VatRate{1 + percent / 100, percent / 100};
}

VatRate DealershipVatRate(const TXml& equip) {
    const auto rates = ParameterList(equip, "TAUXTVA");
    if (!rates || rates->empty()) return VatRate{};
    const std::string_view text = Trimmed(rates->front());
    if (text.empty()) return VatRate{};
    double percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(percent) ||
        percent < 0)
        return VatRate{};
    return VatRateFromPercent(percent);
}

VatMode VatModeOf(int itemCount, int selectedIndex) {
    if (itemCount <= 0) return VatMode::NoList;
    return selectedIndex == 1 ? VatMode::Exempt : VatMode::OnDifference;
}

Margins ComputeMargins(const MarginInput& in) {
    Margins out;
    std::string frevo;
    for (const char c : in.frevoTotal) {
        if (c != ' ') frevo.push_back(c);
    }
    const double refurbishment = ReadAmount(frevo);
    out.frevo = FormatAmount(refurbishment);
    if (in.mode == VatMode::NoList) return out;
    out.computed = true;
    const bool exempt = in.mode == VatMode::Exempt;
    const double difference = ReadAmount(in.salePrice) - ReadAmount(in.tradeInPrice);
    out.vat = FormatAmount(exempt ? 0 : difference / in.rate.inclusive * in.rate.part);
    // The margin takes off the VAT as shown, rounded to the cent.
    double gross = ReadAmount(in.tpvo) + difference - ReadAmount(out.vat);
    if (exempt) gross /= in.rate.inclusive;
    out.gross = FormatAmount(gross);
    out.net = FormatAmount(gross - refurbishment - ReadAmount(in.warranty));
    return out;
}

std::string Balance(std::string_view salePrice, std::string_view financing,
                    std::string_view tradeIn, std::string_view deposit) {
    return FormatAmount(ReadAmount(salePrice) - ReadAmount(financing) - ReadAmount(tradeIn) -
                        ReadAmount(deposit));
}

int FinancingDelay(std::string_view financingType, const DelayList& delays) {
    const std::string type = UpperAscii(financingType);
    if (type.empty() || !delays) return 0;
    const std::string prefix = type + " : ";
    int delay = 0;
    for (const std::string& entry : *delays) {
        if (delay == 0) delay = WholeNumber(entry).value_or(kDefaultDelay);
        if (UpperAscii(entry).rfind(prefix, 0) == 0) {
            const std::string_view days(entry);
            return WholeNumber(days.substr(prefix.size(), kDelayDigits)).value_or(kUnreadDelay);
        }
    }
    return delay;
}

int GroupDelay(const Date& from) {
    int delay = 30;
    while (!IsMonthEnd(AddDays(from, delay))) ++delay;
    return delay;
}

DueDates ComputeDueDates(const DueDateInput& in) {
    std::optional<Date> delivery = DateOf(in.delivery);
    if (!delivery) delivery = DateOf(in.availability);
    const std::optional<Date> declared = DateOf(in.declaredDelivered);
    const std::optional<Date> due = DateOf(in.due);
    const std::optional<Date> purchase = DateOf(in.purchase);

    std::optional<Date> treasury;
    if (!purchase) {
        treasury = delivery ? delivery : due;
    } else if (declared) {
        treasury = AddDays(delivery && Day(delivery) < Day(declared) ? *delivery : *declared,
                           kDeliveryMargin);
    } else if (delivery && Day(AddDays(*delivery, kDeliveryMargin)) <= Day(due)) {
        treasury = AddDays(*delivery, kDeliveryMargin);
    } else {
        treasury = due;
    }

    DueDates out;
    out.treasury = Shown(treasury);
    if (delivery) {
        const int delay = UpperAscii(in.destination) == "GROUPE"
                              ? GroupDelay(*delivery)
                              : FinancingDelay(in.financingType, in.delays);
        out.settlement = FormatDate(AddDays(*delivery, delay));
    }
    return out;
}

std::optional<std::string> OrderUpdateDate(std::string_view stored, std::string_view current,
                                           const Date& serverToday) {
    if (stored == current || !IsValidDate(serverToday.year, serverToday.month, serverToday.day))
        return {};
    return FormatDate(serverToday);
}

std::optional<std::string> MirroredDate(std::string_view changed, std::string_view other) {
    if (changed == other || !DateOf(changed)) return {};
    return std::string(changed);
}

PanelBox ToggleAccountsPanel(const PanelBox& now, int fullHeight) {
    const int travel = fullHeight - kFoldedPanelHeight;
    if (now.height != kFoldedPanelHeight) return PanelBox{now.top + travel, kFoldedPanelHeight};
    return PanelBox{now.top - travel, fullHeight};
}

}  // namespace tarmel
