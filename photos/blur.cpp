// The plate blur: Gaussian kernel, line blur, whole-picture blur and the diagonal band.
#include "photos/blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tarmel::photos {

namespace {

constexpr double kMaxData = 255.0;
constexpr double kGranularity = 1.0;
// The weights are single precision, so over a uniform line their sum can land a few millionths
// under the channel's value (for radius 5, 255 came out as 254.99999), and truncation would then
// darken every blurred pixel by one step per pass. Sums that close to the next integer count as
// that integer; the slack stays far above the weights' rounding (under 2e-5 for 255) and far
// below a step.
constexpr double kRoundingSlack = 1e-4;

std::uint8_t Channel(double exactSum) {
    const double sum = exactSum + kRoundingSlack;
    if (sum >= 255.0) return 255;
    if (sum < 0.0) return 0;
    return std::uint8_t(sum);  // truncation towards zero
}

// out[i] = the sum over the taps t of weights[t] * lines[t][i], for i < count, adding the terms
// from the first tap on, exactly as BlurLine does (its first tap is the offset -size). Vec holds a
// few doubles; its products and sums are element-wise IEEE operations, the same as scalar code,
// and no fused multiply-add is enabled, so every build gives the same bytes.
template <typename Vec>
[[gnu::always_inline]] inline void SumTaps(const double* weights, const double* const* lines,
                                           int taps, std::size_t count, std::uint8_t* out) {
    constexpr std::size_t kLanes = sizeof(Vec) / sizeof(double);
    constexpr std::size_t kVecs = 8;  // independent sums in flight hide the adder's latency
    constexpr std::size_t kBlock = kLanes * kVecs;
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        Vec sums[kVecs] = {};
        for (int t = 0; t < taps; ++t) {
            Vec weight;
            for (std::size_t l = 0; l < kLanes; ++l) weight[l] = weights[t];
            const double* in = lines[t] + i;
            for (std::size_t v = 0; v < kVecs; ++v) {
                Vec values;
                std::memcpy(&values, in + kLanes * v, sizeof values);
                sums[v] += weight * values;
            }
        }
        for (std::size_t v = 0; v < kVecs; ++v)
            for (std::size_t l = 0; l < kLanes; ++l) out[i + kLanes * v + l] = Channel(sums[v][l]);
    }
    for (; i < count; ++i) {
        double sum = 0.0;
        for (int t = 0; t < taps; ++t) sum += weights[t] * lines[t][i];
        out[i] = Channel(sum);
    }
}

typedef double Double2 __attribute__((vector_size(16)));
typedef double Double4 __attribute__((vector_size(32)));

void SumTapsBase(const double* weights, const double* const* lines, int taps, std::size_t count,
                 std::uint8_t* out) {
    SumTaps<Double2>(weights, lines, taps, count, out);
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("avx")]] void SumTapsAvx(const double* weights, const double* const* lines, int taps,
                                       std::size_t count, std::uint8_t* out) {
    SumTaps<Double4>(weights, lines, taps, count, out);
}
#endif

using SumTapsFunction = void (*)(const double*, const double* const*, int, std::size_t,
                                 std::uint8_t*);

SumTapsFunction ChooseSumTaps() {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx")) return SumTapsAvx;
#endif
    return SumTapsBase;
}

}  // namespace

BlurKernel BuildBlurKernel(int radius) {
    const double r = radius == 0 ? 1.0 : double(radius);
    BlurKernel kernel;
    constexpr int kMax = BlurKernel::kMaxSize;
    for (int k = -kMax; k <= kMax; ++k) {
        const double t = k / r;
        kernel.weights[std::size_t(k + kMax)] = float(std::exp(-t * t / 2.0));
    }
    double sum = 0.0;
    for (float w : kernel.weights) sum += w;
    for (float& w : kernel.weights) w = float(w / sum);

    // Drop the tails while together they stay under half a step of the channel's range.
    const double delta = kGranularity / (2.0 * kMaxData);
    int size = kMax;
    double tail = 0.0;
    while (tail < delta && size > 1) {
        tail += 2.0 * kernel.weight(size);
        --size;
    }
    kernel.size = size;

    sum = 0.0;
    for (int k = -size; k <= size; ++k) sum += kernel.weight(k);
    for (int k = -size; k <= size; ++k) {
        float& w = kernel.weights[std::size_t(k + kMax)];
        w = float(w / sum);
    }
    return kernel;
}

void BlurLine(const BlurKernel& kernel, const std::uint8_t* in, std::uint8_t* out, int n) {
    for (int j = 0; j < n; ++j) {
        double blue = 0.0, green = 0.0, red = 0.0;
        for (int k = -kernel.size; k <= kernel.size; ++k) {
            const double w = kernel.weight(k);
            const std::uint8_t* p = in + 3 * std::clamp(j - k, 0, n - 1);
            blue += w * p[0];
            green += w * p[1];
            red += w * p[2];
        }
        out[3 * j] = Channel(blue);
        out[3 * j + 1] = Channel(green);
        out[3 * j + 2] = Channel(red);
    }
}

