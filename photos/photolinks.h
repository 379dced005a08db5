// The names and statements of the photos linked to a vehicle: the photo name and its files, the
// link row, the default photo, the deletion and the photo that becomes the default after it, and
// the form that carries both files to the data server. No widget, no network here.
#pragma once

#include <string>
#include <vector>

#include "server/httpclient.h"

namespace tarmel::photos {

// First character of the dealership code + the vehicle number padded with "0" to 7 digits + "-"
// + the photo number padded to 2 digits: dealership "B12", vehicle 4711, photo 3 -> "B0004711-03".
// Longer numbers are neither padded nor cut.
std::string PhotoName(const std::string& dealership, const std::string& idVO, int number);

// The miniature's file name: every ".jpg" of the photo's file name, in any case, becomes "m.jpg".
std::string MiniatureName(const std::string& photoFile);

// The photo sizes the dealership's site publishes.
inline constexpr int kPhotoWidth = 640, kPhotoHeight = 480;
inline constexpr int kMiniatureWidth = 120, kMiniatureHeight = 90;
inline constexpr int kJpegQuality = 90;

// "INSERT INTO [tVO - Liens Images] ..." with ":NewID" for the server to fill; date is
// "yyyy-mm-dd hh:mm:ss".
std::string LinkStatement(const std::string& idVO, int number, const std::string& name,
                          const std::string& date);
// The vehicle's default photo; an empty name clears it (NULL).
std::string DefaultPhotoStatement(const std::string& idVO, const std::string& name);
std::string DeletePhotoStatement(const std::string& idVO, const std::string& name);

// After name is deleted: the first other photo of the list, or empty when there is none.
std::string NextDefaultPhoto(const std::vector<std::string>& listed, const std::string& name);

// The "AxInsert" form: the photo's file name, the output format, the statement, the size limit,
// the photo, the miniature's file name, the miniature (each file as a part named "File").
MultipartForm LinkForm(const std::string& photoFile, const std::string& photoBytes,
                       const std::string& miniatureFile, const std::string& miniatureBytes,
                       const std::string& statement);

}  // namespace tarmel::photos
