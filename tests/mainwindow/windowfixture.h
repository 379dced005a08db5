// The real main window offscreen, over a scratch settings folder, with the operations of later
// subsystems counted and the message boxes answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/axtarmelimpl1.h"
#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {

class RecordedDialogs : public Dialogs {
public:
    void Message(Kind, const QString& title, const QString& text) override {
        messages.push_back(title + ": " + text);
    }
    bool Confirm(const QString& title, const QString& text) override {
        messages.push_back(title + "? " + text);
        return answer;
    }
    Answer Ask(const QString& title, const QString& text) override {
        messages.push_back(title + "?? " + text);
        return threeWay;
    }
    QString BrowseForFolder(const QString& title, const QString&, bool) override {
        messages.push_back(title);
        return {};
    }
    std::vector<QString> messages;
    bool answer = true;
    Answer threeWay = Answer::Yes;
};

class CountingWindow : public TAxTarmel {
public:
    using TAxTarmel::TAxTarmel;
    void UpdateParams() override {
        ++updateParams;
        if (duringUpdateParams) duringUpdateParams();
    }
    // Counted only: the start-up tests have no data server, and a real load without one keeps
    // the splash up (the record tests load real records from the real server).
    void UpdateView(bool) override {
        ++updateView;
        HideSplash();
    }
    bool SaveChanges() override {
        ++saves;
        return saveSucceeds;
    }
    void HttpGetSearchInfo(int step) override { searches.push_back(step); }
    void HttpGetDblInfo() override { ++duplicateChecks; }
    void GetInfoReservation() override { loads.push_back("GetInfoReservation"); }
    void LoadInfoFrevo() override { loads.push_back("LoadInfoFrevo"); }
    void LoadInfoCliche() override { loads.push_back("LoadInfoCliche"); }
    void GetDataImages() override { loads.push_back("GetDataImages"); }
    void LoadInfoAction() override { loads.push_back("LoadInfoAction"); }
    void LoadInfoVehicle() override { loads.push_back("LoadInfoVehicle"); }

    int updateParams = 0, updateView = 0, saves = 0, duplicateChecks = 0;
    bool saveSucceeds = true;
    std::vector<int> searches;
    std::vector<std::string> loads;
    std::function<void()> duringUpdateParams;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The scratch folder itself lives under the TEMP of the run: put it back afterwards.
        for (const char* name : {"APPDATA", "TEMP", "http_proxy", "HTTP_PROXY"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("APPDATA", dir.file("appdata").c_str(), 1);
        setenv("TEMP", dir.str().c_str(), 1);
        unsetenv("http_proxy");
        unsetenv("HTTP_PROXY");
        ini = dir.file("appdata/Tarmel/TAXTarmel.ini");
        log = dir.file("TAXTarmel.log");
    }
    void TearDown() override {
        window.reset();
        for (const auto& [name, value] : saved) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }
    // Settings lines under [Options]; the trace goes to the scratch folder.
    void WriteSettings(const std::string& lines) {
        std::filesystem::create_directories(dir.path() / "appdata/Tarmel");
        writeFile(ini, "[Options]\nTraceRepTemp=" + dir.str() + "\n" + lines);
    }
    CountingWindow& Open() {
        window = std::make_unique<CountingWindow>(TAxTarmel::Options{false, &dialogs});
        return *window;
    }

    ScratchDir dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    std::string ini, log;
    RecordedDialogs dialogs;
    std::unique_ptr<CountingWindow> window;
};

}  // namespace tarmel::testsupport
