// The photos linked to a vehicle: names, statements, the next default, the upload form.
#include "photos/photolinks.h"

#include <gtest/gtest.h>

namespace tarmel::photos {
namespace {

TEST(PhotoLinks, NamesArePaddedNotCut) {
    const struct {
        const char* dealership;
        const char* idVO;
        int number;
        const char* name;
    } cases[] = {
        {"B12", "4711", 3, "B0004711-03"},
        {"LYO", "12345678", 1, "L12345678-01"},
        {"LYO", "1002", 123, "L0001002-123"},
    };
    for (const auto& c : cases) EXPECT_EQ(PhotoName(c.dealership, c.idVO, c.number), c.name);
    const std::pair<const char*, const char*> miniatures[] = {
        {"B0004711-03.jpg", "B0004711-03m.jpg"},
        {"B0004711-03.JPG", "B0004711-03m.jpg"},
        {"a.jpg.Jpg", "am.jpgm.jpg"},
        {"sans-extension", "sans-extension"},
    };
    for (const auto& [file, miniature] : miniatures) EXPECT_EQ(MiniatureName(file), miniature);
}

TEST(PhotoLinks, StatementsAndTheNextDefault) {
    EXPECT_EQ(LinkStatement("4711", 1, "B0004711-01", "2026-12-10 20:30:00"),
              "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) "
              "VALUES (:NewID, 4711, 1, 'B0004711-01', '2026-12-10 20:30:00')");
    EXPECT_EQ(DefaultPhotoStatement("4711", "B0004711-02"),
              "Update tVehicles set NomImage='B0004711-02' where idVO=4711");
    EXPECT_EQ(DefaultPhotoStatement("4711", ""),
              "Update tVehicles set NomImage=NULL where idVO=4711");
    EXPECT_EQ(DeletePhotoStatement("4711", "B0004711-02"),
              "Delete * From [tVO - Liens Images] where idVO=4711 and NomImage='B0004711-02'");
    EXPECT_EQ(NextDefaultPhoto({"a", "b", "c"}, "a"), "b");
    EXPECT_EQ(NextDefaultPhoto({"a", "b"}, "b"), "a");
    EXPECT_EQ(NextDefaultPhoto({"a"}, "a"), "");
}

TEST(PhotoLinks, TheFormCarriesEachFileAfterItsName) {
    const MultipartForm form = LinkForm("p.jpg", "P", "pm.jpg", "M", "INSERT ...");
    // The wire order: the text fields with each file part at its place among them.
    std::vector<std::string> wire;
    for (size_t i = 0; i <= form.fields.size(); ++i) {
        for (const auto& file : form.files)
            if (std::min(file.afterFields, form.fields.size()) == i)
                wire.push_back(file.fieldName + "=" + file.fileName + ":" + file.contentType);
        if (i < form.fields.size())
            wire.push_back(form.fields[i].name + "=" + form.fields[i].value);
    }
    EXPECT_EQ(wire, (std::vector<std::string>{"NFImage=p.jpg", "XMLC_OutputFormat=XML",
                                              "SQLExecute=INSERT ...", "MAX_FILE_SIZE=4096000",
                                              "File=p.jpg:file", "NFImageMini=pm.jpg",
                                              "File=pm.jpg:file"}));
}

}  // namespace
}  // namespace tarmel::photos
