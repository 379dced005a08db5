// Contributor lists of one resampling pass: for every output column (or row), the source
// positions it mixes and their weights. Built once per pass and shared by both resamplers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "photos/resample.h"

namespace tarmel::photos {

struct Contributor {
    std::int32_t index;  // source column or row, always in 0..source size - 1
    float weight;        // never 0
};

// All lists of a pass in one array: the list of output i is entries[first[i] .. first[i + 1]).
struct Contributors {
    std::vector<std::size_t> first;  // output size + 1 offsets
    std::vector<Contributor> entries;

    int size() const { return first.empty() ? 0 : int(first.size()) - 1; }
    std::span<const Contributor> of(int i) const {
        return {entries.data() + first[size_t(i)], first[size_t(i) + 1] - first[size_t(i)]};
    }
};

// The scale factor of a pass: (target - 1) / (source - 1), which makes the first and last
// output samples fall on the first and last source pixels, or target / source when either size
// is 1 (the first form would divide by zero, or give 0 for a one-pixel target).
float ScaleFactor(int source_size, int target_size);

// The lists for scaling source_size pixels to target_size (both above 0). Output i is centred on
// c = i / s (no half-pixel offset). When enlarging (s >= 1) it takes weight filter(c - j) for
// every j from floor(c - support) to ceil(c + support); when shrinking the filter is stretched:
// w = support / s, g = 1 / s, weight filter((c - j) / g) / g. Zero weights are left out, the rest
// are kept unnormalised and in ascending j. Positions outside the source are mirrored (-j below
// 0, 2 * size - 1 - j past the end) and, for a source narrower than the filter where mirroring
// once is not enough, clamped into the source.
Contributors BuildContributors(int source_size, int target_size, FilterFunction filter,
                               float support);

}  // namespace tarmel::photos
