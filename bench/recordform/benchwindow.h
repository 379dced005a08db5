// The window of the record benchmarks: offscreen, its boxes answered, over a local data server on
// a fresh demo dealership, as the super-administrator of LYO.
#pragma once

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/axtarmelimpl1.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/scratchdir.h"

namespace tarmel::bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class QuietDialogs : public Dialogs {
public:
    void Message(Kind, const QString&, const QString&) override {}
    bool Confirm(const QString&, const QString&) override { return true; }
    Answer Ask(const QString&, const QString&) override { return Answer::No; }
    QString BrowseForFolder(const QString&, const QString&, bool) override { return {}; }
};

// Construct after the QApplication.
struct BenchWindow {
    BenchWindow() {
        setenv("APPDATA", dir.file("appdata").c_str(), 1);
        server = std::make_unique<testsupport::DataServerProcess>();
        TAxTarmel::Options options;
        options.startTimer = false;
        options.dialogs = &dialogs;
        window = std::make_unique<TAxTarmel>(options);
        window->Host.WorkDir = dir.str();
        window->Host.BaseHRef = server->baseHRef();
        window->Host.UserConcession = "LYO";
        window->Host.idUser = "4";
        window->Host.idTypeVO = 1;
    }
    // Shows the vehicle (or the client) in the window, its documents fetched and its pages built.
    void Open(const std::string& id, bool client = false) {
        window->show();
        window->SetText(QStringLiteral("LbIdTVO"), client ? QString() : QString::fromStdString(id));
        window->SetText(QStringLiteral("LbIDCustomer"),
                        client ? QString::fromStdString(id) : QString());
        window->UpdateParams();
        window->UpdateView(true);
        QApplication::processEvents();
    }
    testsupport::ScratchDir dir;
    std::unique_ptr<testsupport::DataServerProcess> server;
    QuietDialogs dialogs;
    std::unique_ptr<TAxTarmel> window;
};

}  // namespace tarmel::bench
