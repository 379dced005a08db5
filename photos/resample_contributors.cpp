// Building the contributor lists of a resampling pass.
#include "photos/resample_contributors.h"

#include <algorithm>
#include <cmath>

namespace tarmel::photos {

float ScaleFactor(int source_size, int target_size) {
    if (source_size == 1 || target_size == 1) return float(target_size) / float(source_size);
    return float(target_size - 1) / float(source_size - 1);
}

namespace {

// Mirrors a position outside the source back in; clamps what one mirror cannot bring back (a
// source narrower than the filter's reach), which would otherwise read outside the picture.
std::int32_t SourceIndex(int j, int source_size) {
    int index = j;
    if (j < 0) {
        index = -j;
    } else if (j >= source_size) {
        index = 2 * source_size - 1 - j;
    }
    return std::clamp(index, 0, source_size - 1);
}

}  // namespace

Contributors BuildContributors(int source_size, int target_size, FilterFunction filter,
                               float support) {
    Contributors result;
    const float s = ScaleFactor(source_size, target_size);
    const bool shrinking = s < 1.0f;
    const float w = shrinking ? support / s : support;
    const float g = 1.0f / s;
    result.first.reserve(size_t(target_size) + 1);
    result.entries.reserve(size_t(target_size) * size_t(2.0f * w + 1.0f));
    result.first.push_back(0);
    for (int i = 0; i < target_size; ++i) {
        const float c = float(i) / s;
        const int left = int(std::floor(c - w));
        const int right = int(std::ceil(c + w));
        for (int j = left; j <= right; ++j) {
            const float weight = shrinking ? filter((c - float(j)) / g) / g : filter(c - float(j));
            if (weight == 0.0f) continue;
            result.entries.push_back({SourceIndex(j, source_size), weight});
        }
        result.first.push_back(result.entries.size());
    }
    return result;
}

}  // namespace tarmel::photos
