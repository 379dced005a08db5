// OpenInBrowser hands the address to xdg-open, and says false when there is none.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "server/openinbrowser.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

class PathGuard {
public:
    explicit PathGuard(const std::string& path) : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        setenv("PATH", path.c_str(), 1);
    }
    ~PathGuard() { setenv("PATH", saved_.c_str(), 1); }

private:
    std::string saved_;
};

TEST(OpenInBrowser, FalseWithoutXdgOpen) {
    testsupport::ScratchDir empty;
    PathGuard path(empty.str());
    EXPECT_FALSE(OpenInBrowser("http://127.0.0.1/tarmel/ReportPDF?rptName=x"));
}

TEST(OpenInBrowser, PassesTheAddressUnchanged) {
    testsupport::ScratchDir bin;
    const std::string seen = bin.file("seen.txt");
    testsupport::writeFile(bin.file("xdg-open"), "#!/bin/sh\nprintf '%s' \"$1\" > " + seen + "\n");
    std::filesystem::permissions(bin.file("xdg-open"), std::filesystem::perms::owner_all);
    PathGuard path(bin.str() + ":/usr/bin:/bin");
    const std::string url = "http://127.0.0.1:8642/tarmel/ReportPDF?rptSelect=idVO=12&rptName=VO - Fiche";
    EXPECT_TRUE(OpenInBrowser(url));
    for (int i = 0; i < 200 && testsupport::readFile(seen).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testsupport::readFile(seen), url);
}

}  // namespace
}  // namespace tarmel
