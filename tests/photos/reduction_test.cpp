// The published sizes of a photo: a 640 x 480 picture kept as it is, any other stretched to it,
// the miniature made from the full picture.
#include "photos/reduction.h"

#include <gtest/gtest.h>

#include <random>

#include "photos/resample.h"

namespace tarmel::photos {
namespace {

Bitmap Noise(int w, int h) {
    Bitmap picture(w, h);
    std::mt19937 random(3);
    for (std::uint8_t& byte : picture.bytes) byte = std::uint8_t(random());
    return picture;
}

TEST(ReducePhoto, SizesAndSources) {
    const Bitmap exact = Noise(640, 480);
    const ReducedPhoto kept = ReducePhoto(exact);
    ASSERT_EQ(kept.error, "");
    EXPECT_EQ(kept.photo.bytes, exact.bytes) << "not resampled";

    const Bitmap full = Noise(1500, 1000);
    const ReducedPhoto reduced = ReducePhoto(full);
    ASSERT_EQ(reduced.error, "");
    EXPECT_EQ(reduced.photo.width, 640);
    EXPECT_EQ(reduced.photo.height, 480) << "stretched to 4:3";
    EXPECT_EQ(reduced.miniature.width, 120);
    EXPECT_EQ(reduced.miniature.height, 90);
    const FilterEntry* lanczos = FindFilter("Lanczos3");
    Bitmap fromFull(120, 90), fromPhoto(120, 90);
    ASSERT_EQ(ResampleBitmap(full, fromFull, lanczos->filter, lanczos->support), "");
    ASSERT_EQ(ResampleBitmap(reduced.photo, fromPhoto, lanczos->filter, lanczos->support), "");
    EXPECT_EQ(reduced.miniature.bytes, fromFull.bytes) << "made from the full picture";
    EXPECT_NE(reduced.miniature.bytes, fromPhoto.bytes);

    EXPECT_EQ(ReducePhoto(Bitmap()).error, "Source bitmap too small");
}

}  // namespace
}  // namespace tarmel::photos
