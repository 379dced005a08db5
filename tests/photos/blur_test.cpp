// The plate blur: kernel sizes, the line blur's truncation and edges, the whole-picture blur, the
// band's two lines and the refusals of pictures that are not 24-bit.
#include "photos/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tarmel::photos {
namespace {

// A zone where every pixel differs from the average of its neighbours, so the blur changes all.
Bitmap Checkerboard(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) b.pixel(x, y)[c] = (x + y) % 2 ? 255 : std::uint8_t(40 * c);
    return b;
}

bool SamePixel(const Bitmap& a, const Bitmap& b, int x, int y) {
    return std::equal(a.pixel(x, y), a.pixel(x, y) + 3, b.pixel(x, y));
}

TEST(BuildBlurKernel, SizeIsAboutThreeTimesTheRadius) {
    const std::pair<int, int> cases[] = {{0, 2}, {1, 2}, {2, 5}, {5, 14}, {10, 30}};
    for (const auto& [radius, size] : cases)
        EXPECT_EQ(BuildBlurKernel(radius).size, size) << radius;
}

TEST(BuildBlurKernel, RadiusZeroIsRadiusOne) {
    EXPECT_EQ(BuildBlurKernel(0).weights, BuildBlurKernel(1).weights);
}

TEST(BlurLine, TruncatesEachChannelOfAnImpulse) {
    // 255 and 100 at the middle of nine black pixels; radius 2 weights times 255 are 51.14, 45.13,
    // 31.02, 16.60, 6.92: rounding would give 17 and 7 where truncation gives 16 and 6.
    Bitmap line(9, 1), out(9, 1);
    line.pixel(4, 0)[0] = 255;
    line.pixel(4, 0)[1] = 100;
    BlurLine(BuildBlurKernel(2), line.row(0), out.row(0), 9);
    const int blue[] = {6, 16, 31, 45, 51, 45, 31, 16, 6};
    const int green[] = {2, 6, 12, 17, 20, 17, 12, 6, 2};
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(out.pixel(x, 0)[0], blue[x]) << x;
        EXPECT_EQ(out.pixel(x, 0)[1], green[x]) << x;
        EXPECT_EQ(out.pixel(x, 0)[2], 0) << x;
    }
}

TEST(BlurLine, RepeatsTheEndPixelsBeyondTheLine) {
    // The first pixel counts for every offset left of the line: 200 x 0.6 = 120, not 200 x 0.2.
    Bitmap line(4, 1), out(4, 1);
    line.pixel(0, 0)[2] = 200;
    BlurLine(BuildBlurKernel(2), line.row(0), out.row(0), 4);
    EXPECT_EQ(out.pixel(0, 0)[2], 120);
    // A single pixel is its own neighbourhood.
    Bitmap one(1, 1), oneOut(1, 1);
    one.bytes = {7, 128, 255};
    BlurLine(BuildBlurKernel(10), one.row(0), oneOut.row(0), 1);
    EXPECT_EQ(oneOut.bytes, one.bytes);
}

TEST(GBlur, UniformPicturesKeepTheirValueForEveryRadiusOfTheEditor) {
    // Narrower than the kernel, so the edges' repeated pixels are in every sum.
    for (int value : {0, 1, 128, 254, 255}) {
        for (int radius = 2; radius <= 10; ++radius) {
            Bitmap b(12, 7);
            std::fill(b.bytes.begin(), b.bytes.end(), std::uint8_t(value));
            ASSERT_FALSE(GBlur(b, radius));
            EXPECT_EQ(std::count(b.bytes.begin(), b.bytes.end(), value), long(b.bytes.size()))
                << "value " << value << " radius " << radius;
        }
    }
}

TEST(GBlur, ImpulseSpreadsAlikeToBothSidesOfRowsAndColumns) {
    // Writing a line's results over the pixels still to be read would skew it to one side.
    Bitmap b(15, 15);
    b.pixel(7, 7)[1] = 255;
    ASSERT_FALSE(GBlur(b, 2));
    EXPECT_GT(b.pixel(7, 7)[1], b.pixel(6, 7)[1]);
    EXPECT_GT(b.pixel(6, 7)[1], 0);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            EXPECT_EQ(b.pixel(x, y)[1], b.pixel(14 - x, y)[1]) << x << "," << y;
            EXPECT_EQ(b.pixel(x, y)[1], b.pixel(x, 14 - y)[1]) << x << "," << y;
        }
    }
}

