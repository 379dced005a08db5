// The picture of a grid line's icon cell: a toolbar glyph, or an empty square for a line that
// offers nothing.
#pragma once

#include <QPixmap>
#include <QString>

#include "mainwindow/toolkit/glyphs.h"

namespace tarmel {

inline QPixmap LineIcon(const char* glyph) {
    if (glyph != nullptr) return ui::ToolbarGlyph(QString::fromLatin1(glyph)).pixmap(16, 16);
    QPixmap none(16, 16);
    none.fill(Qt::transparent);
    return none;
}

}  // namespace tarmel
