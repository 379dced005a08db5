// The duplicate-client indicators of the client page: which field each one watches, the count
// statement sent for it, what it then shows, and the client search its click starts. Plain data
// and functions; the window reads the fields and applies the results.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarmel {

// What an indicator counts: clients of the same name, of the same name and first name, of the
// same home telephone or of the same mobile number.
enum class DuplicateKind { Nom, Ident, TelDom, Mobile };

struct DuplicateIndicator {
    DuplicateKind kind;
    const char* indicator;      // the box showing the count
    const char* field;          // the field whose value is counted, and searched on a click
    const char* column;         // its column in tClients
    const char* doubleClicked;  // the field whose double-click shows the box
    // The search kind a click selects: its static text and its button.
    const char* searchLabel;
    const char* searchButton;
    std::optional<bool> withFirstName;  // none: the click leaves it as it is
};

std::span<const DuplicateIndicator> DuplicateIndicators();
const DuplicateIndicator& IndicatorOf(DuplicateKind kind);

// The client page's texts a count reads (Latin-1, as shown).
struct ClientNames {
    std::string name, firstName, homePhone, mobile;
};

// The count of clients sharing the kind's value, or "" when that value is blank: a first name
// alone is never counted. Values are upper-cased and encoded as stored values are (trimmed,
// apostrophes doubled, URL-significant bytes escaped), so "O'BRIEN" counts and no typed name
// alters the statement.
std::string DuplicateCountStatement(DuplicateKind kind, const ClientNames& names);

// What a check does: the box it fills and the statement to send; nothing is sent ("" statement)
// for a blank value or a box not shown.
struct DuplicateCheck {
    const char* indicator;
    std::string statement;
};
DuplicateCheck PlanDuplicateCheck(DuplicateKind kind, const ClientNames& names, bool shown);

// The count an answer of the query endpoint gives, "" when it has no row (nobody shares it).
std::string DuplicateCountShown(std::string_view answer);

// The client search a click on an indicator starts.
struct DuplicateSearch {
    const char* searchLabel;  // the search kind chosen, its static text and its button
    const char* searchButton;
    std::string text;  // the search text: the watched field's value as shown
    std::optional<bool> withFirstName;
    bool exact;  // Ctrl held at the click asks for a "like" search
};
DuplicateSearch PlanDuplicateSearch(DuplicateKind kind, const ClientNames& names, bool ctrlHeld);

}  // namespace tarmel
