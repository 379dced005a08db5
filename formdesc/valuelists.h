// The value lists of the equipment document and how a field's list is chosen, filled and selected.
// Pure functions over the reader: the window copies the result into its combo or list box.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/xml/txml.h"

namespace tarmel {

// The first run of consecutive "Pars" entries whose type, upper-cased, equals key (itself
// upper-cased by the caller or not: the comparison upper-cases both); texts decoded ("&amp;",
// "&lt;", "&gt;"; also "&cr;" when withLineBreaks). Empty optional when no entry has that type.
std::optional<std::vector<std::string>> ParameterList(const TXml& equip, std::string_view key,
                                                      bool withLineBreaks = false);

// The run of entries of container entry + "S" whose key element equals key: the first matching
// entry and those directly following it with the same key. Keys are compared upper-cased, and also
// trimmed of blanks when trimKeys is set. Empty optional when no entry matches.
std::optional<std::vector<std::string>> KeyedRun(const TXml& equip, std::string_view entry,
                                                 std::string_view keyElement,
                                                 std::string_view itemElement, std::string_view key,
                                                 bool trimKeys);

// Every itemElement of the entries of container entry + "S", in document order.
std::vector<std::string> AllItems(const TXml& equip, std::string_view entry,
                                  std::string_view itemElement);

// Staff: the names (cNom) of the staff whose upper-cased Site contains site; an empty site
// matches nobody.
std::vector<std::string> StaffOfSite(const TXml& equip, std::string_view recordSite);
// The name of the first staff member whose idCom equals identifier exactly; empty when none.
std::string StaffName(const TXml& equip, std::string_view identifier);

// The code of an item text: the staff identifier of a name ("InfoCom"), or the 1-based position of
// the item in a parameter list ("SUJETRELANCE" is read as "SUJETACTION"); "0" when not found.
std::string GetInfoComboBoxIdCom(const TXml& equip, std::string_view listName,
                                 std::string_view text);

// The makes sold by the site named exactly siteText (compared with the upper-cased Site), "VW"
// when no site has that name.
std::string SiteMakes(const TXml& equip, std::string_view siteText);

// What a combo field shows.
struct ComboFillRequest {
    int controlKind = 0;
    int dataType = 0;
    std::string columnName;
    std::string listKey;
    std::string value;
    std::string recordKind;  // "_TVO", "_TVD", "_TVN", "_TCL"
    std::string recordSite;  // upper-cased Site of the record (staff lists)
};

// Make and model remembered through one build or refill of the pages, in entry order.
struct CascadeMemory {
    std::string make, model;
};

struct ComboFill {
    std::vector<std::string> items;
    int selected = -1;        // index into items; -1 selects nothing
    bool emptyFirst = false;
    bool indexed = false;
    std::string value;        // the value after the filler (a ModeTVA of 0 becomes "1")
};

ComboFill FillCombo(const TXml& equip, const ComboFillRequest& request, CascadeMemory& memory);

// What a list box field shows.
struct ListBoxFill {
    std::vector<std::string> items;
    std::vector<bool> selected;
    std::string codes;   // ";X;Y;Z"
    std::string joined;  // texts of the selected items joined with " - "
};

// Option lists (list key L: entries L of container L + "S", text eText, code Abbr) and the
// purchase-wish model lists "PAChoix1" (models of the makes the site sells) and "PAChoix2" (the
// others).
ListBoxFill FillListBox(const TXml& equip, std::string_view listKey, std::string_view value,
                        std::string_view siteMakes);

// The new-vehicle models whose make is (inSite) or is not (!inSite) among the site's makes.
ListBoxFill SiteModels(const TXml& equip, std::string_view siteMakes, bool inSite,
                       std::string_view value);

// The version memo after the model (or the version type) changed. last is the text merged the
// previous time; the new text replaces its first occurrence (any letter case), or goes in front
// (model) or at the end (type) when the memo does not hold it.
std::string MergeModelIntoVersion(std::string_view memo, std::string_view last,
                                  std::string_view model);
std::string MergeTypeIntoVersion(std::string_view memo, std::string_view last,
                                 std::string_view type);

}  // namespace tarmel
