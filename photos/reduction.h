// The two pictures a linked photo is published as: the 640 x 480 photo and the 120 x 90
// miniature, both made from the full-size picture with the Lanczos3 filter, the ratio not kept
// (every photo fills its frame).
#pragma once

#include <string>

#include "photos/bitmap.h"

namespace tarmel::photos {

struct ReducedPhoto {
    Bitmap photo, miniature;
    std::string error;  // empty when both were made
};

// A full-size picture of exactly 640 x 480 is copied as it is, not resampled.
ReducedPhoto ReducePhoto(const Bitmap& full);

}  // namespace tarmel::photos
