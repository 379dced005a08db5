// Pictures drawn by the program itself: the toolbar glyphs and the dealer-group logo of the splash.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tarmel::ui {

// "sweep", "delete", "print", "search", "new", "save", "reload"; a null icon for other names.
QIcon ToolbarGlyph(const QString& name);

// The QUINTAR dealer-group logo at the given size.
QPixmap DealerLogo(const QSize& size);

}  // namespace tarmel::ui
