// The date test, its message, the birth-date limit and the limits of each date control.
#include "record/datecheck.h"

#include <tuple>

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

bool IsSet(const Date& d) { return d.year != 0; }

bool Before(const Date& a, const Date& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

std::string Quoted(const Date& d) { return "\"" + FormatDate(d) + "\""; }

}  // namespace

DateVerdict CheckDate(const DateCheck& check) {
    const std::optional<Date> date = ParseShortDate(check.text);
    const DateRange& r = check.range;
    DateVerdict verdict;
    if (IsSet(r.lower) && (!date || Before(*date, r.lower)))
        verdict.refused = true;
    else if (IsSet(r.upper) && date && Before(r.upper, *date))
        verdict.refused = true;
    if (check.described && check.text == check.storedValue) verdict.refused = false;
    if (verdict.refused && date && check.described)
        verdict.message =
            DateRangeMessage(DateFieldLabel(check.caption, check.columnName), check.range);
    return verdict;
}

std::string DateFieldLabel(std::string_view caption, std::string_view columnName) {
    std::string label;
    for (char c : caption) {
        if (c != ':') label += c;
    }
    return label.empty() ? std::string(columnName) : label;
}

std::string DateRangeMessage(std::string_view label, const DateRange& range) {
    std::string text = "La valeur du champ \"" + std::string(label) + "\" ";
    if (IsSet(range.lower) && IsSet(range.upper))
        return text + Latin1FromUtf8("doit être comprise entre le ") + Quoted(range.lower) +
               " et le " + Quoted(range.upper);
    if (IsSet(range.lower))
        return text + Latin1FromUtf8("doit être supérieure au ") + Quoted(range.lower);
    return text + Latin1FromUtf8("doit être inférieure au ") + Quoted(range.upper);
}

Date AdultBirthLimit(const Date& today) {
    Date limit{today.year - 18, today.month, today.day};
    // 18 years before a leap year is never one, so on 29 February the same day does not exist.
    // 28 February is the usual legal reading, and it keeps every accepted birth date at least
    // 18 years old: someone born on 1 March of that year turns 18 only tomorrow.
    if (!IsValidDate(limit.year, limit.month, limit.day)) limit.day = 28;
    return limit;
}

std::span<const DateExitRow> DateExitRows() {
    using B = DateBound;
    static const std::vector<DateExitRow> rows = {
        {{"cMEC", "cVDMEC", "cVNMEC", "vMEC"}, B::None, B::ServerToday},
        {{"vDateOrdre", "vDateLastSAV"}, B::None, B::ServerToday},
        {{"cDateEntree", "cDateOrdre", "cVNDateOrdre", "cDateValidationGarantie", "cDateLivraison",
          "cVNDateLivraison", "cDatePresFinancement", "cDatePaiement", "cVNDatePresFinancement",
          "cVNDatePaiement", "cVNDateAnnulation"},
         B::LimitDeb, B::LimitFin},
        {{"cDateDisponibilite", "cVNDateDisponibilite", "cVNDateLivrMaxi", "vDateNextSAV"},
         B::ServerToday, B::None},
        {{"vDateFinGarantie", "vDateFinFinancement"}, B::OrderElseMEC, B::None},
        {{"aCliDateNaissance"}, B::None, B::AdultBirth},
    };
    return rows;
}

const DateExitRow* FindDateExitRow(std::string_view control) {
    for (const DateExitRow& row : DateExitRows()) {
        for (std::string_view name : row.controls) {
            if (name == control) return &row;
        }
    }
    return nullptr;
}

std::optional<DateRange> ExitRange(const DateExitRow& row, const DateSources& s) {
    auto limit = [&s](DateBound bound) -> Date {
        switch (bound) {
            case DateBound::None: return {};
            case DateBound::ServerToday: return s.serverToday;
            case DateBound::LimitDeb: return s.limitDeb;
            case DateBound::LimitFin: return s.limitFin;
            case DateBound::OrderElseMEC:
                if (auto order = ParseShortDate(s.orderText)) return *order;
                return ParseShortDate(s.mecText).value_or(Date{});
            case DateBound::AdultBirth: return AdultBirthLimit(s.today);
        }
        return {};
    };
    const DateRange range{limit(row.lower), limit(row.upper)};
    const bool orderBased = row.lower == DateBound::OrderElseMEC;
    if (orderBased && !IsSet(range.lower)) return std::nullopt;
    return range;
}

}  // namespace tarmel