TEST(GBlur, BlursEveryRowThenEveryColumnWithBlurLine) {
    // The picture blur lays its sums out differently from BlurLine; every byte must agree, at
    // sizes below the kernel's width, at odd widths and at the editor's radii.
    struct Case {
        int w, h, radius;
    };
    const Case cases[] = {{1, 1, 5}, {3, 40, 10}, {17, 5, 2}, {200, 60, 10}, {61, 33, 7}};
    std::mt19937 random(7);
    for (const Case& c : cases) {
        Bitmap picture(c.w, c.h);
        for (auto& byte : picture.bytes) byte = std::uint8_t(random() & 0xff);
        Bitmap expected = picture;
        const BlurKernel kernel = BuildBlurKernel(c.radius);
        std::vector<std::uint8_t> line(std::size_t(std::max(c.w, c.h)) * 3), out(line.size());
        for (int y = 0; y < c.h; ++y) {
            BlurLine(kernel, expected.row(y), out.data(), c.w);
            std::copy(out.begin(), out.begin() + 3 * c.w, expected.row(y));
        }
        for (int x = 0; x < c.w; ++x) {
            for (int y = 0; y < c.h; ++y) std::copy_n(expected.pixel(x, y), 3, &line[3 * y]);
            BlurLine(kernel, line.data(), out.data(), c.h);
            for (int y = 0; y < c.h; ++y) std::copy_n(&out[3 * y], 3, expected.pixel(x, y));
        }
        ASSERT_FALSE(GBlur(picture, c.radius));
        EXPECT_EQ(picture.bytes, expected.bytes) << c.w << "x" << c.h << " radius " << c.radius;
    }
}

TEST(GBlur, HonoursAStrideWiderThanTheRowAndLeavesThePaddingAlone) {
    Bitmap packed = Checkerboard(9, 6);
    Bitmap padded;
    padded.width = 9;
    padded.height = 6;
    padded.stride = 9 * 3 + 5;
    padded.bytes.assign(std::size_t(padded.stride) * 6, 77);
    for (int y = 0; y < 6; ++y) std::copy(packed.row(y), packed.row(y) + 27, padded.row(y));
    ASSERT_FALSE(GBlur(packed, 4));
    ASSERT_FALSE(GBlur(padded, 4));
    for (int y = 0; y < 6; ++y) {
        EXPECT_TRUE(std::equal(packed.row(y), packed.row(y) + 27, padded.row(y))) << y;
        EXPECT_EQ(std::count(padded.row(y) + 27, padded.row(y) + padded.stride, 77), 5) << y;
    }
}

TEST(Blur, RefusesPicturesThatCannotHoldTheirPixels) {
    struct Case {
        const char* what;
        int width, height;
        std::ptrdiff_t stride;
        std::size_t bytes;
    };
    const Case cases[] = {
        {"stride below three bytes a pixel", 10, 4, 20, 80},
        {"negative stride", 10, 4, -30, 120},
        {"bytes short of the last row", 10, 4, 30, 119},
        {"negative width", -3, 4, 0, 0},
    };
    for (const Case& c : cases) {
        Bitmap b;
        b.width = c.width;
        b.height = c.height;
        b.stride = c.stride;
        b.bytes.assign(c.bytes, 9);
        const Bitmap before = b;
        EXPECT_FALSE(Is24Bit(b)) << c.what;
        EXPECT_EQ(GBlur(b, 5), kNot24BitError) << c.what;
        EXPECT_EQ(b.bytes, before.bytes) << c.what;
        Bitmap good(10, 4);
        EXPECT_EQ(BlurBand(b, good, true, 30, 5), kNot24BitError) << c.what;
        EXPECT_EQ(BlurBand(good, b, true, 30, 5), kNot24BitError) << c.what;
    }
    // The last row needs only its pixels, not a whole stride.
    Bitmap tight;
    tight.width = 10;
    tight.height = 4;
    tight.stride = 32;
    tight.bytes.assign(32 * 3 + 30, 9);
    EXPECT_TRUE(Is24Bit(tight));
}

