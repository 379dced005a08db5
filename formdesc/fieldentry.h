// Reading the entries of the structure description: field entries of a page (with their pixel
// placement, caption, rights tag and list reference), page entries and grid column entries.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "formdesc/descriptors.h"
#include "server/xml/txml.h"

namespace tarmel {

// Placement and numbers of a field entry, in pixels where the description gives twips.
struct FieldPlacement {
    int idNum = 0;
    int left = 0, top = 0, width = 0, height = 0;
    int length = 0;
    int enabledCode = 0;
};

struct FieldEntry {
    TsDesc desc;  // control kind, data type, names, caption, rights, lists, default, colour, width
    FieldPlacement place;
    std::string fieldInfo;
    bool vInfoHasSeparator = false;  // vInfo holds ';' (even with nothing after it)
};

struct ListReference {
    std::string listName, listKey, rubric;
};

// Twips to pixels at 15 twips a pixel, rounded to the nearest.
int PixelsFromTwips(int twips);

// "&amp;", "&lt;", "&gt;" decoded in that order (so "&amp;lt;" gives "<").
std::string DecodeBasicEntities(std::string_view text);
// The same, then "&cr;" as CR LF.
std::string DecodeTextEntities(std::string_view text);

// ";" + upper-cased tag + ";".
std::string RightsTag(std::string_view tag);

// List name, key and rubric of a field from its fieldInfo and column name.
ListReference ListReferenceOf(std::string_view fieldInfo, std::string_view columnName);

// A colour written as a signed or unsigned 32-bit decimal, or fallback.
Colour ColourOr(std::string_view text, Colour fallback);

// A decimal integer ("-12", "+3", "40"), or fallback for anything else.
int IntegerOr(std::string_view text, int fallback);

// Reads field entries in document order. A child absent from an entry keeps the text read for it
// from the previous entry of the same run (vInfo excepted): the server writes every child, and this
// is how a description that forgets one has always been read. A run is one reader: ReadFieldEntries
// below reads a whole description with one.
class FieldEntryReader {
public:
    FieldEntry Read(const TXml& entry);

private:
    std::string child(const TXml& entry, const char* name);
    std::map<std::string, std::string, std::less<>> last_;
};

// Copies into a field's descriptor everything its entry describes (names, caption, rights, lists,
// default, type, kind, colour, width), leaving its values and controls as they are.
void TakeDescription(TsDesc& desc, const FieldEntry& entry);

// The field entries of each of the given field keys (the vInfo of the pages' entries), in document
// order, read in one pass over the whole description by one FieldEntryReader: a child absent from
// an entry keeps the text of the last entry read before it, whatever its page. Only the entries of
// the given keys are read (page entries, grid columns and the entries of other pages carry
// nothing); an entry without descInfo belongs to the key of the entry before it, whatever that
// entry was. Every given key is in the result, with no entries when the description has none.
using FieldEntriesByKey = std::map<std::string, std::vector<FieldEntry>, std::less<>>;
FieldEntriesByKey ReadFieldEntries(const TXml& structure,
                                   const std::vector<std::string>& fieldKeys);

// Page entry of a description number for a record kind (first match in document order).
struct PageEntry {
    bool found = false;
    std::string caption, fieldKey, tableTag, prefix;
};
PageEntry FindPageEntry(const TXml& structure, std::string_view recordKind, int number);

// Column entries of a grid ("gFrev": 8 columns, "gAct": 10), in document order.
struct GridColumn {
    std::string element, rightsTag, defaultValue, caption;
    int dataType = 0, controlKind = 0, width = 0;
    Colour fontColour = 0;
    bool mandatory = false;
};
std::vector<GridColumn> GridColumns(const TXml& structure, std::string_view gridKey, size_t maximum);

}  // namespace tarmel
