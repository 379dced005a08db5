// A 24-bit picture in memory: rows of width pixels, three bytes per pixel in the order blue,
// green, red, each row starting stride bytes after the previous one. The photo code (resampling,
// blur, the editor and the upload) works on it; no widget and no file format here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarmel::photos {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // bytes from one row to the next, at least 3 * width
    std::vector<std::uint8_t> bytes;

    Bitmap() = default;
    // A black picture; rows are packed (stride 3 * width).
    Bitmap(int w, int h) { resize(w, h); }

    void resize(int w, int h) {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        stride = std::ptrdiff_t(width) * 3;
        bytes.assign(size_t(stride) * size_t(height), 0);
    }
    bool empty() const { return width == 0 || height == 0; }
    std::uint8_t* row(int y) { return bytes.data() + stride * y; }
    const std::uint8_t* row(int y) const { return bytes.data() + stride * y; }
    std::uint8_t* pixel(int x, int y) { return row(y) + 3 * x; }
    const std::uint8_t* pixel(int x, int y) const { return row(y) + 3 * x; }
};

}  // namespace tarmel::photos
