// A grid line's icon cell: its picture (a toolbar glyph, or an empty square for a line that
// offers nothing), and the save a click on it starts.
#pragma once

#include <QApplication>
#include <QPixmap>
#include <QString>

#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/glyphs.h"

namespace tarmel {

inline QPixmap LineIcon(const char* glyph) {
    if (glyph != nullptr) return ui::ToolbarGlyph(QString::fromLatin1(glyph)).pixmap(16, 16);
    QPixmap none(16, 16);
    none.fill(Qt::transparent);
    return none;
}

// The line's statement built by `testLine` (a negative line deletes) and saved, then the record
// reloaded when the save was taken. Nothing while another operation shows the hourglass.
inline void SaveIconLine(TAxTarmel& w, bool (TAxTarmel::*testLine)(int), int line) {
    if (QApplication::overrideCursor() != nullptr) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    (w.*testLine)(line);
    const bool saved = w.SaveChanges();
    QApplication::restoreOverrideCursor();
    if (saved) w.JvXPBtnActualizeClick();
}

}  // namespace tarmel
