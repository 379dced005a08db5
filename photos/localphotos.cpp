// Listing the JPEG files of a local folder.
#include "photos/localphotos.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace tarmel::photos {

namespace {

bool IsJpegName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".jpg";
}

std::string ModifiedText(const std::filesystem::file_time_type& time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%y %H:%M:%S", &local);
    return text;
}

}  // namespace

std::vector<LocalPhoto> ListLocalPhotos(const std::filesystem::path& folder) {
    std::vector<LocalPhoto> photos;
    std::error_code error;
    if (folder.empty()) return photos;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code entryError;
        if (!IsJpegName(name) || it->is_directory(entryError)) continue;
        const auto time = it->last_write_time(entryError);
        if (entryError) continue;
        photos.push_back({name, ModifiedText(time)});
    }
    return photos;
}

}  // namespace tarmel::photos
