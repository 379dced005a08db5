#include "sublists/actionlines.h"

#include "formdesc/fieldrules.h"

namespace tarmel {

namespace {

int CodeOr1(const std::string& value) {
    if (value.empty()) return 1;
    try {
        size_t used = 0;
        const int n = std::stoi(value, &used);
        return used == value.size() ? n : 1;
    } catch (const std::exception&) {
        return 1;
    }
}

std::string Quoted(const Date& d) {
    return "\"" + FormatDate(d) + "\"";
}

}  // namespace

TsLine MakeActionTemplate(const std::vector<GridColumn>& columns) {
    TsLine line;
    for (size_t k = 0; k < columns.size() && k < size_t(kActionColumns); ++k) {
        const GridColumn& c = columns[k];
        TsDesc& cell = line.cells[k];
        cell.columnName = c.element;
        cell.rightsTag = c.rightsTag;
        cell.dataType = c.dataType;
        cell.controlKind = c.controlKind;
        cell.fontColour = c.fontColour;
        cell.mandatory = c.mandatory;
        cell.defaultValue = c.defaultValue;
    }
    return line;
}

bool IsStaffColumn(int column) {
    return column == 3 || column == 8;
}
bool IsListColumn(int column) {
    return column == 4 || column == 5 || column == 9 || column == 10;
}

std::optional<std::string> ActionCellText(int column, const std::string& value,
                                          const StaffNameOf& staff,
                                          const std::vector<std::string>& items) {
    if (!IsStaffColumn(column) && !IsListColumn(column)) return value;
    const int code = CodeOr1(value);
    if (code < 1) return std::nullopt;
    if (IsStaffColumn(column)) return staff(std::to_string(code));
    return size_t(code) <= items.size() ? items[size_t(code) - 1] : std::string();
}

std::vector<ActionRow> LoadActionLines(const TXml& client, const TsLine& tmpl, bool rightClarum,
                                       const HoldsRights& holds) {
    std::vector<ActionRow> rows;
    TXml walk = client;
    XmlFind(walk, "TActS");
    while (rows.size() < kMaxActionLines && XmlNext(walk, "TAct") > 0) {
        ActionRow row;
        row.line = tmpl;
        for (size_t k = 0; k < size_t(kActionColumns); ++k) {
            TsDesc& cell = row.line.cells[k];
            std::string value = cell.columnName.empty() ? "" : XmlValueOf(walk, cell.columnName);
            value = DecodeTextEntities(value);
            cell.storedValue = cell.currentValue = value;
            row.locked[k] = !holds(cell.rightsTag);
        }
        const bool commented = !row.line.cells[5].storedValue.empty();
        row.icon = !commented || rightClarum ? ActionIcon::Delete : ActionIcon::Kept;
        rows.push_back(std::move(row));
    }
    return rows;
}

TsLine NewActionLine(const TsLine& tmpl, const Remembered& remembered,
                     const std::string& clientStaff, const Date& today) {
    TsLine line = tmpl;
    for (int column = 1; column <= kActionColumns; ++column) {
        TsDesc& cell = line.cells[size_t(column - 1)];
        std::string value = cell.defaultValue == "now" ? FormatDate(today) : cell.defaultValue;
        // A remembered value replaces the default; without one the default stays.
        if (column != 1 && column != 6) {
            const std::string last = remembered("sAct" + std::to_string(column));
            if (!last.empty()) value = last;
        }
        if (column == 8) value = clientStaff;
        cell.currentValue = value;
        cell.storedValue.clear();  // every filled column counts as a change
    }
    return line;
}

std::optional<Refusal> ActionDateRefusal(int column, std::string_view value,
                                         std::string_view previous, std::string_view actionDate,
                                         const Date& lower, const Date& upper, const Date& today) {
    if (column != 2 && column != 7) return std::nullopt;
    const auto typed = ParseShortDate(value);
    const Date date = typed ? *typed : today;
    const long day = DayNumber(date);
    bool bad = IsZeroDate(date);
    const bool unchanged = typed && ParseShortDate(previous) == typed;
    if (column == 2) {
        bad = bad || (lower.year != 0 && day < DayNumber(lower)) ||
              (upper.year != 0 && day > DayNumber(upper));
        if (!bad || unchanged) return std::nullopt;
        return Refusal{"Contr\xF4le de la date Action",
                       "La valeur du champ \"DateAction\" doit \xEAtre comprise entre le " +
                           Quoted(lower) + " et le " + Quoted(upper)};
    }
    const auto action = ParseShortDate(actionDate);
    bad = bad || (action && day < DayNumber(*action));
    if (!bad || unchanged) return std::nullopt;
    return Refusal{"Contr\xF4le de la date Relance",
                   "La valeur du champ \"DateRelance\" doit \xEAtre sup\xE9rieure au " +
                       (action ? Quoted(*action) : std::string("\"\""))};
}

}  // namespace tarmel