bool Is24Bit(const Bitmap& bitmap) {
    if (bitmap.width < 0 || bitmap.height < 0) return false;
    const std::ptrdiff_t rowBytes = std::ptrdiff_t(bitmap.width) * 3;
    if (bitmap.stride < rowBytes) return false;
    if (bitmap.height == 0 || bitmap.width == 0) return true;
    const std::ptrdiff_t needed = bitmap.stride * (bitmap.height - 1) + rowBytes;
    return std::ptrdiff_t(bitmap.bytes.size()) >= needed;
}

// The same sums as BlurLine, in the same order (offset -size first), laid out so that the inner
// loop runs over neighbouring channels with no clamping: rows read a copy padded with repeated end
// pixels, columns read whole rows of the row-blurred picture.
std::optional<std::string> GBlur(Bitmap& bitmap, int radius) {
    if (!Is24Bit(bitmap)) return std::string(kNot24BitError);
    if (bitmap.empty()) return std::nullopt;
    static const SumTapsFunction sumTaps = ChooseSumTaps();
    const BlurKernel kernel = BuildBlurKernel(radius);
    const int size = kernel.size;
    const int taps = 2 * size + 1;
    const int w = bitmap.width;
    const int h = bitmap.height;
    const std::size_t rowValues = std::size_t(w) * 3;
    std::vector<double> weights(static_cast<std::size_t>(taps));
    for (int t = 0; t < taps; ++t) weights[std::size_t(t)] = kernel.weight(t - size);
    std::vector<const double*> lines(static_cast<std::size_t>(taps));

    // Rows: the offset k reads the row padded with its end pixels, shifted by k pixels.
    std::vector<double> padded((std::size_t(w) + 2 * std::size_t(size)) * 3);
    for (int t = 0; t < taps; ++t) lines[std::size_t(t)] = &padded[std::size_t(taps - 1 - t) * 3];
    std::vector<std::uint8_t> blurredRows(rowValues * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = bitmap.row(y);
        for (int p = -size; p < w + size; ++p) {
            const std::uint8_t* pixel = in + 3 * std::clamp(p, 0, w - 1);
            double* out = &padded[std::size_t(p + size) * 3];
            out[0] = pixel[0], out[1] = pixel[1], out[2] = pixel[2];
        }
        sumTaps(weights.data(), lines.data(), taps, rowValues,
                &blurredRows[rowValues * std::size_t(y)]);
    }

    // Columns: the offset k reads the whole row k above, the end rows repeated.
    const std::vector<double> rows(blurredRows.begin(), blurredRows.end());
    for (int y = 0; y < h; ++y) {
        for (int t = 0; t < taps; ++t) {
            const int source = std::clamp(y - (t - size), 0, h - 1);
            lines[std::size_t(t)] = &rows[rowValues * std::size_t(source)];
        }
        sumTaps(weights.data(), lines.data(), taps, rowValues, bitmap.row(y));
    }
    return std::nullopt;
}

float LineSide(Point p, Point a, Point b) {
    const std::int64_t dx = std::int64_t(b.x) - a.x;
    const std::int64_t dy = std::int64_t(b.y) - a.y;
    const std::int64_t length2 = dx * dx + dy * dy;
    if (length2 == 0) return 0.0f;
    const std::int64_t cross = dx * (std::int64_t(a.y) - p.y) - (std::int64_t(a.x) - p.x) * dy;
    return float(double(cross) / double(length2));
}

std::optional<std::string> BlurBand(const Bitmap& unblurred, Bitmap& zone, bool fromLeft,
                                    int thickness, int radius) {
    if (!Is24Bit(zone) || !Is24Bit(unblurred)) return std::string(kNot24BitError);
    if (unblurred.width != zone.width || unblurred.height != zone.height)
        return std::string(kUnblurredSizeError);
    if (zone.empty()) return std::nullopt;
    if (auto error = GBlur(zone, radius)) return error;

    const int w = zone.width;
    const int h = zone.height;
    const double a = std::min(thickness, h);
    const int low = int(std::nearbyint(h - 1 - a));  // the far end of line 1
    const int high = int(std::nearbyint(a));         // the near end of line 2
    Point a1, b1, a2, b2;
    if (fromLeft) {
        a1 = {0, 0}, b1 = {w - 1, low};
        a2 = {0, high}, b2 = {w - 1, h - 1};
    } else {
        a1 = {0, low}, b1 = {w - 1, 0};
        a2 = {0, h - 1}, b2 = {w - 1, high};
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Point p{x, y};
            const bool inBand = LineSide(p, a1, b1) <= 0.0f && LineSide(p, a2, b2) >= 0.0f;
            if (!inBand) std::memcpy(zone.pixel(x, y), unblurred.pixel(x, y), 3);
        }
    }
    return std::nullopt;
}

}  // namespace tarmel::photos
