// The keystroke filters of the telephone, plate and name fields.
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "record/keyfilters.h"

namespace tarmel {

namespace {

// Tab, Shift+Tab and Delete carry a character here, but they are no typing: the filters let
// them through so that the user can still leave the field and delete in it.
bool IsTyping(const ui::EventArgs& key) {
    return key.key != Qt::Key_Tab && key.key != Qt::Key_Backtab && key.key != Qt::Key_Delete;
}

void Filter(KeyFilter filter, ui::EventArgs& key) {
    if (!IsTyping(key)) return;
    const char32_t kept = FilterKey(filter, key.character.unicode());
    if (kept == 0)
        key.refused = true;
    else
        key.character = QChar(static_cast<char16_t>(kept));
}

}  // namespace

// The field's current value takes the text as it stands before the key; the control's own change
// then brings it up to date.
void TAxTarmel::aCliMobileKeyPress(ui::EventArgs& key) {
    Filter(KeyFilter::Telephone, key);
    EditChange(key.control);
}

void TAxTarmel::cImmatriculationKeyPress(ui::EventArgs& key) {
    Filter(KeyFilter::Plate, key);
    EditChange(key.control);
}

void TAxTarmel::aCliNomKeyPress(ui::EventArgs& key) { Filter(KeyFilter::Capitals, key); }

}  // namespace tarmel
