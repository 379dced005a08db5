// Demo photos: a small picture of a car drawn in its body colour (sky, road, body, windows,
// wheels), encoded as baseline JPEG with libjpeg, so that the client's previews and the
// commercial sheet show real images.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "dataserver/demo/demo.h"

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace tarmel::dataserver::demo {

namespace {

struct Rgb {
    unsigned char r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](unsigned char x, unsigned char y) {
        return static_cast<unsigned char>(x + (y - x) * t);
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// The colour of pixel (x, y) of a w x h picture; coordinates are scaled from a 640 x 480 design.
Rgb Pixel(int x, int y, int w, int h, Rgb body, int variant) {
    const double u = x * 640.0 / w, v = y * 480.0 / h;
    const double shift = (variant - 1) * 30.0;  // each photo of a vehicle is framed a bit apart
    const double cx = u - shift;
    // Wheels.
    for (double wx : {190.0, 450.0}) {
        const double dx = cx - wx, dy = v - 350.0;
        const double d2 = dx * dx + dy * dy;
        if (d2 < 22.0 * 22.0) return {170, 170, 175};
        if (d2 < 48.0 * 48.0) return {25, 25, 28};
    }
    // Windows and body.
    if (v > 200 && v < 255 && cx > 215 + (255 - v) * 0.9 && cx < 440 - (255 - v) * 0.6) {
        return cx > 322 && cx < 330 ? body : Rgb{60, 80, 100};
    }
    if (v >= 190 && v < 260 && cx > 170 + (260 - v) * 0.9 && cx < 470 - (260 - v) * 0.5) return body;
    if (v >= 255 && v < 345 && cx > 110 && cx < 540) {
        if (v > 285 && v < 295 && cx > 520) return {255, 230, 150};  // headlamp
        return Mix(body, Rgb{0, 0, 0}, (v - 255) / 300.0);
    }
    // Road and sky.
    if (v > 330) return Mix(Rgb{95, 95, 100}, Rgb{60, 60, 64}, (v - 330) / 150.0);
    return Mix(Rgb{150, 190, 235}, Rgb{225, 235, 245}, v / 330.0);
}

}  // namespace

bool WriteCarJpeg(const std::string& path, int width, int height, uint32_t rgb, int variant,
                  std::string& error) {
    const Rgb body{static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                   static_cast<unsigned char>(rgb)};
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write the photo " + path;
        return false;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb p = Pixel(x, y, width, height, body, variant);
            row[static_cast<size_t>(x) * 3] = p.r;
            row[static_cast<size_t>(x) * 3 + 1] = p.g;
            row[static_cast<size_t>(x) * 3 + 2] = p.b;
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const bool ok = std::fclose(file) == 0;
    if (!ok) error = "cannot write the photo " + path;
    return ok;
}

}  // namespace tarmel::dataserver::demo
