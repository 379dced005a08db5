// One tarmel per user: two real processes, and the launcher talking to a running one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <functional>
#include <string>

#include "app/singleinstance.h"
#include "tests/support/scratchdir.h"

namespace {

using tarmel::testsupport::readFile;
using tarmel::testsupport::ScratchDir;
using tarmel::testsupport::writeFile;

bool WaitFor(const std::function<bool()>& condition, int ms = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A settings folder with the trace on and an existing log, so every traced line is kept.
class InstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini = dir.file("appdata/Tarmel/TAXTarmel.ini");
        log = dir.file("TAXTarmel.log");
        std::filesystem::create_directories(dir.path() / "appdata/Tarmel");
        writeFile(ini, "[Options]\nTrace=1\nTraceRepTemp=" + dir.str() + "\nidTVO=7\n");
        writeFile(log, "");
        env = QProcessEnvironment::systemEnvironment();
        env.insert("APPDATA", QString::fromStdString(dir.file("appdata")));
        env.insert("TEMP", QString::fromStdString(dir.str()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
    }
    void TearDown() override {
        for (QProcess* p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000)) p->kill();
                p->waitForFinished(2000);
            }
        }
    }
    void StartFirst() {
        first.setProcessEnvironment(env);
        first.start(TARMEL_BIN, {});
        ASSERT_TRUE(first.waitForStarted(5000));
        // The window exists once OnStart has traced its last setter.
        ASSERT_TRUE(WaitFor([&] { return Contains(readFile(log), "idClient"); }))
            << readFile(log);
    }

    ScratchDir dir;
    std::string ini, log;
    QProcessEnvironment env;
    QProcess first, second;
};

TEST_F(InstanceTest, TheSecondStartWritesNothingAndShowsTheFirst) {
    StartFirst();
    const std::string settingsBefore = readFile(ini);
    const auto stampBefore = std::filesystem::last_write_time(ini);
    ASSERT_TRUE(Contains(settingsBefore, "FirstFormHandle="));

    second.setProcessEnvironment(env);
    second.start(TARMEL_BIN, {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_TRUE(WaitFor([&] { return Contains(readFile(log), "Message re\xE7u : show"); }))
        << readFile(log);
    EXPECT_EQ(readFile(ini), settingsBefore);
    EXPECT_EQ(std::filesystem::last_write_time(ini), stampBefore);
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(InstanceTest, TheLauncherWritesItsParametersAndAsksTheRunningWindowToReload) {
    StartFirst();
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.start(TARMEL_LAUNCH_BIN, {"idTVO=42", "UserConcession=QUINTAR"});
    ASSERT_TRUE(launcher.waitForFinished(15000));
    EXPECT_EQ(launcher.exitCode(), 0);
    const std::string settings = readFile(ini);
    EXPECT_TRUE(Contains(settings, "idTVO=42\n")) << settings;
    EXPECT_TRUE(Contains(settings, "UserConcession=QUINTAR")) << settings;
    // The reload reads the settings again: every setter traces its word a second time.
    EXPECT_TRUE(WaitFor([&] {
        const std::string text = readFile(log);
        const auto reload = text.find("Message re\xE7u : reload");
        return reload != std::string::npos && text.find("idClient", reload) != std::string::npos;
    })) << readFile(log);
}

TEST_F(InstanceTest, TheLauncherStartsTarmelWhenNoneRuns) {
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.start(TARMEL_LAUNCH_BIN, {"idClient=5"});
    ASSERT_TRUE(launcher.waitForFinished(15000));
    EXPECT_EQ(launcher.exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return Contains(readFile(log), "idClient"); })) << readFile(log);
    // The started window published its process id; end it.
    const std::string settings = readFile(ini);
    const auto at = settings.find("FirstApplicationHandle=");
    ASSERT_NE(at, std::string::npos) << settings;
    const qint64 pid = std::stoll(settings.substr(at + 23));
    EXPECT_TRUE(Contains(settings, "idClient=5"));
    QProcess::execute("kill", {QString::number(pid)});
}

TEST(InstanceName, IsPerSettingsFile) {
    EXPECT_EQ(tarmel::InstanceServerName("/home/a/.config/Tarmel/TAXTarmel.ini"),
              tarmel::InstanceServerName("/home/a/.config/Tarmel/TAXTarmel.ini"));
    EXPECT_NE(tarmel::InstanceServerName("/home/a/.config/Tarmel/TAXTarmel.ini"),
              tarmel::InstanceServerName("/tmp/x/Tarmel/TAXTarmel.ini"));
}

}  // namespace
