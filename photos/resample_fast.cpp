// The vectorised resampler: the reference's sums, computed with SIMD across output values and
// compiled for several instruction sets, the best one chosen at run time.
//
// Every output value goes through exactly the reference's single-precision operations in the
// same order (a multiply, then an add, per contributor, never fused or regrouped); only
// independent output values share a vector. The vertical pass puts the bytes of a row side by
// side. The horizontal pass works on strips of rows, transposed sixteen bytes at a time and
// turned into floats one block of output columns at a time, so that one lane is one row and a
// contributor's column is one vector load per channel; the results are transposed back.
// Built with -ffp-contract=off: GCC would otherwise fuse the Mul and Add into one rounding.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "photos/resample_fast.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Highway must follow foreach_target.h.
#include <hwy/aligned_allocator.h>
#include <hwy/cache_control.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// Rows per strip: a whole number of vectors per channel, at least two so that several
// independent sums are in flight, and a multiple of 16 for the byte transposition.
constexpr size_t kStripVectors = HWY_MAX(size_t(2), 16 / HWY_LANES(float));

#if HWY_TARGET != HWY_SCALAR
// Transposes a 16 x 16 block of bytes: out(b)[r] = in(r)[b].
template <class In, class Out>
HWY_INLINE void Transpose16(In in, Out out) {
    const hn::Full128<std::uint8_t> d8;
    const hn::Full128<std::uint16_t> d16;
    const hn::Full128<std::uint32_t> d32;
    const hn::Full128<std::uint64_t> d64;
    using V = hn::Vec<decltype(d8)>;
    V v[16], w[16];
#pragma GCC unroll 16
    for (size_t r = 0; r < 16; ++r) v[r] = hn::LoadU(d8, in(r));
        // Four rounds of pairing neighbours, with units of 1, 2, 4 and 8 bytes; afterwards vector j
        // holds byte kOrder[j] of every row, rows in order.
#pragma GCC unroll 16
    for (size_t i = 0; i < 8; ++i) {
        w[i] = hn::InterleaveLower(v[2 * i], v[2 * i + 1]);
        w[i + 8] = hn::InterleaveUpper(d8, v[2 * i], v[2 * i + 1]);
    }
#pragma GCC unroll 16
    for (size_t i = 0; i < 8; ++i) {
        const auto a = hn::BitCast(d16, w[2 * i]), b = hn::BitCast(d16, w[2 * i + 1]);
        v[i] = hn::BitCast(d8, hn::InterleaveLower(a, b));
        v[i + 8] = hn::BitCast(d8, hn::InterleaveUpper(d16, a, b));
    }
#pragma GCC unroll 16
    for (size_t i = 0; i < 8; ++i) {
        const auto a = hn::BitCast(d32, v[2 * i]), b = hn::BitCast(d32, v[2 * i + 1]);
        w[i] = hn::BitCast(d8, hn::InterleaveLower(a, b));
        w[i + 8] = hn::BitCast(d8, hn::InterleaveUpper(d32, a, b));
    }
#pragma GCC unroll 16
    for (size_t i = 0; i < 8; ++i) {
        const auto a = hn::BitCast(d64, w[2 * i]), b = hn::BitCast(d64, w[2 * i + 1]);
        v[i] = hn::BitCast(d8, hn::InterleaveLower(a, b));
        v[i + 8] = hn::BitCast(d8, hn::InterleaveUpper(d64, a, b));
    }
    static constexpr size_t kOrder[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
#pragma GCC unroll 16
    for (size_t j = 0; j < 16; ++j) hn::StoreU(v[j], d8, out(kOrder[j]));
}
#endif

constexpr size_t kPrefetchAhead = 512;

// out[b][r] = in[r][b] for r < rows and b < count.
void Transpose(const std::uint8_t* const* in, size_t rows, size_t count, std::uint8_t* const* out) {
    size_t r0 = 0;
#if HWY_TARGET != HWY_SCALAR
    const size_t whole = count - count % 16;
    for (; r0 + 16 <= rows; r0 += 16) {
        for (size_t b0 = 0; b0 < whole; b0 += 16) {
            // Fetching ahead along the rows hides the memory latency.
            if (b0 % 64 == 0) {
                for (size_t k = 0; k < 16; ++k) hwy::Prefetch(in[r0 + k] + b0 + kPrefetchAhead);
            }
            Transpose16([&](size_t r) { return in[r0 + r] + b0; },
                        [&](size_t b) { return out[b0 + b] + r0; });
        }
        for (size_t b = whole; b < count; ++b) {
            for (size_t r = r0; r < r0 + 16; ++r) out[b][r] = in[r][b];
        }
    }
#endif
    for (; r0 < rows; ++r0) {
        for (size_t b = 0; b < count; ++b) out[b][r0] = in[r0][b];
    }
}

// Output columns per block: the source columns a block reads are converted to floats together,
// a span small enough to stay in the core's cache.
constexpr int kColumnBlock = 64;

struct ColumnBlock {
    int first_output, end_output;  // outputs [first_output, end_output)
    int first_source, end_source;  // the source columns they read
};

std::vector<ColumnBlock> ColumnBlocks(const Contributors& columns) {
    std::vector<ColumnBlock> blocks;
    for (int i0 = 0; i0 < columns.size(); i0 += kColumnBlock) {
        ColumnBlock block{i0, std::min(columns.size(), i0 + kColumnBlock), 0, 1};
        bool any = false;
        for (int i = block.first_output; i < block.end_output; ++i) {
            for (const Contributor& c : columns.of(i)) {
                block.first_source = any ? std::min(block.first_source, c.index) : c.index;
                block.end_source = any ? std::max(block.end_source, c.index + 1) : c.index + 1;
                any = true;
            }
        }
        blocks.push_back(block);
    }
    return blocks;
}

void HorizontalPass(const Bitmap& source, Bitmap& work, const Contributors& columns) {
    const FloatTag df;
    const hn::Rebind<std::int32_t, FloatTag> di;
    const hn::Rebind<std::uint8_t, FloatTag> du8;
    const size_t lanes = hn::Lanes(df);
    const size_t strip_rows = kStripVectors * lanes;
    const size_t in_values = 3 * size_t(source.width);
    const size_t out_values = 3 * size_t(work.width);
    const std::vector<ColumnBlock> blocks = ColumnBlocks(columns);
    size_t widest = 0;
    for (const ColumnBlock& block : blocks) {
        widest = std::max(widest, size_t(block.end_source - block.first_source));
    }
    // strip[b * strip_rows + l] is byte b of row l of the strip; floats holds the same, as
    // floats, for the source columns of one block; out the results in the same layout.
    auto strip = hwy::AllocateAligned<std::uint8_t>(in_values * strip_rows);
    auto floats = hwy::AllocateAligned<float>(3 * widest * strip_rows);
    auto out = hwy::AllocateAligned<std::uint8_t>(out_values * strip_rows);
    // Rows past the picture's end read zeros and write into scratch.
    std::vector<std::uint8_t> zeros(std::max(in_values, out_values), 0);
    std::vector<std::uint8_t> scratch(out_values);
    std::vector<const std::uint8_t*> in_rows(strip_rows);
    std::vector<std::uint8_t*> out_rows(strip_rows);
    std::vector<std::uint8_t*> strip_columns(in_values);
    std::vector<const std::uint8_t*> out_columns(out_values);
    for (size_t b = 0; b < in_values; ++b) strip_columns[b] = strip.get() + b * strip_rows;
    for (size_t b = 0; b < out_values; ++b) out_columns[b] = out.get() + b * strip_rows;

    for (int y0 = 0; y0 < source.height; y0 += int(strip_rows)) {
        for (size_t l = 0; l < strip_rows; ++l) {
            const int y = y0 + int(l);
            in_rows[l] = y < source.height ? source.row(y) : zeros.data();
            out_rows[l] = y < source.height ? work.row(y) : scratch.data();
        }
        Transpose(in_rows.data(), strip_rows, in_values, strip_columns.data());

        for (const ColumnBlock& block : blocks) {
            const std::uint8_t* from = strip.get() + 3 * size_t(block.first_source) * strip_rows;
            const size_t count = 3 * size_t(block.end_source - block.first_source) * strip_rows;
            for (size_t k = 0; k < count; k += lanes) {
                hn::Store(hn::ConvertTo(df, hn::PromoteTo(di, hn::LoadU(du8, from + k))), df,
                          floats.get() + k);
            }
            for (int i = block.first_output; i < block.end_output; ++i) {
                hn::Vec<FloatTag> sum[3 * kStripVectors];
                // Fully unrolled, so that the sums live in registers.
#pragma GCC unroll 48
                for (auto& v : sum) v = hn::Zero(df);
                for (const Contributor& c : columns.of(i)) {
                    const auto weight = hn::Set(df, c.weight);
                    const float* p =
                        floats.get() + 3 * size_t(c.index - block.first_source) * strip_rows;
#pragma GCC unroll 48
                    for (size_t v = 0; v < 3 * kStripVectors; ++v) {
                        sum[v] = hn::Add(sum[v], hn::Mul(weight, hn::Load(df, p + v * lanes)));
                    }
                }
                std::uint8_t* o = out.get() + 3 * size_t(i) * strip_rows;
#pragma GCC unroll 48
                for (size_t v = 0; v < 3 * kStripVectors; ++v) StoreBytes(sum[v], o + v * lanes);
            }
        }

        Transpose(out_columns.data(), out_values, strip_rows, out_rows.data());
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
