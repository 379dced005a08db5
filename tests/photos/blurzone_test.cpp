// The blur editor's zone: the dragged rectangle clipped to the picture, cutting and pasting.
#include "photos/blurzone.h"

#include <gtest/gtest.h>

namespace tarmel::photos {
namespace {

TEST(FrameRect, OrdersTheCornersAndClipsToThePicture) {
    struct Case {
        const char* what;
        Point start, end;
        ZoneRect rect;
    };
    const Case cases[] = {
        {"down and right", {10, 20}, {50, 60}, {10, 20, 50, 60}},
        {"up and left", {50, 60}, {10, 20}, {10, 20, 50, 60}},
        {"beyond the right and bottom", {600, 450}, {700, 520}, {600, 450, 640, 480}},
        {"beyond the left and top", {30, 40}, {-20, -5}, {0, 0, 30, 40}},
        {"a click", {7, 8}, {7, 8}, {7, 8, 7, 8}},
        // Both corners outside: an empty rectangle, never one turned inside out.
        {"wholly right of the picture", {650, 10}, {700, 30}, {640, 10, 640, 30}},
        {"wholly above the picture", {10, -30}, {40, -2}, {10, 0, 40, 0}},
    };
    for (const Case& c : cases) {
        const ZoneRect r = FrameRect(c.start, c.end, 640, 480);
        EXPECT_EQ(r, c.rect) << c.what;
        EXPECT_GE(r.width(), 0) << c.what;
        EXPECT_GE(r.height(), 0) << c.what;
    }
}

Bitmap Numbered(int w, int h) {
    Bitmap b(w, h);
    for (std::size_t i = 0; i < b.bytes.size(); ++i) b.bytes[i] = std::uint8_t(i * 7 % 251);
    return b;
}

TEST(CutZone, CopiesThePixelsInsideTheZone) {
    const Bitmap picture = Numbered(20, 10);
    const Bitmap zone = CutZone(picture, {5, 2, 12, 9});
    ASSERT_EQ(zone.width, 7);
    ASSERT_EQ(zone.height, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_TRUE(
                std::equal(zone.pixel(x, y), zone.pixel(x, y) + 3, picture.pixel(5 + x, 2 + y)))
                << x << "," << y;
    EXPECT_EQ(CutZone(picture, {15, 5, 30, 20}).width, 5);  // clipped, not read past the rows
    EXPECT_TRUE(CutZone(picture, {4, 4, 4, 9}).empty());
}

TEST(PasteZone, PutsACutZoneBackAndDropsWhatFallsOutside) {
    const Bitmap picture = Numbered(20, 10);
    Bitmap copy = picture;
    PasteZone(copy, CutZone(picture, {5, 2, 12, 9}), 5, 2);
    EXPECT_EQ(copy.bytes, picture.bytes);

    Bitmap white(4, 4);
    std::fill(white.bytes.begin(), white.bytes.end(), 255);
    struct Case {
        int left, top, painted;
    };
    const Case cases[] = {{18, 8, 4}, {-2, -3, 2}, {20, 0, 0}, {0, -4, 0}, {3, 3, 16}};
    for (const Case& c : cases) {
        Bitmap target(20, 10);
        PasteZone(target, white, c.left, c.top);
        EXPECT_EQ(std::count(target.bytes.begin(), target.bytes.end(), 255), 3 * c.painted)
            << c.left << "," << c.top;
    }
}

}  // namespace
}  // namespace tarmel::photos
