// The events a window handler can be bound to, and one function that knows how each control kind
// raises each of them. A control holds at most one handler per event, as a form's event
// properties do: setting one replaces the one before.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace tarmel::ui {

enum class Event : std::uint8_t {
    Click,        // buttons, static texts, images, header edits, list boxes and list views
    Change,       // the change as the kind reports it: any text change of an edit, date or memo; a
                  // combo's choice or typed text (not the program's fills); a list's selection; the
                  // page control's new page; a track bar's position
    UserChange,   // the user's edits and choices only, whatever the kind
    AnyChange,    // every change, the program's included, whatever the kind
    Enter,        // the focus moves into the control from inside the window
    Exit,         // the focus moves out of it to another control of the window
    KeyPress,     // a typed character: the handler may replace it, or refuse it to cancel the key
    KeyDown,      // a key with its modifiers, before it is typed; refused: the key is consumed
    KeyUp,        // a key released, with its modifiers
    DoubleClick,  // edits, lists, list views, grid cells
    PageChanging, // the page control is asked to leave its page for args.page; may be refused
    CellEdited,   // a grid cell's editor text changed while it is edited (args.text)
    CellChanged,  // a grid cell's text changed, by the user or the program
    EditAccept,   // a grid edit is about to be stored: args.text may be replaced, or refused
    BeforeSelect, // a grid cell is about to become current; may be refused
    CellClick,    // a grid cell was clicked
    AfterEdit,    // a grid edit was stored
    SelectCell,   // a grid's current cell moved to another row (args.row, args.column)
    CellFormatting,  // a grid cell is about to be painted: args.background, args.foreground
    MouseMove,    // the mouse moved over a grid's cell (args.row, args.column)
    ColumnClick,  // a list view's column header was clicked (args.column)
};
inline constexpr int kEventCount = static_cast<int>(Event::ColumnClick) + 1;

// What a handler receives, and what it may answer in it.
struct EventArgs {
    QWidget* control = nullptr;
    int key = 0;                                  // KeyDown, KeyUp, KeyPress: Qt::Key
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QChar character;                              // KeyPress: the character, replaceable
    int page = -1;                                // PageChanging, Change of the page control
    int column = -1, row = -1;                    // grid events
    QString text;                                 // CellEdited, EditAccept (replaceable)
    QColor background, foreground;                // CellFormatting; invalid: unchanged
    bool refused = false;  // refuses a PageChanging, EditAccept, BeforeSelect or KeyPress;
                           // consumes a KeyDown
};

using Handler = std::function<void(EventArgs&)>;

// Makes handler the control's handler of event, replacing the one before. False, and nothing
// changes, when the control's kind does not raise that event.
bool SetHandler(QWidget* control, Event event, Handler handler);
bool HasHandler(const QWidget* control, Event event);
// Any of the three change events.
bool HasChangeHandler(const QWidget* control);

// Name of an event as the traces and the tests write it ("click", "key press", ...).
const char* EventName(Event event);

}  // namespace tarmel::ui
