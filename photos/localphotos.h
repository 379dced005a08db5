// The photos of a local folder as the photo page lists them: the JPEG files ("*.jpg", any case)
// that are files, with their modification time as the list shows it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "photos/listviewsort.h"

namespace tarmel::photos {

struct LocalPhoto {
    std::string name;      // file name with its extension, as the file system spells it (UTF-8)
    std::string modified;  // "dd/mm/yy hh:mm:ss", local time
};

// The photos of the folder in no particular order; none for an empty, absent or unreadable
// folder (no error: the page then shows an empty list). Sub-folders are never listed, whatever
// their name.
std::vector<LocalPhoto> ListLocalPhotos(const std::filesystem::path& folder);

// How the local list sorts: name as text, modification time as date and time.
inline const std::vector<ColumnSortType> kLocalPhotoColumns = {ColumnSortType::Text,
                                                               ColumnSortType::DateTime};

}  // namespace tarmel::photos
