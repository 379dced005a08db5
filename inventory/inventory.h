// The control inventory of the main window: every named control with its kind, parent, geometry
// and form settings, as plain data (no Qt) so that the data server's demo generator can link it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tarmel::inventory {

enum class Kind : std::uint8_t {
    Label,        // plain caption
    StaticText,   // caption with a sunken border, clickable
    Edit,         // one-line text
    NumberEdit,   // one-line number
    DatePicker,   // masked "dd/mm/yyyy" text with a calendar drop-down
    Combo,        // drop-down list with typing and completion
    Memo,         // multi-line text
    ListBox,      // list with several selectable items
    ListView,     // report-style list with columns
    Grid,         // rows and typed columns; its columns follow it in the table
    GridColumn,   // one column of the grid named as its parent
    Button,
    Image,
    Shape,
    Panel,
    HeaderEdit,   // read-only edit with its own disabled colours
    PageControl,  // the tab control "Tabs"
    Page,         // one tab page of "Tabs", in page order
};

// Type of a grid column (Kind::GridColumn only).
// Combo: typed text completed from the items; List: an item picked from the drop-down only.
enum class Column : std::uint8_t { None, Number, Image, Text, Date, Combo, List, Memo, Button };

// Combo style as set on the form; the tab builder turns pick-only combos into editable combos
// whose typed text must match an item.
enum class ComboStyle : std::uint8_t { None, PickOnly, FreeText };

// Flags of an entry.
enum : std::uint8_t {
    kHidden = 1,    // not visible when the window is created
    kDisabled = 2,  // not enabled when the window is created
    kCentred = 4,   // caption centred (splash texts, duplicate indicators, grid columns)
    kAmount = 8,    // number grid column shown with the amount mask "#,##0.00"
};

// Colours are 32-bit values with red in the low byte, blue in the third byte (the server's
// convention); kNoColour keeps the inherited colour.
inline constexpr std::uint32_t kNoColour = 0x1FFFFFFF;
inline constexpr std::uint32_t kRed = 0x000000FF;
inline constexpr std::uint32_t kFuchsia = 0x00FF00FF;

// The window's own name as a parent, for controls placed directly on it.
inline constexpr const char* kWindow = "";

struct Entry {
    const char* name;    // object name, exactly as the structure description refers to it
    Kind kind;
    const char* parent;  // kWindow, a page ("Sheet01".."Sheet09"), a panel, or a grid for columns
    // Pixels relative to the parent; a grid column uses only its width.
    int left, top, width, height;
    const char* caption = "";  // UTF-8; button, label, page and column captions
    const char* hint = "";     // UTF-8; tool tip
    Column column = Column::None;
    ComboStyle combo = ComboStyle::None;
    int maxLength = 0;  // characters; 0 = no limit
    std::uint8_t flags = 0;
    int fontPx = 0;                       // 0 = the parent's font size
    std::uint32_t fontColour = kNoColour;
    std::uint32_t colour = kNoColour;     // background
    const char* icon = "";                // toolbar glyph: "sweep", "delete", "print", "search", ...
    int rowHeight = 0;                    // grids: pixels per row; 0 = the toolkit's

    // Chained setters, so the table reads one line per control.
    constexpr Entry Text(const char* c) const { Entry e = *this; e.caption = c; return e; }
    constexpr Entry Hint(const char* h) const { Entry e = *this; e.hint = h; return e; }
    constexpr Entry Max(int n) const { Entry e = *this; e.maxLength = n; return e; }
    constexpr Entry FreeText() const { Entry e = *this; e.combo = ComboStyle::FreeText; return e; }
    constexpr Entry Hidden() const { Entry e = *this; e.flags |= kHidden; return e; }
    constexpr Entry Disabled() const { Entry e = *this; e.flags |= kDisabled; return e; }
    constexpr Entry Font(int px) const { Entry e = *this; e.fontPx = px; return e; }
    constexpr Entry FontColour(std::uint32_t c) const { Entry e = *this; e.fontColour = c; return e; }
    constexpr Entry Colour(std::uint32_t c) const { Entry e = *this; e.colour = c; return e; }
    constexpr Entry Centred() const { Entry e = *this; e.flags |= kCentred; return e; }
    constexpr Entry Icon(const char* i) const { Entry e = *this; e.icon = i; return e; }
    constexpr Entry RowHeight(int px) const { Entry e = *this; e.rowHeight = px; return e; }
    constexpr Entry Amount() const { Entry e = *this; e.flags |= kAmount; return e; }

    constexpr bool hidden() const { return (flags & kHidden) != 0; }
    constexpr bool disabled() const { return (flags & kDisabled) != 0; }
    constexpr bool centred() const { return (flags & kCentred) != 0; }
    constexpr bool amount() const { return (flags & kAmount) != 0; }
};

// The whole inventory in creation order: a parent always comes before its children, and a grid's
// columns follow their grid in column order.
std::span<const Entry> Controls();

// The entry named exactly so, or nullptr.
const Entry* Find(std::string_view name);

// Name of a kind as the tests and traces write it ("combo", "date picker", ...).
const char* KindName(Kind kind);

}  // namespace tarmel::inventory
