// The duplicate-client indicators: their table, the count statement and the click's search.
#include "search/duplicates.h"

#include "server/encoders.h"
#include "server/xml/texttools.h"
#include "server/xml/txml.h"

namespace tarmel {

namespace {

constexpr DuplicateIndicator kIndicators[] = {
    {DuplicateKind::Nom, "DblNom", "aCliNom", "CliNom", "aCliNom", "TSLbClient", "TSClient", false},
    {DuplicateKind::Ident, "DblIdent", "aCliNom", "CliNom", "aCliPrenom", "TSLbClient", "TSClient",
     true},
    {DuplicateKind::TelDom, "DblTelDom", "aCliTelDom", "CliTelDom", "aCliTelDom", "TSLbTelephone",
     "TSTelephone", std::nullopt},
    {DuplicateKind::Mobile, "DblMobile", "aCliMobile", "CliMobile", "aCliMobile", "TSLbMobile",
     "TSMobile", std::nullopt},
};

const std::string& ValueOf(DuplicateKind kind, const ClientNames& names) {
    switch (kind) {
        case DuplicateKind::TelDom: return names.homePhone;
        case DuplicateKind::Mobile: return names.mobile;
        case DuplicateKind::Nom:
        case DuplicateKind::Ident: break;
    }
    return names.name;
}

std::string Literal(std::string_view value) { return SqlText(UpperAscii(value)); }

}  // namespace

std::span<const DuplicateIndicator> DuplicateIndicators() { return kIndicators; }

const DuplicateIndicator& IndicatorOf(DuplicateKind kind) {
    for (const DuplicateIndicator& i : kIndicators) {
        if (i.kind == kind) return i;
    }
    return kIndicators[0];
}

std::string DuplicateCountStatement(DuplicateKind kind, const ClientNames& names) {
    const std::string& value = ValueOf(kind, names);
    if (TrimBlanks(value).empty()) return {};
    const std::string column = IndicatorOf(kind).column;
    std::string statement = "select count(idClient) as cpt from tClients group by " + column;
    if (kind == DuplicateKind::Ident) statement += ", CliPrenom";
    statement += " having (" + column + "=" + Literal(value) + ")";
    if (kind == DuplicateKind::Ident)
        statement += " and (CliPreNom=" + Literal(names.firstName) + ")";
    return statement;
}

DuplicateCheck PlanDuplicateCheck(DuplicateKind kind, const ClientNames& names, bool shown) {
    DuplicateCheck check{IndicatorOf(kind).indicator, {}};
    if (shown) check.statement = DuplicateCountStatement(kind, names);
    return check;
}

std::string DuplicateCountShown(std::string_view answer) {
    // The first row's count; with no row the search stops at the end of the empty rowset.
    TXml reader{std::string(answer)};
    XmlFind(reader, "AXQuery");
    return XmlValueOf(reader, "cpt");
}

DuplicateSearch PlanDuplicateSearch(DuplicateKind kind, const ClientNames& names, bool ctrlHeld) {
    const DuplicateIndicator& indicator = IndicatorOf(kind);
    return {indicator.searchLabel, indicator.searchButton, ValueOf(kind, names),
            indicator.withFirstName, !ctrlHeld};
}

}  // namespace tarmel