TEST(BlurBand, RefusesAnUnblurredCopyOfAnotherSize) {
    Bitmap zone = Checkerboard(20, 10);
    const Bitmap before = zone;
    EXPECT_EQ(BlurBand(Checkerboard(20, 9), zone, true, 5, 5), kUnblurredSizeError);
    EXPECT_EQ(zone.bytes, before.bytes);
}

TEST(LineSide, SignsAndScale) {
    struct Case {
        Point p, a, b;
        float side;
    };
    const Case cases[] = {
        {{1, 1}, {0, 0}, {2, 0}, -0.5f},  // below a line drawn to the right
        {{1, -1}, {0, 0}, {2, 0}, 0.5f},  // above it
        {{1, 1}, {2, 0}, {0, 0}, 0.5f},   // below the same line drawn to the left
        {{5, 5}, {0, 0}, {9, 9}, 0.0f},   // on the line
        {{3, 4}, {1, 1}, {1, 1}, 0.0f},   // a line of length zero
        // Products beyond 32 bits.
        {{0, 100000}, {0, 0}, {100000, 0}, -1.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(LineSide(c.p, c.a, c.b), c.side) << c.p.x << "," << c.p.y;
}

TEST(BlurBand, BandFollowsTheDiagonalOfItsDirection) {
    // A 40 x 20 zone with a band 6 pixels high: two opposite corners are in the band, the other
    // two keep their unblurred pixels.
    const int w = 40, h = 20;
    struct Case {
        bool fromLeft;
        Point corner;
        bool blurred;
    };
    const Case cases[] = {
        {true, {0, 0}, true},          {true, {w - 1, h - 1}, true},   {true, {w - 1, 0}, false},
        {true, {0, h - 1}, false},     {false, {0, h - 1}, true},      {false, {w - 1, 0}, true},
        {false, {0, 0}, false},        {false, {w - 1, h - 1}, false}, {true, {w / 2, h / 2}, true},
        {false, {w / 2, h / 2}, true},
    };
    const Bitmap unblurred = Checkerboard(w, h);
    for (const Case& c : cases) {
        Bitmap zone = unblurred;
        ASSERT_FALSE(BlurBand(unblurred, zone, c.fromLeft, 6, 2));
        EXPECT_EQ(!SamePixel(zone, unblurred, c.corner.x, c.corner.y), c.blurred)
            << (c.fromLeft ? "falling " : "rising ") << c.corner.x << "," << c.corner.y;
    }
}

TEST(BlurBand, ThicknessOfTheZoneHeightOrMoreBlursTheWholeZone) {
    const Bitmap unblurred = Checkerboard(70, 40);
    Bitmap whole = unblurred;
    ASSERT_FALSE(GBlur(whole, 5));
    for (int thickness : {40, 100}) {
        for (bool fromLeft : {true, false}) {
            Bitmap zone = unblurred;
            ASSERT_FALSE(BlurBand(unblurred, zone, fromLeft, thickness, 5));
            EXPECT_EQ(zone.bytes, whole.bytes) << thickness << " " << fromLeft;
        }
    }
    // Two pixels less and the band's lines leave the far corners outside.
    Bitmap zone = unblurred;
    ASSERT_FALSE(BlurBand(unblurred, zone, true, 38, 5));
    EXPECT_TRUE(SamePixel(zone, unblurred, 69, 0));
}

TEST(BlurBand, ZoneWithoutWidthOrHeightIsLeftAsItIs) {
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}}) {
        Bitmap zone(w, h);
        EXPECT_FALSE(BlurBand(zone, zone, true, 30, 5)) << w << "x" << h;
    }
    Bitmap one(1, 1);
    one.bytes = {1, 2, 3};
    EXPECT_FALSE(BlurBand(Bitmap(one), one, false, 30, 5));
    EXPECT_EQ(one.bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace tarmel::photos
