// Linking a local photo to the vehicle: the photo and its miniature made (the plate blurred
// first when asked), uploaded to the photo server, linked on the data server; the first photo
// becomes the default; another photo made the default, or a link deleted.
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "photos/ftpupload.h"
#include "photos/jpegfile.h"
#include "photos/photolinks.h"
#include "photos/reduction.h"
#include "photos/window/bitmapimage.h"
#include "photos/window/frmblur.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr const char* kLinkedList = "cListImageVO";

// The hourglass for the length of an operation, whichever way it ends.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ListedPhotos(const QTreeWidget& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        names.push_back(L(list.topLevelItem(i)->text(0)));
    return names;
}

}  // namespace

void TAxTarmel::czCmdAssociateImageClick() {
    ProcAssociateImage(false);
}
void TAxTarmel::czCmdAssociateImageBlurClick() {
    ProcAssociateImage(true);
}

void TAxTarmel::AddPhotoLine(const QString& line) {
    if (auto* memo = Ctl<ui::Memo>(QStringLiteral("Memo"))) memo->appendPlainText(line);
}

std::string TAxTarmel::UploadPhotoFiles(const std::vector<std::string>& files) {
    // Where the photos go, and as whom, is the dealership's configuration, never the program's.
    const SettingsFile settings(Host.IniFileName);
    const photos::FtpSettingsResult where = photos::FtpSettingsFrom(
        {settings.GetTagRegistry("PhotoFtpServer"), settings.GetTagRegistry("PhotoFtpUser"),
         settings.GetTagRegistry("PhotoFtpPassword"), settings.GetTagRegistry("PhotoFtpGateway"),
         Host.ProxySetting});
    if (!where.ok) return where.error;
    // The transfer runs beside the window, which keeps painting (its keys and clicks wait).
    auto transfer = std::async(std::launch::async, [&where, &files] {
        return photos::UploadPhotos(where.settings, files);
    });
    while (transfer.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const photos::FtpUploadResult sent = transfer.get();
    if (sent.filesSent >= 1) AddPhotoLine(QStringLiteral("..."));
    if (sent.ok) return {};
    TraceLog(QStringLiteral("Transfert FTP : ") + QString::fromStdString(sent.detail));
    return sent.error;
}

bool TAxTarmel::ReductionJPG(const QString& source, const std::string& target, bool transfer) {
    if (auto* memo = Ctl<ui::Memo>(QStringLiteral("Memo"))) memo->clear();
    const QString shown = source.isEmpty() ? QStringLiteral("\"image floutée\"") : source;
    AddPhotoLine(QStringLiteral("Réduction & Transferts de : ") + shown +
                 QStringLiteral(" vers : ") + Q(target));
    AddPhotoLine(QStringLiteral("Lecture de : ") + shown);
    auto fail = [this](const std::string& error) {
        dialogs().Message(Dialogs::Kind::Error, QStringLiteral("Photo"),
                          QString::fromStdString(error));
        return false;
    };
    photos::Bitmap full;
    if (source.isEmpty()) {
        if (Photos.BlurForm == nullptr) return fail("Aucune image floutée à transférer.");
        full = Photos.BlurForm->picture();
    } else if (auto error = photos::ReadJpegFile(source.toStdString(), full)) {
        return fail(*error);
    }
    const photos::ReducedPhoto reduced = photos::ReducePhoto(full);
    if (!reduced.error.empty()) return fail(reduced.error);
    if (auto* shownPhoto = Ctl<ui::ImageBox>(QStringLiteral("VOImage")))
        shownPhoto->setPicture(QPixmap::fromImage(photos::ToQImage(reduced.photo)));
    const std::string miniature = photos::MiniatureName(target);
    const std::string folder = Host.WorkDir + "/";
    if (auto error = photos::WriteJpegFile(folder + target, reduced.photo, photos::kJpegQuality))
        return fail(*error);
    if (auto error =
            photos::WriteJpegFile(folder + miniature, reduced.miniature, photos::kJpegQuality))
        return fail(*error);
    if (!transfer) return true;
    const std::string refused = UploadPhotoFiles({folder + target, folder + miniature});
    if (!refused.empty()) return fail(refused);
    AddPhotoLine(QStringLiteral("...Transfert Terminé."));
    return true;
}

void TAxTarmel::ProcAssociateImage(bool blur) {
    ++Record.MaxImageNumber;  // used up even when the link fails
    const std::string idVO = GetIdVO(true);
    auto* local = Ctl<ui::ListView>(QStringLiteral("cListImageSource"));
    auto* linked = Ctl<ui::ListView>(QString::fromLatin1(kLinkedList));
    if (idVO.empty() || local == nullptr || linked == nullptr || local->selectedItems().isEmpty())
        return;
    // The reload that follows the first photo would drop the record's pending edits.
    if (Control(QStringLiteral("JvXPBtnSave"))->isEnabled() && !SaveChanges()) return;
    const std::string name = photos::PhotoName(Host.UserConcession, idVO, Record.MaxImageNumber);
    const std::string photoFile = name + ".jpg";
    const QDateTime now = QDateTime::currentDateTime();
    const BusyCursor busy;
    const QString source = Photos.PhotoFolder + u'/' + local->selectedItems().first()->text(0);
    if (!ReductionJPG(source, photoFile, !blur)) return;
    if (blur) {
        photos::TFrmBlur editor(this);
        editor.setWindowTitle(
            QStringLiteral("Formulaire de Floutage pour la plaque minéralogique du ") +
            Control(QStringLiteral("JvXPBtnNewVO"))->property("text").toString() +
            QStringLiteral(" N°") + Text(QStringLiteral("xcInfoNVO")));
        photos::Bitmap reduced;
        if (auto error = photos::ReadJpegFile(Host.WorkDir + "/" + photoFile, reduced)) {
            dialogs().Message(Dialogs::Kind::Error, QStringLiteral("Photo"),
                              QString::fromStdString(*error));
            return;
        }
        editor.setPicture(reduced);
        QApplication::restoreOverrideCursor();  // the editor is worked with the normal cursor
        editor.exec();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!editor.saved()) return;
        Photos.BlurForm = &editor;
        const bool made = ReductionJPG(QString(), photoFile, true);
        Photos.BlurForm = nullptr;
        if (!made) return;
    }

    const std::string statement = photos::LinkStatement(
        idVO, Record.MaxImageNumber, name, L(now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
    const std::string miniatureFile = photos::MiniatureName(photoFile);
    Server.HttpPost(
        "AxInsert", Host.WorkDir + "/XmlAXInsert.xml",
        photos::LinkForm(photoFile, FileBytes(Host.WorkDir + "/" + photoFile), miniatureFile,
                         FileBytes(Host.WorkDir + "/" + miniatureFile), statement));
    if (!Text(QStringLiteral("LbDebugInfo0")).isEmpty()) return;
    auto* row = new ui::ListViewItem(linked);
    row->setText(0, Q(name));
    row->setText(1, now.toString(QStringLiteral("dd/MM/yy hh:mm:ss")));
    if (linked->topLevelItemCount() == 1) Record.MaxImageNumber = 1;
    if (Record.MaxImageNumber != 1) return;
    // The vehicle's first photo is its default one.
    row->setText(2, QStringLiteral("***"));
    const std::string byDefault = photos::DefaultPhotoStatement(idVO, name);
    SetText(QStringLiteral("LbDebugInfo2"), Q(byDefault));
    if (SendStatement("AxUpdate", byDefault, "/XmlAXUpdate.xml")) UpdateView(false);
}

bool TAxTarmel::SetDefaultImageVO(const std::string& name) {
    const std::string idVO = GetIdVO(true);
    if (idVO.empty()) return false;
    const std::string statement = photos::DefaultPhotoStatement(idVO, name);
    SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
    return SendStatement("AxUpdate", statement, "/XmlAXUpdate.xml");
}

void TAxTarmel::czCmdDefaultImageVOClick() {
    auto* linked = Ctl<ui::ListView>(QString::fromLatin1(kLinkedList));
    if (linked == nullptr || linked->selectedItems().isEmpty()) return;
    if (SetDefaultImageVO(L(linked->selectedItems().first()->text(0)))) UpdateView(false);
}

void TAxTarmel::czCmdDeleteImageVOClick() {
    auto* linked = Ctl<ui::ListView>(QString::fromLatin1(kLinkedList));
    if (linked == nullptr || linked->selectedItems().isEmpty()) return;
    const std::string idVO = GetIdVO(true);
    if (idVO.empty()) return;
    const QTreeWidgetItem* selected = linked->selectedItems().first();
    const std::string name = L(selected->text(0));
    // The list marks the vehicle's default photo, whatever page of the record shows its name.
    const bool wasDefault = selected->text(2) == QLatin1String("***");
    const std::string statement = photos::DeletePhotoStatement(idVO, name);
    SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
    bool done = SendStatement("AxUpdate", statement, "/XmlAXDelete.xml");
    if (done && wasDefault)
        done = SetDefaultImageVO(photos::NextDefaultPhoto(ListedPhotos(*linked), name));
    if (done) UpdateView(false);
}

}  // namespace tarmel
