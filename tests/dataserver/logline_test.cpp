// The server's log lines: a request's bytes cannot break a line or reach the terminal reading
// the journal as escape sequences.
#include "dataserver/logline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/dataserver/serverclient.h"

namespace tarmel::dataserver {
namespace {

TEST(LogText, EscapesWhatWouldBreakTheLineAndKeepsTheRest) {
    struct Case {
        const char* name;
        std::string raw;
        std::string logged;
    };
    const std::vector<Case> cases = {
        {"plain path", "/tarmel/AxQuery", "/tarmel/AxQuery"},
        {"terminal colour", "/a\x1b[31mb", "/a\\x1b[31mb"},
        {"line feed and return", "/a\r\nGET /b", "/a\\x0d\\x0aGET /b"},
        {"NUL and DEL", std::string("/a\0b\x7f", 5), "/a\\x00b\\x7f"},
        {"C1 control (CSI)",
         "/a\x9b"
         "31m",
         "/a\\x9b31m"},
        {"Latin-1 letter", "/v\xe9hicule", "/v\xc3\xa9hicule"},
        {"no-break space", "/a\xa0z", "/a\xc2\xa0z"},
        {"backslash, so an escape cannot be forged", "/a\\x41", "/a\\x5cx41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LogText(c.raw), c.logged);
    }
}

TEST(ServerLog, WritesARequestWithEscapesAsOnePlainLine) {
    testsupport::DataServerProcess server;
    testsupport::HttpAnswer a = testsupport::RawRequest(
        server.port(),
        "GET /tarmel/\x1b[31mrouge\x1b[0m\x9b HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n");
    ASSERT_NE(a.status, 0);
    // The line is written when the exchange ends, just after the answer is sent.
    const std::string line =
        "GET /tarmel/\\x1b[31mrouge\\x1b[0m\\x9b " + std::to_string(a.status) + " ";
    std::string log;
    for (int i = 0; i < 500 && log.find(line) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        log = server.log();
    }
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace tarmel::dataserver
