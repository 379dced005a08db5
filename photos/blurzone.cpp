// The blur editor's zone: the dragged rectangle, and cutting and pasting the zone.
#include "photos/blurzone.h"

#include <algorithm>
#include <cstring>

namespace tarmel::photos {

ZoneRect FrameRect(Point start, Point end, int pictureWidth, int pictureHeight) {
    // Each edge is clamped on both sides, so a rectangle never turns inside out.
    const auto clampX = [&](int x) { return std::clamp(x, 0, std::max(pictureWidth, 0)); };
    const auto clampY = [&](int y) { return std::clamp(y, 0, std::max(pictureHeight, 0)); };
    return {clampX(std::min(start.x, end.x)), clampY(std::min(start.y, end.y)),
            clampX(std::max(start.x, end.x)), clampY(std::max(start.y, end.y))};
}

Bitmap CutZone(const Bitmap& picture, const ZoneRect& zone) {
    const ZoneRect clipped =
        FrameRect({zone.left, zone.top}, {zone.right, zone.bottom}, picture.width, picture.height);
    Bitmap out(clipped.width(), clipped.height());
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.row(y), picture.pixel(clipped.left, clipped.top + y),
                    std::size_t(out.width) * 3);
    return out;
}

void PasteZone(Bitmap& picture, const Bitmap& zone, int left, int top) {
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + zone.width, picture.width);
    for (int y = std::max(top, 0); y < std::min(top + zone.height, picture.height); ++y) {
        if (x1 <= x0) break;
        std::memcpy(picture.pixel(x0, y), zone.pixel(x0 - left, y - top), std::size_t(x1 - x0) * 3);
    }
}

}  // namespace tarmel::photos
