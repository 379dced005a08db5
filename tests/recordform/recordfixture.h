// The real main window offscreen against the real data server on a fresh demo database (one per
// test program): open records as the launcher would, read fields and what the server stored.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/settingsfile.h"
#include "formdesc/descriptors.h"
#include "formdesc/fieldentry.h"
#include "formdesc/fieldrules.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/grid.h"
#include "tests/support/databasefile.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/ftpserverprocess.h"
#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {

// Boxes answered by the test; every text shown is kept as "title: text".
class SilentDialogs : public Dialogs {
public:
    void Message(Kind, const QString& title, const QString& text) override {
        messages.push_back(form::L(title + ": " + text));
    }
    bool Confirm(const QString& title, const QString& text) override {
        messages.push_back(form::L(title + "? " + text));
        return confirm;
    }
    Answer Ask(const QString& title, const QString& text) override {
        messages.push_back(form::L(title + "?? " + text));
        return answer;
    }
    // The folder dialog: kept as "title: initial"; answers folder (empty: cancelled).
    QString BrowseForFolder(const QString& title, const QString& initial, bool) override {
        messages.push_back(form::L(title + ": " + initial));
        return folder;
    }
    std::vector<std::string> messages;
    bool confirm = true;
    Answer answer = Answer::Yes;
    QString folder;
};

// A left click on a grid cell, pressed and released as the mouse does it.
inline void ClickCell(ui::Grid& grid, int row, int column) {
    const QPointF at = grid.visualRect(grid.model()->index(row, column)).center();
    const QPointF global = grid.viewport()->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &event);
    }
}

// Demo users (see the demo dealership): a salesperson of LYON-SUD, a super-administrator of the
// dealership LYO who sees every site.
constexpr const char* kSalesperson = "1";
constexpr const char* kSuperAdmin = "4";

// The server stopped and started again inside a test (on a new port); the suite's other tests
// find it running.
class ServerDown {
public:
    explicit ServerDown(DataServerProcess& server) : server_(server) { server_.stop(); }
    ~ServerDown() {
        if (!server_.running()) server_.start();
    }
    ServerDown(const ServerDown&) = delete;
    ServerDown& operator=(const ServerDown&) = delete;

private:
    DataServerProcess& server_;
};

class RecordWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new DataServerProcess(); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        setenv("APPDATA", dir_.file("appdata").c_str(), 1);
        NewWindow();
    }
    void TearDown() override {
        window_.reset();
        unsetenv("APPDATA");
    }

    // A window of the dealership LYO working in the scratch folder, its timer stopped.
    void NewWindow() {
        TAxTarmel::Options options;
        options.startTimer = false;
        options.dialogs = &dialogs_;
        window_ = std::make_unique<TAxTarmel>(options);
        w().Host.WorkDir = dir_.str();
        w().Host.BaseHRef = server_->baseHRef();
        w().Host.URLImages = server_->imagesUrl();
        w().Host.UserConcession = "LYO";
    }

    TAxTarmel& w() { return *window_; }

    // First value of a query on the demo database, read directly from its file.
    static std::string Sql(const std::string& query) {
        return FirstValue(server_->databasePath(), query);
    }
    // A number the query selects, with two decimals ("" for none): how the tests compare the
    // amounts stored, whatever the database writes a double like.
    static std::string SqlAmount(const std::string& query) {
        const std::string value = Sql(query);
        if (value.empty()) return value;
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", std::strtod(value.c_str(), nullptr));
        return text;
    }
    // Writes a test's own rows into the demo database before the window reads them.
    static void Exec(const std::string& statements) {
        ASSERT_TRUE(ExecuteStatements(server_->databasePath(), statements)) << statements;
    }

    void OpenVehicle(const std::string& idTVO, const char* user, int idTypeVO, bool reload = true) {
        w().Host.idUser = user;
        w().Host.idTypeVO = idTypeVO;
        w().SetText(QStringLiteral("LbIDCustomer"), {});
        w().SetText(QStringLiteral("LbIdTVO"), form::Q(idTVO));
        if (reload) w().UpdateParams();
        w().UpdateView(reload);
    }
    void OpenClient(const std::string& idClient, const char* user, bool reload = true) {
        w().Host.idUser = user;
        w().SetText(QStringLiteral("LbIdTVO"), {});
        w().SetText(QStringLiteral("LbIDCustomer"), form::Q(idClient));
        if (reload) w().UpdateParams();
        w().UpdateView(reload);
    }

    // The photo page's settings: a local folder "cliches" holding one blue "voiture.jpg" of the
    // size given, and the photo FTP server the window uploads to.
    void UsePhotoFolder(const FtpServerProcess& ftp, int width = 1500, int height = 1000) {
        w().Host.IniFileName = dir_.file("tarmel.ini");
        const std::string folder = dir_.file("cliches");
        std::filesystem::create_directories(folder);
        QImage photo(width, height, QImage::Format_RGB888);
        photo.fill(QColor(40, 90, 160));
        ASSERT_TRUE(photo.save(QString::fromStdString(folder + "/voiture.jpg"), "JPG"));
        SettingsFile settings(w().Host.IniFileName);
        settings.WriteProfileString("Options", "PathImages", folder);
        settings.SetTagRegistry("PhotoFtpServer", "127.0.0.1:" + std::to_string(ftp.port()));
        settings.SetTagRegistry("PhotoFtpUser", ftp.user());
        settings.SetTagRegistry("PhotoFtpPassword", ftp.password());
    }

    TsDesc& Field(int page, const char* column) {
        for (TsDesc& d : w().Form.Pages[page].descriptors) {
            if (d.columnName == column) return d;
        }
        ADD_FAILURE() << "no field " << column << " on page " << page;
        static TsDesc none;
        return none;
    }
    QString Statement() { return w().Text(QStringLiteral("LbDebugInfo2")); }
    void Click(const char* button) {
        auto* b = w().Ctl<QAbstractButton>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    // As the user picks an item: the combo reports it activated.
    void Choose(const char* name, int index) {
        auto* combo = w().Ctl<QComboBox>(QString::fromLatin1(name));
        ASSERT_NE(combo, nullptr) << name;
        ASSERT_LT(index, combo->count()) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    bool SaveEnabled() { return w().Control(QStringLiteral("JvXPBtnSave"))->isEnabled(); }

    // The record element's value of a column, as a field shows it.
    std::string RecordValue(const TsDesc& d) {
        TXml record = w().Form.RecordXml;
        XmlFind(record, w().Record.RecordTable);
        std::string raw;
        XmlValue(record, d.readName.empty() ? d.columnName : d.readName, raw);
        return FieldValueFromRecord(raw, d.controlKind, d.dataType, form::Today());
    }

    static DataServerProcess* server_;
    ScratchDir dir_;
    SilentDialogs dialogs_;
    std::unique_ptr<TAxTarmel> window_;
};

inline DataServerProcess* RecordWindowTest::server_ = nullptr;

}  // namespace tarmel::testsupport
