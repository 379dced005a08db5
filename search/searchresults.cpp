// Reading a search answer into grid rows, and the grid's layout for a kind.
#include "search/searchresults.h"

#include "formdesc/fieldentry.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

// Answers write "&", "<" and ">" as entities.
std::string ValueOf(const TXml& item, std::string_view name) {
    return DecodeBasicEntities(XmlValueOf(item, name));
}

bool ClientKind(int kind) { return kind >= 5 && kind <= 7; }

int RowImage(const TXml& item, const std::string& userConcession, const std::string& userSite) {
    if (ValueOf(item, "Concession") != userConcession) return kOtherDealership;
    if (userSite == "#") return kOwnSite;
    const std::string site = UpperAscii(ValueOf(item, "VO_SITE"));
    return UpperAscii(userSite).find(site) != std::string::npos ? kOwnSite : kOtherSite;
}

// "VO-Ps-123": the family (vehicle searches), the site's first and last letters, the number.
std::string Reference(const TXml& item, int kind) {
    const std::string site = ValueOf(item, "VO_SITE");
    std::string reference;
    if (kind >= 1 && kind <= 3) {
        const std::string type = ValueOf(item, "TypeVO");
        if (!ValueOf(item, "StatutVD").empty()) reference = "VD-";
        else if (type == "1") reference = "VO-";
        else if (type == "2") reference = "VN-";
        else reference = "VD-";
    }
    if (!site.empty()) {
        reference += site.front();
        reference += LowerAscii(site.substr(site.size() - 1));
    }
    return reference + "-" + ValueOf(item, "VO_NO");
}

std::string Address(const TXml& item) {
    std::string address = ValueOf(item, "CliCP") + " " + ValueOf(item, "CliVille");
    for (const char* line : {"CliAdresse1", "CliAdresse2"}) {
        const std::string text = ValueOf(item, line);
        if (!text.empty()) address += " - " + text;
    }
    return address;
}

}  // namespace

SearchAnswer ReadSearchAnswer(const TXml& answer, int kind, const std::string& userConcession,
                              const std::string& userSite) {
    TXml reader = answer;
    SearchAnswer result;
    XmlAttr(reader, "RowCount", result.rowCount);
    XmlAttr(reader, "EOF", result.eof);
    XmlFind(reader, "AXQueryS");
    const bool client = ClientKind(kind);
    while (XmlNext(reader, "AXQuery") != 0) {
        SearchRow row;
        row.id = ValueOf(reader, "VO_ID");
        row.image = RowImage(reader, userConcession, userSite);
        row.info[0] = Reference(reader, kind);
        row.info[1] = ValueOf(reader, client ? "CliTelDom" : "VO_ORDRE");
        row.info[2] = ValueOf(reader, client ? "CliMobile" : "VO_IMMAT");
        row.info[3] = client ? Address(reader)
                             : ValueOf(reader, "InfoMarque") + " " +
                                   ValueOf(reader, "InfoModele");
        // Names are shown in capitals, accents included.
        row.info[4] = UpperLatin1(ValueOf(reader, "VO_BUYER"));
        if (row.info[4].empty())
            row.info[4] =
                UpperLatin1(ValueOf(reader, "CliNom") + " " + ValueOf(reader, "CliPrenom"));
        result.rows.push_back(std::move(row));
    }
    return result;
}

std::string SearchCountLabel(const SearchAnswer& answer) {
    return answer.rowCount + Latin1FromUtf8(answer.eof == "0" ? " premiers enregistrements"
                                                              : " enregistrements trouvés");
}

bool SearchPlusVisible(const SearchAnswer& answer, int kind) {
    return answer.eof == "0" && kind != 3;
}

SearchGridLayout SearchLayoutFor(int kind) {
    SearchGridLayout layout;
    const bool client = ClientKind(kind);
    if (client) {
        layout.headers = {"", "", Latin1FromUtf8("Réf."), Latin1FromUtf8("Tél.Dom."), "Mobile",
                          "Adresse", "Client"};
    } else {
        layout.headers = {"", "", Latin1FromUtf8("N°VO"), "D.Ordre", "Immat.",
                          Latin1FromUtf8("Véhicule"), "Client"};
    }
    layout.widths = {8, 20, 100, 0, 0, 150, 200};
    layout.sorts = {SearchSort::Number, SearchSort::Number, SearchSort::Text,
                    client ? SearchSort::Text : SearchSort::Date, SearchSort::Text,
                    SearchSort::Text, SearchSort::Text};
    switch (kind) {
        case 2:
        case 5: layout.searchColumn = 6; break;
        case 3: layout.searchColumn = 2; break;
        case 7: layout.searchColumn = 3; break;
        default: layout.searchColumn = 4; break;
    }
    layout.sortedColumn = layout.searchColumn;
    return layout;
}

ControlPlan SearchNavigationPlan(int row, int count) {
    ControlPlan plan;
    if (row < 0) return plan.Enable("JvXPPrev", false).Enable("JvXPNext", count > 0);
    return plan.Enable("JvXPNext", row < count - 1).Enable("JvXPPrev", row > 0);
}

}  // namespace tarmel
