// Change detection of a page and the statement text the data server runs.
#include "record/statements.h"

#include "formdesc/fieldkinds.h"
#include "server/encoders.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

// The literal of a non-empty value by data type.
std::string Literal(const std::string& value, int dataType, bool inWhere) {
    switch (dataType) {
        case datatype::Date: return SqlDate(value);
        case datatype::Text: return inWhere ? value : SqlText(value);
        case datatype::Decimal: return SqlNumber(value);
        default: return value;
    }
}

// Fields the page never writes, whatever their values.
bool NeverWritten(const TsDesc& field) {
    const std::string column = UpperAscii(field.columnName);
    if (column.find("FDM") != std::string::npos) return true;
    // A refurbishment total going from zero to blank is not a change.
    if (column.rfind("FREVO", 0) == 0 && field.storedValue == "0.00" && field.currentValue.empty())
        return true;
    if (field.rightsTag.find("READONLY") != std::string::npos) return true;
    return !field.readName.empty();
}

void AppendListed(std::string& list, const std::string& item) {
    if (!list.empty()) list += ",";
    list += item;
}

}  // namespace

ColumnLiteral ValueLiteral(const TsDesc& field) {
    const std::string& value = field.currentValue;
    return {field.columnName, value.empty() ? "NULL" : Literal(value, field.dataType, false)};
}

std::string KeyTerm(const TsDesc& field) {
    if (field.storedValue.empty()) return "isNull(" + field.columnName + ")";
    return field.columnName + "=" + Literal(field.storedValue, field.dataType, true);
}

PageStatement BuildPageStatement(const std::vector<TsDesc>& fields, const StatementContext& context) {
    PageStatement out;
    out.recordTypeCode = context.recordTypeCode;
    std::string where, setList, columns, values;
    bool keySwitch = true;
    bool keyValued = false;  // some key field holds a value
    for (const TsDesc& field : fields) {
        if (field.boundControl == nullptr) {
            if (keySwitch) {
                if (!where.empty()) where += " and ";
                where += "(" + KeyTerm(field) + ")";
                keyValued = keyValued || !field.storedValue.empty();
            }
            continue;
        }
        keySwitch = false;
        if (NeverWritten(field) || field.storedValue == field.currentValue) continue;
        out.changed = true;
        const ColumnLiteral item = ValueLiteral(field);
        if (context.insert) {
            AppendListed(columns, item.column);
            AppendListed(values, item.literal);
        } else {
            AppendListed(setList, item.column + "=" + item.literal);
        }
    }
    if (!out.changed) return out;

    std::string table = context.page == 8 ? "TVehiclesClarum" : context.table;
    if (table.find(' ') != std::string::npos) table = "[" + table + "]";

    if (!context.insert) {
        // Without a key the UPDATE would reach every row of the table.
        if (where.empty()) {
            out.refusal = kNoKeyRefusal;
            return out;
        }
        if (!keyValued) {
            out.refusal = kEmptyKeyRefusal;
            return out;
        }
        out.statement = "Update " + table + " set " + setList + " where " + where;
        return out;
    }

    if (out.recordTypeCode.empty())
        out.recordTypeCode = context.idTypeVO == 0 ? "1" : std::to_string(context.idTypeVO);
    const bool vehicle = context.family != "CL";
    std::string& s = out.statement;
    s = "Insert into " + table + " (" + columns;
    if (vehicle) s += ", idTVO, TypeVO, idVO";
    if (context.page == 7) s += ", idClient, DateCreation";
    if (context.page == 8) s += ", idClient, idTVO, NVO";
    s += ", idOwner, Concession) Values (" + values;
    if (vehicle) s += ", :NewID, " + out.recordTypeCode + ", :NewIDbis";
    if (context.page == 7) s += ", :NewID, " + SqlDate(FormatDate(context.today));
    if (context.page == 8) s += "," + context.clientId + ", :NewID, :NewIDbis";
    s += "," + context.idUser + ", '" + context.concession + "')";
    return out;
}

}  // namespace tarmel
