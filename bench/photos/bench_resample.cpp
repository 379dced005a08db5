// Times the resamplers on the photo pipeline's main job: a 3000 x 2000 picture to 640 x 480
// with Lanczos3, fast and reference, median of several runs; fails when the bytes differ.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "photos/resample.h"

namespace {

using tarmel::photos::Bitmap;
using Resampler = std::string (*)(const Bitmap&, Bitmap&, tarmel::photos::FilterFunction, float);

// Median wall time in milliseconds of `runs` calls; the last result is left in `out`.
double MedianMs(Resampler run, const Bitmap& source, Bitmap& out, int runs) {
    const tarmel::photos::FilterEntry* lanczos = tarmel::photos::FindFilter("Lanczos3");
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        out = Bitmap();
        out.width = 640;
        out.height = 480;
        const auto start = std::chrono::steady_clock::now();
        const std::string error = run(source, out, lanczos->filter, lanczos->support);
        const auto end = std::chrono::steady_clock::now();
        if (!error.empty()) {
            std::fprintf(stderr, "resample failed: %s\n", error.c_str());
            return -1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    Bitmap source(3000, 2000);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::uint8_t& b : source.bytes) b = std::uint8_t(byte(random));

    Bitmap fast, reference;
    const double fast_ms = MedianMs(tarmel::photos::ResampleBitmap, source, fast, 11);
    const double reference_ms = MedianMs(tarmel::photos::ResampleReference, source, reference, 5);
    if (fast_ms < 0 || reference_ms < 0) return 1;
    std::printf("bench: resample_fast %.1f ms\n", fast_ms);
    std::printf("bench: resample_reference %.1f ms\n", reference_ms);
    if (fast.bytes != reference.bytes) {
        std::fprintf(stderr, "fast and reference results differ\n");
        return 1;
    }
    return 0;
}
