// The one table that binds every handler of the window to its controls: a row names the controls
// (or a field role standing for every control the tab builder binds so), the event, the handler.
#pragma once

#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "mainwindow/toolkit/events.h"

class QWidget;

namespace tarmel {

class TAxTarmel;

// The shapes a handler may have; the binder adapts each to the event's arguments.
using Run = void (TAxTarmel::*)();                // nothing to know
using RunOn = void (TAxTarmel::*)(QWidget*);      // the control that raised the event
using Allow = bool (TAxTarmel::*)();              // false refuses
using Handle = void (TAxTarmel::*)(ui::EventArgs&);  // everything the event carries and answers

// Names that stand for every control the tab builder binds in a role.
inline constexpr std::string_view kTextField = "<text field>";
inline constexpr std::string_view kComboField = "<combo field>";
inline constexpr std::string_view kListBoxField = "<list box field>";

struct Binding {
    std::vector<std::string_view> controls;
    ui::Event event;
    std::variant<Run, RunOn, Allow, Handle> handler;
    // A field role's change handler leaves a change handler the control already has.
    bool unlessSet = false;
};

std::span<const Binding> Bindings();

// The handler of a row as the control calls it, errors reaching the user in an error box.
ui::Handler BoundHandler(TAxTarmel& window, const Binding& row);

}  // namespace tarmel
