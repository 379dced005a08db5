// A QCoreApplication for the whole test run, so timers and event loops work as in the window.
#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

int argc = 1;
char name[] = "test_server";
char* argv[] = {name, nullptr};

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = new QCoreApplication(argc, argv); }
    void TearDown() override { delete app_; }

private:
    QCoreApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
