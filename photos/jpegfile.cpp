// JPEG decoding and encoding with libjpeg-turbo, the EXIF orientation read with libexif.
#include "photos/jpegfile.h"

#include <jpeglib.h>
#include <libexif/exif-data.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tarmel::photos {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: jump back.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void NoWarnings(j_common_ptr, int) {}

}  // namespace

int JpegOrientation(const std::string& bytes) {
    ExifData* exif = exif_data_new_from_data(reinterpret_cast<const unsigned char*>(bytes.data()),
                                             static_cast<unsigned int>(bytes.size()));
    if (exif == nullptr) return 1;
    int orientation = 1;
    if (ExifEntry* entry = exif_data_get_entry(exif, EXIF_TAG_ORIENTATION);
        entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components == 1) {
        orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
    }
    exif_data_unref(exif);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

Bitmap Oriented(const Bitmap& picture, int orientation) {
    if (orientation <= 1 || orientation > 8) return picture;
    // Orientations 5 to 8 swap width and height.
    const bool swap = orientation >= 5;
    Bitmap out(swap ? picture.height : picture.width, swap ? picture.width : picture.height);
    const int w = picture.width, h = picture.height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int tx = x, ty = y;
            switch (orientation) {
                case 2:
                    tx = w - 1 - x;
                    break;  // mirrored
                case 3:
                    tx = w - 1 - x;
                    ty = h - 1 - y;
                    break;  // upside down
                case 4:
                    ty = h - 1 - y;
                    break;  // mirrored upside down
                case 5:
                    tx = y;
                    ty = x;
                    break;  // transposed
                case 6:
                    tx = h - 1 - y;
                    ty = x;
                    break;  // turned a quarter right
                case 7:
                    tx = h - 1 - y;
                    ty = w - 1 - x;
                    break;  // transversed
                case 8:
                    tx = y;
                    ty = w - 1 - x;
                    break;  // turned a quarter left
                default:
                    break;
            }
            const std::uint8_t* from = picture.pixel(x, y);
            std::uint8_t* to = out.pixel(tx, ty);
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return out;
}

std::optional<std::string> DecodeJpeg(const std::string& bytes, Bitmap& picture) {
    picture = Bitmap();
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.emit_message = NoWarnings;
    Bitmap decoded;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        picture = Bitmap();
        return std::string("L'image n'est pas un JPEG lisible : ") + errors.message;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    decoded.resize(int(info.output_width), int(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decoded.row(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    picture = Oriented(decoded, JpegOrientation(bytes));
    return std::nullopt;
}

std::optional<std::string> ReadJpegFile(const std::string& path, Bitmap& picture) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        picture = Bitmap();
        return "Le fichier « " + path + " » ne peut pas être lu.";
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return DecodeJpeg(bytes, picture);
}

std::string EncodeJpeg(const Bitmap& picture, int quality) {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);  // baseline tables; progressive stays off
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(picture.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::optional<std::string> WriteJpegFile(const std::string& path, const Bitmap& picture,
                                         int quality) {
    if (picture.empty()) return "Une image vide ne peut pas être enregistrée.";
    const std::string bytes = EncodeJpeg(picture, quality);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (bytes.empty() || !file.write(bytes.data(), std::streamsize(bytes.size())) || !file.flush())
        return "Le fichier « " + path + " » ne peut pas être écrit.";
    return std::nullopt;
}

}  // namespace tarmel::photos
