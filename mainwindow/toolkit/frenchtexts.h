// The toolkit's own texts in French whatever the machine's language: Qt's French translations for
// its dialogs' buttons, and the French locale for calendars (month and day names, Monday first).
#pragma once

#include <QLocale>

namespace tarmel::ui {

QLocale FrenchLocale();

// Installs Qt's French translations into the application once; false when they are not found
// (the buttons then keep Qt's own English).
bool UseFrenchToolkitTexts();

}  // namespace tarmel::ui
