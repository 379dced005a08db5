// The vectorised resampler: the reference's sums, computed with SIMD across output values and
// compiled for several instruction sets, the best one chosen at run time.
//
// Every output value goes through exactly the reference's single-precision operations in the
// same order (a multiply, then an add, per contributor, never fused or regrouped); only
// independent output values share a vector. The vertical pass puts the bytes of a row side by
// side. The horizontal pass works on strips of rows copied into a transposed float buffer, so
// that one lane is one row and a contributor's column is one vector load per channel.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "photos/resample_fast.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Highway must follow foreach_target.h.
#include <hwy/aligned_allocator.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "photos/resample.h"
#include "photos/resample_contributors.h"

HWY_BEFORE_NAMESPACE();
namespace tarmel::photos {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using FloatTag = hn::ScalableTag<float>;

// The reference's clamping and rounding: Round is to nearest with halves to even, and clamping
// the rounded value gives the same byte as clamping the sum first.
template <class V>
HWY_INLINE void StoreBytes(V sum, std::uint8_t* out) {
    const FloatTag df;
    const hn::Rebind<std::int32_t, FloatTag> di;
    const hn::Rebind<std::uint8_t, FloatTag> du8;
    const V clamped = hn::Min(hn::Max(hn::Round(sum), hn::Zero(df)), hn::Set(df, 255.0f));
    hn::StoreU(hn::DemoteTo(du8, hn::ConvertTo(di, clamped)), du8, out);
}

HWY_INLINE std::uint8_t ScalarToByte(float sum) {
    if (sum > 255.0f) return 255;
    if (sum < 0.0f) return 0;
    return std::uint8_t(std::nearbyint(sum));
}

// Rows per strip: kStripVectors vectors per channel keep several independent sums in flight.
constexpr size_t kStripVectors = 2;

void HorizontalPass(const Bitmap& source, Bitmap& work, const Contributors& columns) {
    const FloatTag df;
    const size_t lanes = hn::Lanes(df);
    const size_t strip_rows = kStripVectors * lanes;
    const size_t in_values = 3 * size_t(source.width);
    const size_t out_values = 3 * size_t(work.width);
    // strip[b * strip_rows + l] is byte b of row l of the strip, as a float.
    auto strip = hwy::AllocateAligned<float>(in_values * strip_rows);
    auto out = hwy::AllocateAligned<std::uint8_t>(out_values * strip_rows);

    for (int y0 = 0; y0 < source.height; y0 += int(strip_rows)) {
        const size_t rows = std::min(strip_rows, size_t(source.height - y0));
        if (rows < strip_rows) std::fill_n(strip.get(), in_values * strip_rows, 0.0f);
        for (size_t l = 0; l < rows; ++l) {
            const std::uint8_t* in = source.row(y0 + int(l));
            float* to = strip.get() + l;
            for (size_t b = 0; b < in_values; ++b) to[b * strip_rows] = float(in[b]);
        }

        for (int i = 0; i < work.width; ++i) {
            auto sum0 = hn::Zero(df), sum1 = hn::Zero(df), sum2 = hn::Zero(df);
            auto sum3 = hn::Zero(df), sum4 = hn::Zero(df), sum5 = hn::Zero(df);
            for (const Contributor& c : columns.of(i)) {
                const auto weight = hn::Set(df, c.weight);
                const float* p = strip.get() + 3 * size_t(c.index) * strip_rows;
                sum0 = hn::Add(sum0, hn::Mul(weight, hn::Load(df, p)));
                sum1 = hn::Add(sum1, hn::Mul(weight, hn::Load(df, p + lanes)));
                sum2 = hn::Add(sum2, hn::Mul(weight, hn::Load(df, p + strip_rows)));
                sum3 = hn::Add(sum3, hn::Mul(weight, hn::Load(df, p + strip_rows + lanes)));
                sum4 = hn::Add(sum4, hn::Mul(weight, hn::Load(df, p + 2 * strip_rows)));
                sum5 = hn::Add(sum5, hn::Mul(weight, hn::Load(df, p + 2 * strip_rows + lanes)));
            }
            std::uint8_t* o = out.get() + 3 * size_t(i) * strip_rows;
            StoreBytes(sum0, o);
            StoreBytes(sum1, o + lanes);
            StoreBytes(sum2, o + strip_rows);
            StoreBytes(sum3, o + strip_rows + lanes);
            StoreBytes(sum4, o + 2 * strip_rows);
            StoreBytes(sum5, o + 2 * strip_rows + lanes);
        }

        for (size_t l = 0; l < rows; ++l) {
            std::uint8_t* to = work.row(y0 + int(l));
            const std::uint8_t* from = out.get() + l;
            for (size_t b = 0; b < out_values; ++b) to[b] = from[b * strip_rows];
        }
    }
}

void VerticalPass(const Bitmap& work, Bitmap& destination, const Contributors& rows) {
    const FloatTag df;
    const hn::Rebind<std::int32_t, FloatTag> di;
    const hn::Rebind<std::uint8_t, FloatTag> du8;
    const size_t lanes = hn::Lanes(df);
    const size_t values = 3 * size_t(destination.width);
    auto load = [&](const std::uint8_t* p) {
        return hn::ConvertTo(df, hn::PromoteTo(di, hn::LoadU(du8, p)));
    };

    for (int k = 0; k < destination.height; ++k) {
        const std::span<const Contributor> list = rows.of(k);
        std::uint8_t* out = destination.row(k);
        size_t x = 0;
        for (; x + 4 * lanes <= values; x += 4 * lanes) {
            auto sum0 = hn::Zero(df), sum1 = hn::Zero(df);
            auto sum2 = hn::Zero(df), sum3 = hn::Zero(df);
            for (const Contributor& c : list) {
                const auto weight = hn::Set(df, c.weight);
                const std::uint8_t* p = work.row(c.index) + x;
                sum0 = hn::Add(sum0, hn::Mul(weight, load(p)));
                sum1 = hn::Add(sum1, hn::Mul(weight, load(p + lanes)));
                sum2 = hn::Add(sum2, hn::Mul(weight, load(p + 2 * lanes)));
                sum3 = hn::Add(sum3, hn::Mul(weight, load(p + 3 * lanes)));
            }
            StoreBytes(sum0, out + x);
            StoreBytes(sum1, out + x + lanes);
            StoreBytes(sum2, out + x + 2 * lanes);
            StoreBytes(sum3, out + x + 3 * lanes);
        }
        for (; x + lanes <= values; x += lanes) {
            auto sum = hn::Zero(df);
            for (const Contributor& c : list) {
                sum = hn::Add(sum, hn::Mul(hn::Set(df, c.weight), load(work.row(c.index) + x)));
            }
            StoreBytes(sum, out + x);
        }
        for (; x < values; ++x) {
            float sum = 0.0f;
            for (const Contributor& c : list) sum = sum + c.weight * float(work.row(c.index)[x]);
            out[x] = ScalarToByte(sum);
        }
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace tarmel::photos
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tarmel::photos {

HWY_EXPORT(HorizontalPass);
HWY_EXPORT(VerticalPass);

std::string ResampleBitmap(const Bitmap& source, Bitmap& destination, FilterFunction filter,
                           float support) {
    if (source.width <= 0 || source.height <= 0) return std::string(kSourceTooSmall);
    destination.resize(destination.width, destination.height);
    if (destination.empty()) return {};

    Bitmap work(destination.width, source.height);
    HWY_DYNAMIC_DISPATCH(HorizontalPass)
    (source, work, BuildContributors(source.width, destination.width, filter, support));
    HWY_DYNAMIC_DISPATCH(VerticalPass)
    (work, destination, BuildContributors(source.height, destination.height, filter, support));
    return {};
}

}  // namespace tarmel::photos
#endif  // HWY_ONCE
