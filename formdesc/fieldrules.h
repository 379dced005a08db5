// Rules of one field that need no widget: the value shown when a page is filled, its label's
// place, the mandatory marker, visibility, and the values the editing handlers store.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

// A record's value as the field shows it: text fields decoded, "now" as today's date, blanks
// removed from numbers and decimals written with two decimals.
std::string FieldValueFromRecord(std::string_view raw, int controlKind, int dataType,
                                 const Date& today);

// "0.00" form of a decimal text ("+5", "-2.675", ".5", "1e3"), its digits rounded half away from
// zero ("2.675" gives "2.68"); "0.00" when the text is not a finite number (blanks and "," make it
// none), when the result would be longer than 64 characters, and for anything that rounds to zero.
std::string TwoDecimals(std::string_view text);

// Left of a field's label: above the control for list boxes and placed controls, otherwise to
// its left by a step that depends on how far right the field stands.
int LabelLeft(int controlKind, int left);

// Whether the label is underlined: a mandatory field with no value ("", "0" or "0.00").
bool MandatoryMarked(bool mandatory, std::string_view value);

// Visibility code 3 hides always, 2 hides from users without the right to edit.
bool FieldVisible(int enabledCode, bool rights);

// The current value of a text control: an empty date mask is an empty date.
std::string EditValue(std::string_view text, int dataType);

// The combo check: whether the typed text may stand, and the value it gives.
struct ComboState {
    std::string text;
    std::vector<std::string> items;
    int selectedIndex = -1;
    bool limitToList = false;
    bool indexed = false;
    bool emptyFirst = false;
    int dataType = 0;
    std::string listName;
};
enum class ComboVerdict {
    Refused,   // text not in the pick-only list: the value stays, the focus returns
    NoItems,   // nothing to choose from: the value stays
    Accepted,  // value holds the new current value
};
struct ComboCheckResult {
    ComboVerdict verdict = ComboVerdict::Accepted;
    std::string value;
};
// Indexed staff lists ("IDCOM") store the staff identifier read from the equipment document.
ComboCheckResult CheckCombo(const ComboState& combo, const TXml& equip);

// The value of a list box: ";" + each selected item's code + ";" (codes are ";X;Y;Z"), and the
// selected texts joined with " - ".
struct ListBoxValue {
    std::string value, display;
};
ListBoxValue ListBoxSelection(std::string_view codes, const std::vector<std::string>& items,
                              const std::vector<bool>& selected);

// "2024s01": the year and the week number of a "dd/mm/yyyy" text; "" for an empty text.
std::string WeekLabel(std::string_view text);

}  // namespace tarmel
