// Reducing a photo to its published sizes.
#include "photos/reduction.h"

#include "photos/photolinks.h"
#include "photos/resample.h"

namespace tarmel::photos {

namespace {

std::string Resampled(const Bitmap& full, Bitmap& out, int width, int height) {
    static const FilterEntry* const lanczos = FindFilter("Lanczos3");
    out.width = width;
    out.height = height;
    return ResampleBitmap(full, out, lanczos->filter, lanczos->support);
}

}  // namespace

ReducedPhoto ReducePhoto(const Bitmap& full) {
    ReducedPhoto reduced;
    if (full.width == kPhotoWidth && full.height == kPhotoHeight)
        reduced.photo = full;
    else
        reduced.error = Resampled(full, reduced.photo, kPhotoWidth, kPhotoHeight);
    if (reduced.error.empty())
        reduced.error = Resampled(full, reduced.miniature, kMiniatureWidth, kMiniatureHeight);
    return reduced;
}

}  // namespace tarmel::photos
