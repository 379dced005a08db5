// The photo page of a demo used vehicle in the real window against the real data server: the
// local folder listed newest first and sorted by its headers, the folder dialog, the local
// preview, and the linked photo's previews downloaded from the image address.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTabWidget>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/controls.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;
namespace fs = std::filesystem;

class PhotoFolder : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        folder_ = dir_.file("Clichés");
        fs::create_directories(folder_);
        // Listed by date: 02/03/10 18:00, 02/03/10 09:00, 01/03/10 10:00.
        Photo("b.jpg", 1, 10);
        Photo("c.jpg", 2, 9);
        Photo("a.jpg", 2, 18);
        fs::create_directories(fs::path(folder_) / "x.jpg");
        w().Host.IniFileName = dir_.file("tarmel.ini");
    }
    void Photo(const char* name, int day, int hour) {
        QImage picture(64, 48, QImage::Format_RGB888);
        picture.fill(QColor(20 * day, 10 * hour, 90));
        const fs::path file = fs::path(folder_) / name;
        ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "JPG"));
        const std::chrono::sys_seconds when =
            std::chrono::sys_days{std::chrono::year{2010} / 3 / day} + std::chrono::hours{hour};
        fs::last_write_time(file, fs::file_time_type::clock::from_sys(when));
    }
    // The used vehicle of LYO with linked photos, on its photo page.
    void OpenPhotos() {
        const std::string id =
            Sql("select idTVO from tVehicles v where TypeVO=1 and Concession='LYO' and exists "
                "(select 1 from [tVO - Liens Images] i where i.idVO=v.idVO) order by idTVO");
        ASSERT_FALSE(id.empty());
        OpenVehicle(id, kSuperAdmin, 1);
        w().show();
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(5);
    }
    ui::ListView& local() { return *w().Ctl<ui::ListView>(QStringLiteral("cListImageSource")); }
    ui::ImageBox& image(const char* name) {
        return *w().Ctl<ui::ImageBox>(QString::fromLatin1(name));
    }
    std::string Names() {
        std::string names;
        for (int i = 0; i < local().topLevelItemCount(); ++i)
            names += L(local().topLevelItem(i)->text(0)).substr(0, 1);
        return names;
    }
    bool Associable() {
        return w().Control(QStringLiteral("czCmdAssociateImage"))->isEnabled() &&
               w().Control(QStringLiteral("czCmdAssociateImageBlur"))->isEnabled();
    }
    // The settings file holds Latin-1, as the window writes it.
    void Remember(const std::string& folder) {
        SettingsFile(dir_.file("tarmel.ini"))
            .WriteProfileString("Options", "PathImages", L(QString::fromStdString(folder)));
    }
    std::string Remembered() {
        return SettingsFile(w().Host.IniFileName).ReadProfileString("Options", "PathImages");
    }
    std::string folder_;
};

TEST_F(PhotoFolder, TheRememberedFolderIsListedNewestFirstAndSortedByItsHeaders) {
    Remember(folder_);
    OpenPhotos();
    ASSERT_EQ(local().columnCount(), 2);
    EXPECT_EQ(local().headerItem()->text(0), QStringLiteral("Nom du Cliché"));
    ASSERT_EQ(Names(), "acb") << "newest first; the folder named x.jpg is not listed";
    EXPECT_EQ(L(local().topLevelItem(0)->text(1)), "02/03/10 18:00:00");
    EXPECT_EQ(w().Text(QStringLiteral("cTxtPathImage")), QString::fromStdString(folder_));
    EXPECT_FALSE(Associable());

    const std::pair<int, const char*> clicks[] = {{0, "abc"}, {0, "cba"}, {1, "bca"}};
    for (const auto& [column, order] : clicks) {
        emit local().header()->sectionClicked(column);
        EXPECT_EQ(Names(), order) << "click on column " << column;
    }
}

TEST_F(PhotoFolder, TheFolderDialogListsAndRemembersTheFolderChosen) {
    OpenPhotos();
    EXPECT_EQ(local().topLevelItemCount(), 0) << "no folder remembered yet";
    dialogs_.folder.clear();
    Click("czCmdSelPathListImage");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], "S\xE9lection du r\xE9pertoire des Clich\xE9s: ");
    EXPECT_EQ(local().topLevelItemCount(), 0) << "cancelled: nothing changes";
    EXPECT_EQ(Remembered(), "");

    dialogs_.folder = QString::fromStdString(folder_);
    Click("czCmdSelPathListImage");
    EXPECT_EQ(Names(), "acb");
    EXPECT_EQ(Remembered(), L(QString::fromStdString(folder_)));

    // A folder typed in the edit is listed by the refresh, not remembered.
    const std::string other = dir_.file("autres");
    fs::create_directories(other);
    fs::copy_file(fs::path(folder_) / "c.jpg", fs::path(other) / "z.jpg");
    w().SetText(QStringLiteral("cTxtPathImage"), QString::fromStdString(other));
    Click("czCmdRefreshListImage");
    EXPECT_EQ(Names(), "z");
    EXPECT_EQ(Remembered(), L(QString::fromStdString(folder_)));
}

TEST_F(PhotoFolder, ALocalPhotoIsPreviewedAndABrokenOneRefused) {
    std::ofstream(fs::path(folder_) / "broken.jpg") << "not a picture";
    Remember(folder_);
    OpenPhotos();
    auto select = [this](const char* name) {
        for (int i = 0; i < local().topLevelItemCount(); ++i)
            if (local().topLevelItem(i)->text(0) == QLatin1String(name))
                local().setCurrentItem(local().topLevelItem(i));
    };
    select("a.jpg");
    EXPECT_EQ(image("ImageSelection").picture().toImage().pixelColor(5, 5).blue() > 60, true);
    EXPECT_TRUE(Associable());
    EXPECT_TRUE(dialogs_.messages.empty());

    select("broken.jpg");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(
        dialogs_.messages[0].rfind("Photo: Impossible de lire l'image \xAB broken.jpg \xBB", 0), 0u)
        << dialogs_.messages[0];
    EXPECT_FALSE(Associable());
    EXPECT_EQ(image("ImageSelection").picture().size(), image("ImageNoPhoto").size());
}

TEST_F(PhotoFolder, TheLinkedPhotoIsDownloadedAndAMissingOneShowsNoPhoto) {
    OpenPhotos();
    auto* linked = w().Ctl<ui::ListView>(QStringLiteral("cListImageVO"));
    ASSERT_GT(linked->topLevelItemCount(), 0);
    EXPECT_EQ(linked->columnCount(), 3);
    EXPECT_EQ(linked->headerItem()->text(2), QStringLiteral("***"));
    linked->setCurrentItem(linked->topLevelItem(0));
    EXPECT_EQ(image("ImageVO").picture().size(), QSize(640, 480)) << "the full-size photo";
    EXPECT_EQ(image("ImageMini").picture().size(), QSize(640, 480));

    linked->clearSelection();
    linked->topLevelItem(0)->setText(0, QStringLiteral("absente"));
    linked->setCurrentItem(linked->topLevelItem(0));
    EXPECT_EQ(image("ImageVO").picture().size(), image("ImageNoPhoto").size());
    EXPECT_EQ(image("ImageMini").picture().size(), image("ImageNoPhoto").size());
}

}  // namespace
}  // namespace tarmel
