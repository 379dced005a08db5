// The form model built from the structure description: one page descriptor per description
// number (TsPage), one field descriptor per field (TsDesc), and grid lines (TsLine). Plain data:
// control references are pointers the window owns; nothing here looks inside them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formdesc/fieldkinds.h"

class QWidget;

namespace tarmel {

// 32-bit colours: red in the low byte; a top byte 0xFF names a system colour by its low byte.
using Colour = std::uint32_t;
constexpr Colour kWindowBackground = 0xFF000005;
constexpr Colour kReadOnlyBackground = 0xFF00000B;

struct TsDesc {
    int controlKind = 0;
    int dataType = 0;
    std::string columnName;
    std::string readName;
    std::string defaultValue;
    std::string storedValue;   // as loaded or last saved; empty for a new record
    std::string currentValue;  // as shown, kept up to date by the editing handlers
    std::string codes;         // list box: ";X;Y;Z" for the item codes in order
    std::string caption;
    std::string rubric;
    std::string listName;
    std::string listKey;
    std::string rightsTag;  // ";" + upper-cased groups + ";"
    Colour baseColour = 0;
    Colour fontColour = 0;
    int width = 0;  // pixels; 0: the field has no size
    bool indexed = false;
    bool limitToList = false;
    bool mandatory = false;
    QWidget* boundControl = nullptr;
    QWidget* combo = nullptr;
    bool emptyFirst = false;
    QWidget* listBox = nullptr;
    QWidget* label = nullptr;
};

struct TsPage {
    std::string fieldKey;
    std::string tableTag;
    QWidget* sheet = nullptr;
    std::vector<TsDesc> descriptors;
    std::string statement;  // pending SQL for the page's changes
    std::string prefix;     // control-name prefix of the page's fields
    bool described = false;
    bool built = false;
};

constexpr int kPageCount = 10;
using TsPages = std::array<TsPage, kPageCount>;

// One line of a grid; element 0 of a grid's list is the column template.
struct TsLine {
    std::array<TsDesc, 10> cells;
    bool locked = false;
    int missingColumn = 0;
    std::string statement;
};

// A control bound to descriptor `index` of page `number`, and its label, carry this tag. Page 0
// gives negative tags, so the way back divides rounding down (truncating would send -9997 to
// page 1).
constexpr int ControlTag(int number, int index) { return (number - 1) * 10000 + index; }
constexpr int PageOfTag(int tag) { return (tag >= 0 ? tag / 10000 : (tag - 9999) / 10000) + 1; }
constexpr int IndexOfTag(int tag) { return tag - ControlTag(PageOfTag(tag), 0); }

}  // namespace tarmel
