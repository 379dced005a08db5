// Bitmap <-> QImage: the same pixels with the channel order swapped.
#include "photos/window/bitmapimage.h"

namespace tarmel::photos {

QImage ToQImage(const Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* in = bitmap.row(y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < bitmap.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return image;
}

Bitmap FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < bitmap.height; ++y) {
        const uchar* in = rgb.constScanLine(y);
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < bitmap.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return bitmap;
}

}  // namespace tarmel::photos
