#include "sublists/frevolines.h"

#include <cmath>

#include "formdesc/fieldkinds.h"
#include "formdesc/fieldrules.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

std::string WithoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

long DayOr(std::string_view text, const Date& fallback) {
    const auto date = ParseShortDate(text);
    return DayNumber(date ? *date : fallback);
}

double Amount(const std::string& text) {
    try {
        size_t used = 0;
        const double value = std::stod(text, &used);
        return used == text.size() && std::isfinite(value) ? value : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

std::string SumText(double sum) {
    if (std::fabs(sum) < 0.005) return {};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", sum);
    return buffer;
}

// Index of the type's sum: 1 fixed, 2 internal, 3 external, 4 any other (empty included).
size_t TypeSum(const std::string& type) {
    const std::string t = UpperAscii(type);
    if (t == "FIXE") return 1;
    if (t == "INTERNE") return 2;
    if (t == "EXTERNE") return 3;
    return 4;
}

}  // namespace

FrevoTemplate MakeFrevoTemplate(const std::vector<GridColumn>& columns) {
    FrevoTemplate out;
    for (size_t k = 0; k < columns.size() && k < size_t(kFrevoCells); ++k) {
        const GridColumn& c = columns[k];
        TsDesc& cell = out.line.cells[k];
        cell.columnName = c.element;
        cell.rightsTag = c.rightsTag;
        cell.dataType = c.dataType;
        cell.fontColour = c.fontColour;
        cell.controlKind = c.controlKind;
        cell.mandatory = c.mandatory;
        if (out.addRightTag.empty()) out.addRightTag = c.rightsTag;
        out.widths.push_back(c.width);
        out.captions.push_back(c.caption);
    }
    return out;
}

FrevoLoad LoadFrevoLines(const TXml& record, const FrevoTemplate& tmpl, bool accountingRight,
                         const HoldsRights& holds, const Date& today) {
    FrevoLoad out;
    TXml walk = record;
    XmlFind(walk, "FrevoS");
    while (out.rows.size() < kMaxFrevoLines && XmlNext(walk, "Frevo") > 0) {
        FrevoRow row;
        row.line = tmpl.line;
        row.line.locked = !XmlValueOf(walk, "NComptable").empty() && !accountingRight;
        for (size_t k = 0; k < size_t(kFrevoCells); ++k) {
            TsDesc& cell = row.line.cells[k];
            if (cell.columnName.empty()) continue;
            // Texts come with the document's entities ("&amp;"), as every field's.
            std::string text = DecodeTextEntities(XmlValueOf(walk, cell.columnName));
            if (cell.dataType == datatype::Integer || cell.dataType == datatype::Decimal)
                text = WithoutBlanks(text);
            if (cell.dataType == datatype::Decimal) text = TwoDecimals(text);
            cell.storedValue = cell.currentValue = text;
            const bool held = !cell.rightsTag.empty() && holds(cell.rightsTag);
            row.readOnly[k] = !held || (!accountingRight && row.line.locked);
        }
        const bool invoiced = !row.line.cells[5].storedValue.empty();
        row.icon = !invoiced || accountingRight ? FrevoIcon::Delete : FrevoIcon::Kept;
        out.rows.push_back(std::move(row));
    }
    if (!tmpl.addRightTag.empty() && holds(tmpl.addRightTag)) {
        FrevoRow add;
        add.line = tmpl.line;
        add.icon = FrevoIcon::Add;
        add.line.cells[1].currentValue = FormatDate(today);
        add.line.cells[6].currentValue = "interne";
        out.rows.push_back(std::move(add));
        out.addLine = true;
    }
    return out;
}

FrevoTotals ComputeFrevoTotals(const std::vector<TsLine>& lines, std::string_view delivery,
                               const Date& today) {
    // The first day of the month after delivery.
    const auto delivered = ParseShortDate(delivery);
    Date bound = delivered ? *delivered : today;
    bound = bound.month == 12 ? Date{bound.year + 1, 1, 1} : Date{bound.year, bound.month + 1, 1};
    const long boundDay = DayNumber(bound);

    std::array<double, 10> sums{};
    for (size_t i = 1; i < lines.size(); ++i) {
        const TsLine& line = lines[i];
        const double amount = Amount(line.cells[7].currentValue);
        const size_t type = TypeSum(line.cells[6].currentValue);
        sums[0] += amount;
        sums[type] += amount;
        if (DayOr(line.cells[1].currentValue, today) < boundDay) {
            sums[5] += amount;
            sums[5 + type] += amount;
        }
    }
    FrevoTotals out;
    for (size_t i = 0; i < sums.size(); ++i) out.texts[i] = SumText(sums[i]);
    return out;
}

bool FrevoCellEditable(std::string_view column, bool addLine, bool locked, bool accountingRight) {
    if (addLine) return column == "DateFrevo";
    if (column == "NComptable") return accountingRight;
    for (const char* c :
         {"DateFrevo", "LibelleFrevo", "NomFournisseur", "NFacture", "TypeFrevo", "MontantHT"}) {
        if (column == c) return !locked;
    }
    return false;
}

std::optional<std::string> FrevoDateRefusal(std::string_view value, std::string_view stored,
                                            const Date& lower, const Date& upper,
                                            const Date& today) {
    const auto typed = ParseShortDate(value);
    const Date date = typed ? *typed : today;
    const long day = DayNumber(date);
    const bool out = IsZeroDate(date) || (lower.year != 0 && day < DayNumber(lower)) ||
                     (upper.year != 0 && day > DayNumber(upper));
    if (!out || value == stored) return std::nullopt;
    const auto limit = [](const Date& d) { return "\"" + FormatDate(d) + "\""; };
    return "La valeur du champ \"DateFrevo\" doit \xEAtre comprise entre le " + limit(lower) +
           " et le " + limit(upper);
}

}  // namespace tarmel
