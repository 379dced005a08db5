// The plate blur on a 24-bit Bitmap: the Gaussian kernel, the separable line blur, the
// whole-picture blur and the diagonal band that keeps the blur between two parallel lines. No
// widget here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "photos/bitmap.h"

namespace tarmel::photos {

// The error a picture that is not a usable 24-bit bitmap gives.
inline constexpr const char* kNot24BitError = "GBlur only works for 24-bit bitmaps";
// The error BlurBand gives when the unblurred copy has not the zone's size.
inline constexpr const char* kUnblurredSizeError = "The unblurred copy does not match the zone";

// A symmetric kernel: weights for the offsets -size..size are used, all 201 are stored.
struct BlurKernel {
    static constexpr int kMaxSize = 100;
    int size = 1;  // 1..kMaxSize
    std::array<float, 2 * kMaxSize + 1> weights{};

    float weight(int offset) const { return weights[std::size_t(offset + kMaxSize)]; }
};

// The Gaussian kernel of a radius for 8-bit channels: trimmed where the dropped tails would change
// a channel by less than half a step, then renormalised over what is left. Radius 0 counts as 1.
BlurKernel BuildBlurKernel(int radius);

// Blurs a line of n pixels (3 bytes each, packed) from `in` into `out` (which must not overlap
// `in`). Pixels beyond the ends repeat the end pixels. Sums run in double precision from the
// offset -size to +size; the result is truncated towards zero (a sum within 1e-4 under an integer
// counts as that integer: the single-precision weights do not add up to exactly 1) and clamped to
// 0..255.
void BlurLine(const BlurKernel& kernel, const std::uint8_t* in, std::uint8_t* out, int n);

// True when the bitmap's stride and bytes can hold width x height pixels of 3 bytes.
bool Is24Bit(const Bitmap& bitmap);

// Blurs the whole bitmap in place: every row, then every column. Returns the error, if any; the
// bitmap is unchanged on error.
std::optional<std::string> GBlur(Bitmap& bitmap, int radius);

struct Point {
    int x = 0;
    int y = 0;
};

// Which side of the line from a to b the point p lies on, scaled by the squared length of the
// line: <= 0 below or on a line drawn left to right (y grows downwards), 0 for a zero-length line.
float LineSide(Point p, Point a, Point b);

// Blurs `zone` with the radius and puts back, from `unblurred` (the same zone before the blur),
// every pixel outside a diagonal band `thickness` pixels high: falling from the top-left to the
// bottom-right corner when fromLeft, rising from the bottom-left to the top-right otherwise. A
// thickness of at least the zone's height blurs the whole zone; an empty zone is left as it is.
// Returns the error, if any; the zone is unchanged on error.
std::optional<std::string> BlurBand(const Bitmap& unblurred, Bitmap& zone, bool fromLeft,
                                    int thickness, int radius);

}  // namespace tarmel::photos
