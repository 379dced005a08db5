// The zone of the blur editor: the rectangle a drag selects on the picture, and cutting the zone
// out of the picture and putting it back. No widget here.
#pragma once

#include "photos/bitmap.h"
#include "photos/blur.h"

namespace tarmel::photos {

// Picture coordinates; right and bottom are one past the last pixel.
struct ZoneRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return width() <= 0 || height() <= 0; }
    friend bool operator==(const ZoneRect&, const ZoneRect&) = default;
};

// The rectangle between the two corners of a drag, clipped to a picture of the given size; a drag
// wholly outside the picture gives an empty rectangle on its edge.
ZoneRect FrameRect(Point start, Point end, int pictureWidth, int pictureHeight);

// A drag to the right blurs the band falling from the top-left corner; to the left, the rising one.
inline bool BandFromLeft(Point start, Point end) {
    return start.x < end.x;
}

// A packed copy of the pixels of the picture inside the zone (the zone is clipped to the picture).
Bitmap CutZone(const Bitmap& picture, const ZoneRect& zone);

// Copies the zone's pixels into the picture with its top-left corner at (left, top); what would
// fall outside the picture is dropped.
void PasteZone(Bitmap& picture, const Bitmap& zone, int left, int top);

}  // namespace tarmel::photos
