// The search kinds of the panel and the SELECT statement a search sends: plain text in, text out.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

// Codes 1 to 3 search vehicles (a vehicle is open), 4 to 7 clients (a client is open).
struct SearchKindInfo {
    int code;
    const char* staticText;  // the caption the user clicks
    const char* button;      // enabled exactly for the chosen kind
    const char* field;       // the column searched
    const char* table;
};

// The row of a code 1 to 7; code 1 for any other.
const SearchKindInfo& SearchKindOf(int code);
// The kind whose button is enabled (vehicle: number, plate, else buyer; client: plate, name,
// mobile, else telephone).
int SearchKindFromButtons(bool vehicleOpen, bool numberOn, bool plateOn, bool nameOn,
                          bool mobileOn);

struct SearchCriteria {
    int kind = 1;
    std::string text;  // as typed, line breaks and tabs already removed
    std::string site;  // vehicle kinds: the site combo's text, empty for all
    int familyPosition = -1;  // vehicle kinds: the family combo's index (-1, 0: all)
    bool withFirstName = false;  // name search: also on the open client's first name
    std::string firstName;
    bool exact = false;
    bool preset = false;         // the launcher's condition replaces the criteria
    std::string presetClause;    // the settings file's "WhereClause"
    std::string userConcession;  // "QUINTAR" searches every dealership
};

struct SearchQuery {
    std::string sql;   // as the server runs it
    std::string sent;  // as it travels in the request: "%", "&" and "+" percent-encoded
};

SearchQuery BuildSearchQuery(const SearchCriteria& criteria);

// The caption of the label before the search text.
std::string SearchTextCaption(bool exact);

// Carriage returns, line feeds and tabs removed.
std::string CleanSearchText(std::string_view typed);

}  // namespace tarmel
