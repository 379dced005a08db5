// The photo page's local side and previews: the folder's photos listed newest first and sorted by
// a header click, the folder dialog and the refresh, the preview of a local file and of a photo
// already linked to the vehicle (downloaded from the image address).
#include <QApplication>
#include <QHeaderView>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"
#include "photos/localphotos.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr const char* kLocalList = "cListImageSource";
constexpr const char* kLinkedList = "cListImageVO";

// What a preview shows when there is nothing to show, or nothing could be read.
QPixmap NoPhotoPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(QColor(236, 236, 236));
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(170, 170, 170), 2));
    painter.drawRect(picture.rect().adjusted(1, 1, -2, -2));
    painter.setPen(QColor(120, 120, 120));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Pas de photo"));
    return picture;
}

std::vector<std::string> RowTexts(const QTreeWidgetItem& item) {
    std::vector<std::string> texts;
    for (int c = 0; c < item.columnCount(); ++c) texts.push_back(item.text(c).toStdString());
    return texts;
}

void SetColumns(ui::ListView& view, const QStringList& captions, const std::vector<int>& widths) {
    view.setHeaderLabels(captions);
    for (size_t c = 0; c < widths.size(); ++c) view.setColumnWidth(int(c), widths[c]);
    view.header()->setVisible(true);
}

}  // namespace

void TAxTarmel::ShowNoPhoto(const char* image) {
    auto* box = Ctl<ui::ImageBox>(QString::fromLatin1(image));
    auto* none = Ctl<ui::ImageBox>(QStringLiteral("ImageNoPhoto"));
    if (box == nullptr || none == nullptr) return;
    if (none->picture().isNull()) none->setPicture(NoPhotoPicture(none->size()));
    box->setPicture(none->picture());
}

void TAxTarmel::LoadInfoCliche() {
    auto* local = Ctl<ui::ListView>(QString::fromLatin1(kLocalList));
    auto* linked = Ctl<ui::ListView>(QString::fromLatin1(kLinkedList));
    if (local == nullptr || linked == nullptr || local->columnCount() == 2) return;
    // The local list is ordered by its own sorter; the header only shows the order.
    local->setSortingEnabled(false);
    local->header()->setSectionsClickable(true);
    SetColumns(*local, {QStringLiteral("Nom du Cliché"), QStringLiteral("Date")}, {125, 125});
    SetColumns(*linked,
               {QStringLiteral("Nom du Cliché"), QStringLiteral("Date"), QStringLiteral("***")},
               {110, 125, 40});
    ShowListeImages(Q(SettingsFile(Host.IniFileName).ReadProfileString("Options", "PathImages")));
}

void TAxTarmel::ShowListeImages(const QString& folder) {
    Photos.PhotoFolder = folder;
    SetText(QStringLiteral("cTxtPathImage"), folder);
    ShowNoPhoto("ImageSelection");
    ApplyPlan(ControlPlan()
                  .Enable("czCmdAssociateImage", false)
                  .Enable("czCmdAssociateImageBlur", false));
    auto* local = Ctl<ui::ListView>(QString::fromLatin1(kLocalList));
    if (local == nullptr) return;
    {
        const QSignalBlocker quiet(local);  // a refill selects nothing
        local->clear();
        const std::vector<photos::LocalPhoto> found =
            photos::ListLocalPhotos(folder.isEmpty() ? std::string() : folder.toStdString());
        for (const photos::LocalPhoto& photo : found) {
            auto* row = new ui::ListViewItem(local);
            row->setText(0, QString::fromStdString(photo.name));
            row->setText(1, QString::fromStdString(photo.modified));
        }
        if (found.empty()) return;
    }
    // Newest first.
    Photos.LocalSort = photos::ListViewSort{photos::kLocalPhotoColumns, 1, true};
    ResortLocalPhotos();
}

