// Times publishing one photo on one thread: decode a 3000 x 2000 JPEG, make the 640 x 480 photo
// and the 120 x 90 miniature from the full picture with Lanczos3, encode both at quality 90.
// libvips does the same work in the same run (its resize to each size, the ratio not kept), as
// the figure to compare with.
#include <vips/vips.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "photos/jpegfile.h"
#include "photos/reduction.h"

namespace {

using Clock = std::chrono::steady_clock;
using tarmel::photos::Bitmap;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Something like a photo: smooth gradients with some grain, so that the JPEG is of a usual size.
Bitmap PhotoLike(int w, int h) {
    Bitmap picture(w, h);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> grain(-12, 12);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = picture.pixel(x, y);
            p[0] = std::uint8_t(std::clamp(80 + x * 120 / w + grain(random), 0, 255));
            p[1] = std::uint8_t(std::clamp(60 + y * 140 / h + grain(random), 0, 255));
            p[2] = std::uint8_t(std::clamp(200 - (x + y) * 150 / (w + h) + grain(random), 0, 255));
        }
    }
    return picture;
}

// Ours: the bytes of both published files.
size_t Publish(const std::string& jpeg) {
    Bitmap full;
    if (tarmel::photos::DecodeJpeg(jpeg, full)) return 0;
    const tarmel::photos::ReducedPhoto reduced = tarmel::photos::ReducePhoto(full);
    if (!reduced.error.empty()) return 0;
    return tarmel::photos::EncodeJpeg(reduced.photo, 90).size() +
           tarmel::photos::EncodeJpeg(reduced.miniature, 90).size();
}

size_t VipsSave(VipsImage* full, int width, int height) {
    VipsImage* resized = nullptr;
    void* buffer = nullptr;
    size_t size = 0;
    if (vips_resize(full, &resized, double(width) / full->Xsize, "vscale",
                    double(height) / full->Ysize, "kernel", VIPS_KERNEL_LANCZOS3, nullptr) == 0 &&
        vips_jpegsave_buffer(resized, &buffer, &size, "Q", 90, nullptr) == 0) {
        g_free(buffer);
    } else {
        size = 0;
    }
    if (resized) g_object_unref(resized);
    return size;
}

size_t PublishWithVips(const std::string& jpeg) {
    VipsImage* loaded = vips_image_new_from_buffer(jpeg.data(), jpeg.size(), "", nullptr);
    if (loaded == nullptr) return 0;
    // Decoded once, both sizes made from the full picture.
    VipsImage* full = vips_image_copy_memory(loaded);
    g_object_unref(loaded);
    if (full == nullptr) return 0;
    const size_t bytes = VipsSave(full, 640, 480) + VipsSave(full, 120, 90);
    g_object_unref(full);
    return bytes;
}

}  // namespace

int main(int, char** argv) {
    if (VIPS_INIT(argv[0]) != 0) {
        std::fprintf(stderr, "bench_pipeline: libvips did not start\n");
        return 1;
    }
    vips_concurrency_set(1);
    vips_cache_set_max(0);  // every run does the whole work
    const std::string jpeg = tarmel::photos::EncodeJpeg(PhotoLike(3000, 2000), 90);
    std::vector<double> ours, theirs;
    for (int round = 0; round < 9; ++round) {
        auto start = Clock::now();
        if (Publish(jpeg) == 0) return 1;
        ours.push_back(Ms(Clock::now() - start));
        start = Clock::now();
        if (PublishWithVips(jpeg) == 0) {
            std::fprintf(stderr, "bench_pipeline: libvips failed: %s\n", vips_error_buffer());
            return 1;
        }
        theirs.push_back(Ms(Clock::now() - start));
    }
    std::printf("bench: photo_pipeline %.1f ms\n", Median(ours));
    std::printf("bench: photo_pipeline_libvips %.1f ms\n", Median(theirs));
    vips_shutdown();
    return 0;
}
