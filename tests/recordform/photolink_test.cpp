// Linking a local photo to a demo used vehicle in the real window, against the real data server
// and a real FTP server rooted where the data server serves its photos: the files made and
// uploaded, the link row, the default photo, the blur editor left without saving, the deletion.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/controls.h"
#include "photos/jpegfile.h"
#include "photos/window/frmblur.h"
#include "tests/recordform/recordfixture.h"
#include "tests/support/ftpserverprocess.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;
namespace fs = std::filesystem;

class PhotoLink : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        ftp_ = std::make_unique<testsupport::FtpServerProcess>(server_->ftpRoot());
        UsePhotoFolder(*ftp_);
    }
    // The first used vehicle of LYO, its photos unlinked, on its photo page with the local photo
    // selected.
    static std::string VehicleWithoutPhotos() {
        const std::string id =
            Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
        const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + id);
        Exec("DELETE FROM [tVO - Liens Images] WHERE idVO = " + idVO +
             "; UPDATE tVehicles SET NomImage = NULL WHERE idVO = " + idVO);
        return id;
    }
    void OpenVehicleWithoutPhotos(const std::string& id = VehicleWithoutPhotos()) {
        ASSERT_FALSE(id.empty());
        idTVO_ = id;
        idVO_ = Sql("select idVO from tVehicles where idTVO=" + id);
        OpenVehicle(id, kSuperAdmin, 1);
        w().show();
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(5);
        ASSERT_EQ(linked().topLevelItemCount(), 0);
        auto* local = w().Ctl<ui::ListView>(QStringLiteral("cListImageSource"));
        ASSERT_EQ(local->topLevelItemCount(), 1);
        local->setCurrentItem(local->topLevelItem(0));
    }
    ui::ListView& linked() { return *w().Ctl<ui::ListView>(QStringLiteral("cListImageVO")); }
    std::string Links() {
        return Sql("select count(*) from [tVO - Liens Images] where idVO=" + idVO_);
    }
    std::string Uploaded(const std::string& file) {
        return (fs::path(server_->ftpRoot()) / "www/voimages" / file).string();
    }
    static QSize SizeOf(const std::string& path) {
        photos::Bitmap picture;
        if (photos::ReadJpegFile(path, picture)) return {};
        return {picture.width, picture.height};
    }
    // Presses the named button of the blur editor as soon as it is shown.
    void AnswerBlurEditor(const char* button) {
        QTimer::singleShot(0, [button] {
            auto* editor = qobject_cast<photos::TFrmBlur*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            editor->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
        });
    }
    std::unique_ptr<testsupport::FtpServerProcess> ftp_;
    std::string idTVO_, idVO_;
};

TEST_F(PhotoLink, TheFirstPhotoIsMadeUploadedLinkedAndMadeTheDefault) {
    OpenVehicleWithoutPhotos();
    Click("czCmdAssociateImage");
    const std::string name = "L" + std::string(7 - idVO_.size(), '0') + idVO_ + "-01";
    ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0];
    EXPECT_EQ(SizeOf(dir_.file(name + ".jpg")), QSize(640, 480));
    EXPECT_EQ(SizeOf(dir_.file(name + "m.jpg")), QSize(120, 90));
    EXPECT_EQ(SizeOf(Uploaded(name + ".jpg")), QSize(640, 480));
    EXPECT_EQ(SizeOf(Uploaded(name + "m.jpg")), QSize(120, 90));
    const std::string log = ftp_->log();
    EXPECT_NE(log.find("STOR " + name + ".jpg"), std::string::npos) << log;
    EXPECT_NE(log.find("STOR " + name + "m.jpg"), std::string::npos) << log;
    EXPECT_EQ(
        Sql("select NumImage || ' ' || NomImage from [tVO - Liens Images] where idVO=" + idVO_),
        "1 " + name);
    EXPECT_EQ(Sql("select NomImage from tVehicles where idVO=" + idVO_), name);
    ASSERT_EQ(linked().topLevelItemCount(), 1) << "reloaded from the server";
    EXPECT_EQ(L(linked().topLevelItem(0)->text(0)), name);
    EXPECT_EQ(linked().topLevelItem(0)->text(2), QStringLiteral("***"));
    const QString memo = w().Text(QStringLiteral("Memo"));
    EXPECT_TRUE(memo.startsWith(QStringLiteral("Réduction & Transferts de : "))) << L(memo);
    EXPECT_TRUE(memo.endsWith(QStringLiteral("...Transfert Terminé."))) << L(memo);

    // The only photo deleted: the vehicle has no default photo any more.
    linked().setCurrentItem(linked().topLevelItem(0));
    Click("czCmdDeleteImageVO");
    EXPECT_EQ(Links(), "0");
    EXPECT_EQ(Sql("select ifnull(NomImage, 'NULL') from tVehicles where idVO=" + idVO_), "NULL");
    EXPECT_EQ(linked().topLevelItemCount(), 0);
}

