// A QApplication for the whole run of a test program that builds real widgets (offscreen unless
// the caller chose a platform). Linked as an object, so its environment registers itself.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

namespace {

int argc = 1;
char name[] = "tarmel-tests";
char* argv[] = {name, nullptr};

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
