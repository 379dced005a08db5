// The Qt application object for the whole run of a test program: a QApplication for programs that
// build real widgets (offscreen unless the caller chose a platform), or, compiled with
// TARMEL_TEST_CORE_APPLICATION, a QCoreApplication for programs that only need timers and event
// loops. Linked as an object, so its environment registers itself.
#include <gtest/gtest.h>

#ifdef TARMEL_TEST_CORE_APPLICATION
#include <QCoreApplication>
#else
#include <QApplication>
#endif

#include <cstdlib>

namespace {

#ifdef TARMEL_TEST_CORE_APPLICATION
using TestApplication = QCoreApplication;
#else
using TestApplication = QApplication;
#endif

int argc = 1;
char name[] = "tarmel-tests";
char* argv[] = {name, nullptr};

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
#ifndef TARMEL_TEST_CORE_APPLICATION
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
        app_ = new TestApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    TestApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
