// The SELECT of a search: condition by kind, family and site prefixes, exact search, the
// launcher's preset condition, the dealership condition, and the encoding for the request.
#include "search/searchquery.h"

#include <array>

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

constexpr std::array<SearchKindInfo, 7> kKinds = {{
    {1, "TSLbImmat", "TSImmat", "Immatriculation", "TVehicles"},
    {2, "TSLbClient", "TSClient", "Acheteur", "TVehicles"},
    {3, "TSLbNVO", "TSNVO", "NVO", "TVehicles"},
    {4, "TSLbImmat", "TSImmat", "Immatriculation", "TVehiclesClarum"},
    {5, "TSLbClient", "TSClient", "CliNom", "TClients"},
    {6, "TSLbMobile", "TSMobile", "CliMobile", "TClients"},
    {7, "TSLbTelephone", "TSTelephone", "CliTelDom", "TClients"},
}};

constexpr const char* kClientColumns =
    "-1 AS TypeVO, idClient AS VO_ID, idClient AS VO_NO, CliMobile, [CliCP], [CliVille], "
    "[CliAdresse1], [CliAdresse2], [CliNom], [CliPrenom], CliTelDom, Site AS VO_SITE, "
    "Concession, idOwner";
constexpr const char* kVehicleColumns =
    "TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, [InfoMarque], "
    "[InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre AS VO_ORDRE, ";
constexpr const char* kClientVehicleColumns =
    "TypeVO, idClient as VO_ID, NVO as VO_NO, Immatriculation AS VO_IMMAT, [InfoMarque], "
    "[InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre AS VO_ORDRE, ";
constexpr const char* kRowTail = " AS VO_Result, Site as VO_SITE, Concession, idOwner";

std::string Doubled(std::string text) {
    ReplaceAll(text, "'", "''");
    return text;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Every occurrence of word removed, ASCII case ignored.
std::string WithoutNoCase(std::string text, std::string_view word) {
    std::string upper = UpperAscii(text);
    const std::string target = UpperAscii(word);
    for (size_t at = upper.find(target); at != std::string::npos; at = upper.find(target, at)) {
        text.erase(at, target.size());
        upper.erase(at, target.size());
    }
    return text;
}

// "(F like '%T%')", or "(F = 'T')" for an exact search. The comparison is written here rather
// than by rewriting "like" afterwards, so a text holding "like" is searched as typed.
std::string Compare(std::string_view field, const std::string& text, bool exact) {
    if (!exact) return "(" + std::string(field) + " like '%" + text + "%')";
    std::string bare = text;
    ReplaceAll(bare, "%", "");
    return "(" + std::string(field) + " = '" + bare + "')";
}

std::string FamilyPrefix(int position) {
    switch (position) {
        case -1:
        case 0: return {};
        case 1: return "(TypeVO=1) and ";
        case 2: return "(TypeVO=2) and (isnull(StatutVD)) and ";
        default: return "(TypeVO=2) and (not isnull(StatutVD)) and ";
    }
}

}  // namespace

const SearchKindInfo& SearchKindOf(int code) {
    return code >= 1 && code <= 7 ? kKinds[size_t(code - 1)] : kKinds[0];
}

int SearchKindFromButtons(bool vehicleOpen, bool numberOn, bool plateOn, bool nameOn,
                          bool mobileOn) {
    if (vehicleOpen) return numberOn ? 3 : plateOn ? 1 : 2;
    return plateOn ? 4 : nameOn ? 5 : mobileOn ? 6 : 7;
}

SearchQuery BuildSearchQuery(const SearchCriteria& c) {
    const SearchKindInfo& kind = SearchKindOf(c.kind);
    const std::string t = Doubled(c.text);
    std::string condition, order;
    switch (kind.code) {
        case 5:
            order = "CliNom, CliPreNom, idClient desc";
            if (t.empty()) {
                condition = "(false)";
            } else {
                condition = Compare("CliNom", t, c.exact);
                if (c.withFirstName)
                    condition += " and " + Compare("CliPreNom", Doubled(c.firstName), c.exact);
            }
            break;
        case 6:
        case 7:
            order = std::string(kind.field) + ", idClient desc";
            condition = t.empty() ? "(false)" : Compare(kind.field, t, c.exact);
            break;
        case 3:
            order = "NVO, DateOrdre desc";
            condition = AllDigits(t) ? "(NVO>=" + t + ")" : "(false)";
            break;
        default:  // plates and buyers: an empty text matches every row
            order = std::string(kind.field) + ", DateOrdre desc";
            condition = Compare(kind.field, t, c.exact);
            break;
    }
    std::string columns;
    if (kind.code <= 3) {
        std::string prefix = FamilyPrefix(c.familyPosition);
        if (!c.site.empty()) prefix += "(SITE='" + c.site + "') and ";
        condition = prefix + condition;
        columns = kVehicleColumns + std::string(kind.field) + kRowTail;
    } else if (kind.code == 4) {
        columns = kClientVehicleColumns + std::string(kind.field) + kRowTail;
    } else {
        columns = kClientColumns;
    }
    if (c.preset) {
        // The launcher's condition may be written for the vehicle table's alias and as a whole
        // WHERE clause.
        condition = " " + WithoutNoCase(WithoutNoCase(c.presetClause, "VO."), "WHERE ");
    }
    if (c.userConcession != "QUINTAR")
        condition = "(Concession='" + c.userConcession + "') and (" + condition + ")";

    SearchQuery query;
    query.sql = "SELECT " + columns + " FROM " + kind.table + " Where " + condition +
                " ORDER BY " + order;
    // The wildcards, and an "&" or "+" of the text, must reach the server as they are: the server
    // decodes "%XX", and an "&" would otherwise cut the statement short.
    query.sent = query.sql;
    ReplaceAll(query.sent, "%", "%25");
    ReplaceAll(query.sent, "&", "%26");
    ReplaceAll(query.sent, "+", "%2B");
    return query;
}

std::string SearchTextCaption(bool exact) {
    return Latin1FromUtf8(exact ? "recherche exacte :" : "à rechercher :");
}

std::string CleanSearchText(std::string_view typed) {
    std::string text;
    text.reserve(typed.size());
    for (char ch : typed) {
        if (ch != '\r' && ch != '\n' && ch != '\t') text.push_back(ch);
    }
    return text;
}

}  // namespace tarmel
