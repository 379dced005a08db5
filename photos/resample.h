// Scaling a 24-bit bitmap to another size with a reconstruction filter: the filter table, the
// scalar reference resampler and the vectorised one that gives the same bytes.
//
// The method is a separable two-pass convolution (horizontal pass into a work bitmap of target
// width and source height, then vertical) with precomputed contributor lists; see
// resample_contributors.h for the sampling positions, edge rule and weights.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "photos/bitmap.h"

namespace tarmel::photos {

// A filter of one single-precision argument giving a single-precision weight; zero outside
// [-support, support].
using FilterFunction = float (*)(float);

struct FilterEntry {
    std::string_view name;
    FilterFunction filter;
    float support;  // half-width
};

// The seven filters in their fixed order: "Box", "Triangle", "Hermite", "Bell", "B-Spline",
// "Lanczos3", "Mitchell". Callers pass filter and support of the same entry.
extern const std::array<FilterEntry, 7> kFilterTable;

// The entry called `name`, or nullptr when there is none.
const FilterEntry* FindFilter(std::string_view name);

// The error text when the source has no pixels.
inline constexpr std::string_view kSourceTooSmall = "Source bitmap too small";

// Scales `source` to the size set in `destination.width` x `destination.height` before the call.
// Returns an empty string on success, else the error text (kSourceTooSmall when the source width
// or height is 0 or below; the destination is then left untouched). On success the destination
// is reallocated with packed rows; a target of 0 (or below) in either dimension gives an empty
// destination and no error. The source may have any stride of at least 3 * width.
//
// ResampleReference is the plain scalar definition: every channel sum is accumulated in single
// precision in contributor order (sum = sum + weight * value), then clamped to 0..255 and rounded
// to nearest, halves to even. ResampleBitmap computes the same sums with SIMD across output
// values, chosen at run time for the processor, and gives byte-identical results.
[[nodiscard]] std::string ResampleReference(const Bitmap& source, Bitmap& destination,
                                            FilterFunction filter, float support);
[[nodiscard]] std::string ResampleBitmap(const Bitmap& source, Bitmap& destination,
                                         FilterFunction filter, float support);

}  // namespace tarmel::photos
