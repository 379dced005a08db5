// The plate blur on a zone of a plate's size: BlurBand of a 200 x 60 zone of random pixels at the
// largest radius of the editor, the median of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "photos/blur.h"

int main() {
    using tarmel::photos::Bitmap;
    using Clock = std::chrono::steady_clock;
    constexpr int kRuns = 301;

    Bitmap unblurred(200, 60);
    std::mt19937 random(20261210);
    for (auto& byte : unblurred.bytes) byte = std::uint8_t(random() & 0xff);

    std::vector<double> ms;
    ms.reserve(kRuns);
    unsigned checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        Bitmap zone = unblurred;
        const auto start = Clock::now();
        const auto error = tarmel::photos::BlurBand(unblurred, zone, true, 30, 10);
        const auto stop = Clock::now();
        if (error) {
            std::fprintf(stderr, "bench_blur: %s\n", error->c_str());
            return 1;
        }
        checksum += zone.bytes[std::size_t(run) % zone.bytes.size()];
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::nth_element(ms.begin(), ms.begin() + kRuns / 2, ms.end());
    std::printf("bench: blur_200x60_r10 %.3f ms\n", ms[kRuns / 2]);
    std::fprintf(stderr, "(checksum %u)\n", checksum);
    return 0;
}