void TAxTarmel::ResortLocalPhotos() {
    auto* local = Ctl<ui::ListView>(QString::fromLatin1(kLocalList));
    const photos::ListViewSort& sort = Photos.LocalSort;
    if (local == nullptr || sort.sortedColumn < 0 || sort.sortedColumn >= local->columnCount())
        return;
    const QSignalBlocker quiet(local);
    QTreeWidgetItem* current = local->currentItem();
    // Each row's texts read once, not at every comparison.
    std::vector<std::pair<photos::ListRow, QTreeWidgetItem*>> rows;
    while (local->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = local->takeTopLevelItem(0);
        rows.emplace_back(RowTexts(*item), item);
    }
    std::stable_sort(rows.begin(), rows.end(), [&sort](const auto& a, const auto& b) {
        return sort.before(a.first, b.first);
    });
    for (const auto& row : rows) local->addTopLevelItem(row.second);
    if (current != nullptr) local->setCurrentItem(current);
    local->header()->setSortIndicatorShown(true);
    local->header()->setSortIndicator(sort.sortedColumn,
                                      sort.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TAxTarmel::cListImageSourceColumnClick(ui::EventArgs& click) {
    Photos.LocalSort.columnClicked(click.column);
    ResortLocalPhotos();
}

void TAxTarmel::czCmdSelPathListImageClick() {
    const QString folder = dialogs().BrowseForFolder(
        QStringLiteral("Sélection du répertoire des Clichés"), Photos.PhotoFolder, false);
    if (folder.isEmpty()) return;
    ShowListeImages(folder);
    SettingsFile(Host.IniFileName).WriteProfileString("Options", "PathImages", L(folder));
}

void TAxTarmel::czCmdRefreshListImageClick() {
    // A folder typed in the edit is listed, not remembered.
    ShowListeImages(Text(QStringLiteral("cTxtPathImage")));
    const int highest = Record.MaxImageNumber;
    GetDataImages();
    Record.MaxImageNumber = highest;
}

void TAxTarmel::cListImageSourceSelectItem() {
    auto* local = Ctl<ui::ListView>(QString::fromLatin1(kLocalList));
    auto* preview = Ctl<ui::ImageBox>(QStringLiteral("ImageSelection"));
    if (local == nullptr || preview == nullptr || local->selectedItems().isEmpty()) return;
    const QString name = local->selectedItems().first()->text(0);
    QImageReader reader(Photos.PhotoFolder + u'/' + name);
    reader.setAutoTransform(true);  // an upright phone photo is shown upright
    // Decoded at the preview's size: a full-size photo would take far longer for nothing.
    const QSize full = reader.size();
    if (full.isValid()) reader.setScaledSize(full.scaled(preview->size(), Qt::KeepAspectRatio));
    const QImage image = reader.read();
    const bool read = !image.isNull();
    if (read) {
        preview->setPicture(QPixmap::fromImage(image));
    } else {
        ShowNoPhoto("ImageSelection");
        dialogs().Message(Dialogs::Kind::Error, QStringLiteral("Photo"),
                          QStringLiteral("Impossible de lire l'image « %1 » : %2")
                              .arg(name, reader.errorString()));
    }
    ApplyPlan(
        ControlPlan().Enable("czCmdAssociateImage", read).Enable("czCmdAssociateImageBlur", read));
}

void TAxTarmel::cListImageVOSelectItem() {
    auto* linked = Ctl<ui::ListView>(QString::fromLatin1(kLinkedList));
    if (linked == nullptr || linked->selectedItems().isEmpty()) return;
    const QString name = linked->selectedItems().first()->text(0);
    if (name.isEmpty()) {
        ShowNoPhoto("ImageVO");
        ShowNoPhoto("ImageMini");
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Both previews show the full-size photo.
    const std::string address = Host.URLImages + L(name) + ".jpg";
    DownloadPicture("ImageVO", address);
    DownloadPicture("ImageMini", address);
    QApplication::restoreOverrideCursor();
}

void TAxTarmel::DownloadPicture(const char* image, const std::string& address) {
    auto* box = Ctl<ui::ImageBox>(QString::fromLatin1(image));
    if (box == nullptr) return;
    const HttpResponse answer = Server.IdHTTP2.Get(address);
    QPixmap picture;
    if (answer.ok) {
        picture.loadFromData(reinterpret_cast<const uchar*>(answer.body.data()),
                             uint(answer.body.size()), "JPG");
    }
    if (picture.isNull()) return ShowNoPhoto(image);
    box->setPicture(picture);
}

}  // namespace tarmel
