// The trace log: the existence rule, the line format with a fixed clock, the off switch, the
// errors that must reach the caller, and how a trace writes a yes/no state.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/traceflag.h"
#include "app/tracelog.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;
namespace fs = std::filesystem;

// 2024-03-04 23:05:09 UTC, already the next day one hour east: shows that the stamp is local time
// and that day, month and time are zero-padded.
constexpr std::time_t kFixedTime = 1709593509;
constexpr const char* kStamp = "05/03/2024 00:05:09 - ";

class TraceLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
        setenv("TZ", "CET-1", 1);
        tzset();
        log.on = true;
        log.workDir = dir.str();
        log.clock = [] { return kFixedTime; };
    }
    void TearDown() override {
        if (savedZone_) {
            setenv("TZ", savedZone_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    ScratchDir dir;
    TraceLog log;

private:
    std::optional<std::string> savedZone_;
};

std::string Line(const std::string& message) {
    return kStamp + message + "\n";
}

// One step: write a message, or delete the log (message nullptr); then the whole log, or no log
// at all (nullopt).
struct Step {
    const char* message;
    std::optional<std::string> log;
};

struct SequenceCase {
    const char* why;
    std::vector<Step> steps;
};

const SequenceCase kSequences[] = {
    {"the first message only creates the log",
     {{"on TimerOK : ", ""},
      {"httproot", Line("httproot")},
      {"idtvo", Line("httproot") + Line("idtvo")}}},
    {"a log deleted while running is recreated empty and that message is lost",
     {{"a", ""}, {"b", Line("b")}, {nullptr, std::nullopt}, {"lost", ""}, {"kept", Line("kept")}}},
    {"an empty message empties the log", {{"a", ""}, {"b", Line("b")}, {"", ""}}},
    {"bytes above 127 are kept",
     {{"a", ""}, {"R\xE9servation : \xE0 \xFF", Line("R\xE9servation : \xE0 \xFF")}}},
};

TEST_F(TraceLogTest, Sequences) {
    for (const SequenceCase& row : kSequences) {
        SCOPED_TRACE(row.why);
        fs::remove(log.fileName());
        for (const Step& step : row.steps) {
            if (step.message) {
                log.Write(step.message);
            } else {
                fs::remove(log.fileName());
            }
            ASSERT_EQ(fs::exists(log.fileName()), step.log.has_value());
            if (step.log) {
                EXPECT_EQ(readFile(log.fileName()), *step.log);
            }
        }
    }
}

TEST_F(TraceLogTest, OffWritesNothing) {
    log.on = false;
    log.Write("a");
    EXPECT_FALSE(fs::exists(log.fileName()));

    writeFile(log.fileName(), Line("earlier"));
    log.Write("b");
    log.Write("");
    EXPECT_EQ(readFile(log.fileName()), Line("earlier"));
}

TEST_F(TraceLogTest, FileIsInWorkDir) {
    EXPECT_EQ(log.fileName(), dir.file("TAXTarmel.log"));
    log.workDir += "/";
    EXPECT_EQ(log.fileName(), dir.file("TAXTarmel.log"));
}

// Input/output errors stop the tracing operation with a French message naming the file.
TEST_F(TraceLogTest, ErrorsAreThrown) {
    struct ErrorCase {
        const char* why;
        std::string workDir;
        bool logIsFolder;
    };
    const ErrorCase cases[] = {
        {"missing work folder", dir.file("missing"), false},
        {"work folder is a file", dir.file("plain"), false},
        // A folder in the log's place counts as an existing log, so the append is what fails.
        {"log is a folder", dir.str(), true},
    };
    writeFile(dir.file("plain"), "");
    fs::create_directory(dir.file("TAXTarmel.log"));
    for (const ErrorCase& row : cases) {
        SCOPED_TRACE(row.why);
        log.workDir = row.workDir;
        try {
            log.Write("message");
            ADD_FAILURE() << "no TraceLogError";
        } catch (const TraceLogError& error) {
            const std::string expected =
                "Impossible d'\xE9"
                "crire le journal " +
                log.fileName() + " : ";
            EXPECT_EQ(std::string(error.what()).substr(0, expected.size()), expected);
        }
        EXPECT_EQ(fs::is_directory(log.fileName()), row.logIsFolder);
    }
}

TEST(TraceFlag, TrueIsMinusOneFalseIsZero) {
    EXPECT_STREQ(Flag(true), "-1");
    EXPECT_STREQ(Flag(false), "0");
}

}  // namespace
}  // namespace tarmel
