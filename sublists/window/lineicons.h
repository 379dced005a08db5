// A grid line's icon cell: its picture (a toolbar glyph, or an empty square for a line that
// offers nothing), and the save a click on it starts.
#pragma once

#include <QApplication>
#include <QHash>
#include <QPixmap>
#include <QString>

#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/glyphs.h"

namespace tarmel {

// Each picture is made once and shared by every row: Qt's pixmap cache keys what it keeps by
// the picture, so one made per row would add entries with every grid fill until its limit.
inline QPixmap LineIcon(const char* glyph) {
    static QHash<QString, QPixmap> made;
    const QString name = glyph != nullptr ? QString::fromLatin1(glyph) : QString();
    auto it = made.constFind(name);
    if (it == made.constEnd()) {
        QPixmap picture;
        if (glyph != nullptr) {
            picture = ui::ToolbarGlyph(name).pixmap(16, 16);
        } else {
            picture = QPixmap(16, 16);
            picture.fill(Qt::transparent);
        }
        it = made.insert(name, picture);
    }
    return *it;
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
