// JPEG in and out: the picture comes back as encoded, turned as its EXIF orientation says, and
// what is written is baseline JPEG without any metadata.
#include "photos/jpegfile.h"

#include <gtest/gtest.h>
#include <libexif/exif-data.h>

#include <cstdlib>

namespace tarmel::photos {
namespace {

// A picture whose four corners differ: red top-left, green top-right, blue bottom-left.
Bitmap Corners(int w, int h) {
    Bitmap picture(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = picture.pixel(x, y);
            const bool right = x >= w / 2, bottom = y >= h / 2;
            p[2] = !right && !bottom ? 230 : 20;  // red
            p[1] = right && !bottom ? 230 : 20;   // green
            p[0] = !right && bottom ? 230 : 20;   // blue
        }
    }
    return picture;
}

// The colour of a pixel as one letter: r, g, b, or k for the dark corner.
char ColourAt(const Bitmap& picture, int x, int y) {
    const std::uint8_t* p = picture.pixel(x, y);
    if (p[2] > 128) return 'r';
    if (p[1] > 128) return 'g';
    if (p[0] > 128) return 'b';
    return 'k';
}

// JPEG bytes with an EXIF block carrying the orientation, as a phone writes it.
std::string WithOrientation(const std::string& jpeg, int orientation) {
    ExifData* exif = exif_data_new();
    exif_data_set_byte_order(exif, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(exif->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, ExifShort(orientation));
    exif_entry_unref(entry);
    unsigned char* block = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &block, &size);
    exif_data_unref(exif);
    std::string app1 = "\xFF\xE1";
    app1 += char((size + 2) >> 8);
    app1 += char((size + 2) & 0xFF);
    app1.append(reinterpret_cast<const char*>(block), size);
    std::free(block);
    return jpeg.substr(0, 2) + app1 + jpeg.substr(2);
}

TEST(JpegFile, TheOrientationTurnsThePictureUpright) {
    const std::string plain = EncodeJpeg(Corners(64, 32), 90);
    ASSERT_FALSE(plain.empty());
    struct Case {
        int orientation;
        int width, height;
        const char* corners;  // top-left, top-right, bottom-left, bottom-right
    } cases[] = {
        {1, 64, 32, "rgbk"}, {2, 64, 32, "grkb"}, {3, 64, 32, "kbgr"}, {4, 64, 32, "bkrg"},
        {5, 32, 64, "rbgk"}, {6, 32, 64, "brkg"}, {7, 32, 64, "kgbr"}, {8, 32, 64, "gkrb"},
    };
    for (const Case& c : cases) {
        const std::string bytes = WithOrientation(plain, c.orientation);
        EXPECT_EQ(JpegOrientation(bytes), c.orientation);
        Bitmap picture;
        ASSERT_FALSE(DecodeJpeg(bytes, picture)) << c.orientation;
        ASSERT_EQ(picture.width, c.width) << c.orientation;
        ASSERT_EQ(picture.height, c.height) << c.orientation;
        const std::string corners = {ColourAt(picture, 4, 4), ColourAt(picture, c.width - 5, 4),
                                     ColourAt(picture, 4, c.height - 5),
                                     ColourAt(picture, c.width - 5, c.height - 5)};
        EXPECT_EQ(corners, c.corners) << "orientation " << c.orientation;
    }
    EXPECT_EQ(JpegOrientation(plain), 1) << "no EXIF";
}

TEST(JpegFile, WhatIsWrittenIsBaselineWithoutMetadata) {
    Bitmap read;
    ASSERT_FALSE(DecodeJpeg(WithOrientation(EncodeJpeg(Corners(48, 40), 90), 6), read));
    const std::string written = EncodeJpeg(read, 90);
    EXPECT_EQ(written.find("Exif"), std::string::npos) << "the EXIF block is not carried over";
    EXPECT_EQ(written.find("\xFF\xE1"), std::string::npos) << "no APP1 marker at all";
    EXPECT_NE(written.find("\xFF\xC0"), std::string::npos) << "baseline frame";
    EXPECT_EQ(written.find("\xFF\xC2"), std::string::npos) << "not progressive";
    Bitmap again;
    ASSERT_FALSE(DecodeJpeg(written, again));
    EXPECT_EQ(again.width, 40) << "written upright: no orientation left to apply";
}

TEST(JpegFile, UnreadableInputIsAnErrorNotACrash) {
    Bitmap picture(4, 4);
    const std::string cases[] = {"", "not a picture", std::string("\xFF\xD8\xFF\xE0", 4)};
    for (const std::string& bytes : cases) {
        EXPECT_TRUE(DecodeJpeg(bytes, picture).has_value());
        EXPECT_TRUE(picture.empty());
    }
    EXPECT_TRUE(ReadJpegFile("/nonexistent/photo.jpg", picture).has_value());
    EXPECT_TRUE(WriteJpegFile("/nonexistent/folder/photo.jpg", Corners(8, 8), 90).has_value());
}

}  // namespace
}  // namespace tarmel::photos
