// The scalar reference resampler: the definition of the bytes the fast resampler must match.
#include "photos/resample.h"

#include <cmath>
#include <cstdint>

#include "photos/resample_contributors.h"

namespace tarmel::photos {
namespace {

std::uint8_t ToByte(float sum) {
    if (sum > 255.0f) return 255;
    if (sum < 0.0f) return 0;
    return std::uint8_t(std::nearbyint(sum));  // default rounding mode: halves to even
}

void HorizontalPass(const Bitmap& source, Bitmap& work, const Contributors& columns) {
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = work.row(y);
        for (int i = 0; i < work.width; ++i) {
            for (int channel = 0; channel < 3; ++channel) {
                float sum = 0.0f;
                for (const Contributor& c : columns.of(i)) {
                    sum = sum + c.weight * float(in[3 * std::ptrdiff_t(c.index) + channel]);
                }
                out[3 * i + channel] = ToByte(sum);
            }
        }
    }
}

void VerticalPass(const Bitmap& work, Bitmap& destination, const Contributors& rows) {
    for (int i = 0; i < destination.width; ++i) {
        for (int k = 0; k < destination.height; ++k) {
            for (int channel = 0; channel < 3; ++channel) {
                float sum = 0.0f;
                for (const Contributor& c : rows.of(k)) {
                    sum = sum + c.weight * float(work.pixel(i, c.index)[channel]);
                }
                destination.pixel(i, k)[channel] = ToByte(sum);
            }
        }
    }
}

}  // namespace

std::string ResampleReference(const Bitmap& source, Bitmap& destination, FilterFunction filter,
                              float support) {
    if (source.width <= 0 || source.height <= 0) return std::string(kSourceTooSmall);
    destination.resize(destination.width, destination.height);
    if (destination.empty()) return {};

    Bitmap work(destination.width, source.height);
    HorizontalPass(source, work,
                   BuildContributors(source.width, destination.width, filter, support));
    VerticalPass(work, destination,
                 BuildContributors(source.height, destination.height, filter, support));
    return {};
}

}  // namespace tarmel::photos