TEST_F(PhotoLink, LongNumbersAreNeitherPaddedNorCut) {
    const std::string id = VehicleWithoutPhotos();
    Exec("UPDATE tVehicles SET idVO = 12345678 WHERE idTVO = " + id);
    OpenVehicleWithoutPhotos(id);
    ASSERT_EQ(idVO_, "12345678");
    w().Record.MaxImageNumber = 122;
    Click("czCmdAssociateImage");
    EXPECT_EQ(
        Sql("select NumImage || ' ' || NomImage from [tVO - Liens Images] where idVO=" + idVO_),
        "123 L12345678-123");
    EXPECT_EQ(SizeOf(Uploaded("L12345678-123m.jpg")), QSize(120, 90));
    EXPECT_EQ(Sql("select NomImage from tVehicles where idVO=" + idVO_), "L12345678-123")
        << "the vehicle's only photo is its default";
}

TEST_F(PhotoLink, TheBlurEditorDecidesWhetherAnythingIsPublished) {
    OpenVehicleWithoutPhotos();
    const std::string name = "L" + std::string(7 - idVO_.size(), '0') + idVO_;
    AnswerBlurEditor("BtnQuit");
    Click("czCmdAssociateImageBlur");
    EXPECT_EQ(Links(), "0") << "left without saving: nothing linked";
    EXPECT_EQ(ftp_->log().find("STOR"), std::string::npos) << "nor uploaded";
    EXPECT_TRUE(fs::exists(dir_.file(name + "-01.jpg"))) << "the unblurred reduction stays";

    AnswerBlurEditor("BtnSave");
    Click("czCmdAssociateImageBlur");
    EXPECT_EQ(Sql("select NomImage from [tVO - Liens Images] where idVO=" + idVO_), name + "-02")
        << "the first number was used up by the attempt left";
    EXPECT_EQ(SizeOf(Uploaded(name + "-02.jpg")), QSize(640, 480));
    EXPECT_EQ(Sql("select NomImage from tVehicles where idVO=" + idVO_), name + "-02")
        << "the vehicle's only photo is its default";
}

TEST_F(PhotoLink, AnotherPhotoMadeTheDefaultAndTheDefaultDeleted) {
    OpenVehicleWithoutPhotos();
    Click("czCmdAssociateImage");
    auto* local = w().Ctl<ui::ListView>(QStringLiteral("cListImageSource"));
    local->setCurrentItem(local->topLevelItem(0));
    Click("czCmdAssociateImage");
    ASSERT_EQ(Links(), "2");
    const std::string first = "L" + std::string(7 - idVO_.size(), '0') + idVO_ + "-01";
    const std::string second = first.substr(0, first.size() - 1) + "2";
    auto select = [this](const std::string& name) {
        for (int i = 0; i < linked().topLevelItemCount(); ++i)
            if (L(linked().topLevelItem(i)->text(0)) == name)
                linked().setCurrentItem(linked().topLevelItem(i));
    };
    auto byDefault = [this] { return Sql("select NomImage from tVehicles where idVO=" + idVO_); };
    EXPECT_EQ(byDefault(), first);
    select(second);
    Click("czCmdDefaultImageVO");
    EXPECT_EQ(byDefault(), second);
    select(second);
    Click("czCmdDeleteImageVO");
    EXPECT_EQ(Links(), "1");
    EXPECT_EQ(byDefault(), first) << "the other photo becomes the default";
    ASSERT_EQ(linked().topLevelItemCount(), 1);
    EXPECT_EQ(linked().topLevelItem(0)->text(2), QStringLiteral("***"));
}

TEST_F(PhotoLink, ARefusedLoginLinksNothingAndSaysWhy) {
    SettingsFile(w().Host.IniFileName).SetTagRegistry("PhotoFtpPassword", "mauvais");
    OpenVehicleWithoutPhotos();
    Click("czCmdAssociateImage");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], "Photo: Le serveur de photos a refus\xE9 l'identification.");
    EXPECT_EQ(Links(), "0");
    EXPECT_EQ(linked().topLevelItemCount(), 0);
}

}  // namespace
}  // namespace tarmel
