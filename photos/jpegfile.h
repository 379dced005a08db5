// JPEG pictures in and out of a Bitmap: decoding (with the EXIF orientation applied, so that an
// upright phone photo stays upright) and encoding as baseline JPEG without any metadata, so that
// nothing of the original file (a GPS position, the camera) leaves with the published photo.
#pragma once

#include <optional>
#include <string>

#include "photos/bitmap.h"

namespace tarmel::photos {

// The EXIF orientation of a JPEG file's bytes: 1 (as stored) to 8; 1 when there is none.
int JpegOrientation(const std::string& bytes);
// The picture turned as an EXIF orientation says, so that it shows as the camera saw it.
Bitmap Oriented(const Bitmap& picture, int orientation);

// Decodes JPEG bytes into a 24-bit picture, orientation applied. The error (UTF-8 French text)
// when the bytes are no readable JPEG; the picture is then left empty.
std::optional<std::string> DecodeJpeg(const std::string& bytes, Bitmap& picture);
std::optional<std::string> ReadJpegFile(const std::string& path, Bitmap& picture);

// Baseline JPEG of the picture at the quality (1 to 100), with a JFIF header and no other marker.
std::string EncodeJpeg(const Bitmap& picture, int quality);
std::optional<std::string> WriteJpegFile(const std::string& path, const Bitmap& picture,
                                         int quality);

}  // namespace tarmel::photos
