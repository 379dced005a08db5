// Converting the photo code's 24-bit Bitmap (blue, green, red) to and from a QImage for display.
#pragma once

#include <QImage>

#include "photos/bitmap.h"

namespace tarmel::photos {

// A Format_RGB888 image with the bitmap's pixels (its bytes are red, green, blue).
QImage ToQImage(const Bitmap& bitmap);

// The pixels of any image as a packed Bitmap.
Bitmap FromQImage(const QImage& image);

}  // namespace tarmel::photos
