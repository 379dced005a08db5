// Photo names, link statements and the upload form.
#include "photos/photolinks.h"

#include <cctype>

namespace tarmel::photos {

namespace {

std::string Padded(const std::string& digits, size_t width) {
    return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

// Names come from the program, not the user; a quote is doubled all the same.
std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string PhotoName(const std::string& dealership, const std::string& idVO, int number) {
    return dealership.substr(0, 1) + Padded(idVO, 7) + "-" + Padded(std::to_string(number), 2);
}

std::string MiniatureName(const std::string& photoFile) {
    std::string out;
    for (size_t i = 0; i < photoFile.size();) {
        std::string four = photoFile.substr(i, 4);
        for (char& c : four) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (four == ".jpg") {
            out += "m.jpg";
            i += 4;
        } else {
            out += photoFile[i++];
        }
    }
    return out;
}

std::string LinkStatement(const std::string& idVO, int number, const std::string& name,
                          const std::string& date) {
    return "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage)"
           " VALUES (:NewID, " +
           idVO + ", " + std::to_string(number) + ", " + Quoted(name) + ", " + Quoted(date) + ")";
}

std::string DefaultPhotoStatement(const std::string& idVO, const std::string& name) {
    return "Update tVehicles set NomImage=" + (name.empty() ? std::string("NULL") : Quoted(name)) +
           " where idVO=" + idVO;
}

std::string DeletePhotoStatement(const std::string& idVO, const std::string& name) {
    return "Delete * From [tVO - Liens Images] where idVO=" + idVO +
           " and NomImage=" + Quoted(name);
}

std::string NextDefaultPhoto(const std::vector<std::string>& listed, const std::string& name) {
    for (const std::string& photo : listed)
        if (photo != name) return photo;
    return {};
}

MultipartForm LinkForm(const std::string& photoFile, const std::string& photoBytes,
                       const std::string& miniatureFile, const std::string& miniatureBytes,
                       const std::string& statement) {
    // The server reads the parts in this order: each file follows the field naming it.
    MultipartForm form;
    form.fields = {{"NFImage", photoFile},
                   {"XMLC_OutputFormat", "XML"},
                   {"SQLExecute", statement},
                   {"MAX_FILE_SIZE", "4096000"},
                   {"NFImageMini", miniatureFile}};
    form.files = {{"File", photoFile, "file", photoBytes, 4},
                  {"File", miniatureFile, "file", miniatureBytes, 5}};
    return form;
}

}  // namespace tarmel::photos
