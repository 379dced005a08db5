// The events of a bound field's control, routed to the window's field handlers: changes made by
// the user or by the program (text controls), choices and typing (combos), selections (list boxes),
// focus and keys.
#pragma once

class QWidget;

namespace tarmel {

class TAxTarmel;

namespace form {

enum class FieldRole { Text, Combo, ListBox };

// Connects the control once; later calls for the same control do nothing.
void WatchField(TAxTarmel& window, QWidget* control, FieldRole role);

// The form's own change handlers (a follow-up after the field's own handling) and the option
// list boxes; bound once per window.
void BindFormFieldHandlers(TAxTarmel& window);

// The change of a bound control: its form handler when it has one, else EditChange or
// CBoxChange.
void FieldChanged(TAxTarmel& window, QWidget* control);

}  // namespace form
}  // namespace tarmel
