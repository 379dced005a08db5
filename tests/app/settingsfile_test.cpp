// Reading and writing TAXTarmel.ini: values byte for byte, the rest of the file kept, line ends,
// missing pieces, and failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "app/settingsfile.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using testsupport::readFile;
using testsupport::ScratchDir;
using testsupport::writeFile;
namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string ini = dir.file("TAXTarmel.ini");
};

struct ValueCase {
    const char* why;
    std::string value;
};

const ValueCase kValues[] = {
    {"where clause", R"(VO_SITE in ('A','B') and Prix>=1000; x="a\b")"},
    {"folder with backslashes", R"(C:\Temp\Tarmel\)"},
    {"blanks around", "  lead and trail\t "},
    {"Latin-1 accents", "R\xE9serv\xE9 \xE0 l'\xE9t\xE8re \xFF"},
    {"empty", ""},
    {"starts with = and ;", "==;x"},
    {"looks like a section", "[Other]"},
    {"percent and dollar", "%TEMP% $HOME"},
};

// Written over an earlier value, each value reads back unchanged, through a second object so that
// nothing can come from memory, and is the only change to the file.
TEST_F(SettingsFileTest, ValuesReadBackByteForByte) {
    for (const ValueCase& row : kValues) {
        SCOPED_TRACE(row.why);
        writeFile(ini, "[Options]\nWhereClause=previous\nOrderClause=Prix\n");
        ASSERT_TRUE(SettingsFile(ini).SetTagRegistry("WhereClause", row.value));
        EXPECT_EQ(SettingsFile(ini).GetTagRegistry("WhereClause"), row.value);
        EXPECT_EQ(readFile(ini), "[Options]\nWhereClause=" + row.value + "\nOrderClause=Prix\n");

        fs::remove(ini);
        ASSERT_TRUE(SettingsFile(ini).SetTagRegistry("WhereClause", row.value));
        EXPECT_EQ(SettingsFile(ini).GetTagRegistry("WhereClause"), row.value);
    }
}

struct ReadCase {
    const char* why;
    std::optional<std::string> file;  // nullopt: no file
    const char* key;
    std::string expected;
};

const ReadCase kReads[] = {
    {"missing file", std::nullopt, "Trace", ""},
    {"missing section", "[Other]\nTrace=1\n", "Trace", ""},
    {"missing key", "[Options]\nidUser=7\n", "Trace", ""},
    {"key before any section", "Trace=1\n[Options]\n", "Trace", ""},
    {"key of another section", "[Options]\nA=1\n[Other]\nTrace=1\n", "Trace", ""},
    {"key is not a prefix", "[Options]\nTrace2=1\n", "Trace", ""},
    {"key ignoring case", "[options]\nTRACE=1\n", "trace", "1"},
    {"blanks around key and section name", " [ Options ] \n  Trace =1\n", "Trace", "1"},
    {"value holding =", "[Options]\nW=a=b\n", "W", "a=b"},
    {"blanks of the value kept", "[Options]\nTrace= 1 \n", "Trace", " 1 "},
    {"CR LF line ends", "[Options]\r\nTrace=1\r\nidUser=7\r\n", "idUser", "7"},
    {"only one CR stripped", "[Options]\nTrace=1\r\r\n", "Trace", "1\r"},
    {"last line without a break", "[Options]\nTrace=1", "Trace", "1"},
    {"first of two equal keys", "[Options]\nTrace=1\nTrace=2\n", "Trace", "1"},
    {"first of two equal sections", "[Options]\nA=1\n[Other]\n[Options]\nTrace=1\n", "Trace", ""},
};

TEST_F(SettingsFileTest, Reads) {
    for (const ReadCase& row : kReads) {
        SCOPED_TRACE(row.why);
        fs::remove(ini);
        if (row.file) writeFile(ini, *row.file);
        EXPECT_EQ(SettingsFile(ini).GetTagRegistry(row.key), row.expected);
    }
}

struct WriteCase {
    const char* why;
    std::optional<std::string> before;  // nullopt: no file
    const char* key;
    const char* value;
    std::string after;
};

const WriteCase kWrites[] = {
    {"new file", std::nullopt, "Trace", "1", "[Options]\nTrace=1\n"},
    {"empty file", "", "Trace", "1", "[Options]\nTrace=1\n"},
    {"in place among other sections",
     "; launcher\n[Other]\nTrace=9\n\n[Options]\nHttpRoot = http://h/\nTrace=0\nidUser=7\n\n"
     "[Last]\nk=v\n",
     "Trace", "1",
     "; launcher\n[Other]\nTrace=9\n\n[Options]\nHttpRoot = http://h/\nTrace=1\nidUser=7\n\n"
     "[Last]\nk=v\n"},
    {"key spelling and blanks kept", "[OPTIONS]\n  TRACE  =0\n", "Trace", "1",
     "[OPTIONS]\n  TRACE  =1\n"},
    {"only the first of two equal keys", "[Options]\nTrace=0\nTrace=5\n", "Trace", "1",
     "[Options]\nTrace=1\nTrace=5\n"},
    {"added after the section's last key", "[Options]\nA=1\n\n[Next]\nB=2\n", "Trace", "1",
     "[Options]\nA=1\nTrace=1\n\n[Next]\nB=2\n"},
    {"prefix of another key is a new key", "[Options]\nTrace2=5\n", "Trace", "1",
     "[Options]\nTrace2=5\nTrace=1\n"},
    {"section added at the end", "[Other]\nA=1\n", "Trace", "1",
     "[Other]\nA=1\n[Options]\nTrace=1\n"},
    {"last key without a break", "[Options]\nA=1", "Trace", "1", "[Options]\nA=1\nTrace=1\n"},
    {"empty last section without a break", "[Options]", "Trace", "1", "[Options]\nTrace=1\n"},
    {"other last section without a break", "[Other]\nA=1", "Trace", "1",
     "[Other]\nA=1\n[Options]\nTrace=1\n"},
    {"CR LF file whose last line ends in a lone CR", "[Options]\r\nA=1\r", "Trace", "1",
     "[Options]\r\nA=1\r\nTrace=1\r\n"},
    {"CR LF file, in place", "[Options]\r\nTrace=0\r\nA=1\r\n", "Trace", "1",
     "[Options]\r\nTrace=1\r\nA=1\r\n"},
    {"CR LF file, new key", "[Options]\r\nA=1\r\n\r\n[Next]\r\n", "Trace", "1",
     "[Options]\r\nA=1\r\nTrace=1\r\n\r\n[Next]\r\n"},
    {"CR LF file, new section", "[Other]\r\nA=1\r\n", "Trace", "1",
     "[Other]\r\nA=1\r\n[Options]\r\nTrace=1\r\n"},
};

TEST_F(SettingsFileTest, WritesKeepEverythingElse) {
    for (const WriteCase& row : kWrites) {
        SCOPED_TRACE(row.why);
        fs::remove(ini);
        if (row.before) writeFile(ini, *row.before);
        ASSERT_TRUE(SettingsFile(ini).SetTagRegistry(row.key, row.value));
        EXPECT_EQ(readFile(ini), row.after);
    }
}

// The line breaks of a value cannot create keys: the injected ones read as absent or unchanged.
TEST_F(SettingsFileTest, LineBreaksInValueInjectNoKey) {
    writeFile(ini, "[Options]\nidUser=7\n");
    SettingsFile settings(ini);
    ASSERT_TRUE(settings.SetTagRegistry("WhereClause", "x\r\n[Options]\nTrace=1\r\nidUser=0"));
    EXPECT_EQ(settings.GetTagRegistry("Trace"), "");
    EXPECT_EQ(settings.GetTagRegistry("idUser"), "7");
    EXPECT_EQ(settings.GetTagRegistry("WhereClause"), "x  [Options] Trace=1  idUser=0");
    EXPECT_EQ(readFile(ini), "[Options]\nidUser=7\nWhereClause=x  [Options] Trace=1  idUser=0\n");
}

TEST_F(SettingsFileTest, CreatesMissingFoldersAndLeavesNoTemporaryFile) {
    const fs::path nested = dir.path() / "Config" / "Tarmel";
    SettingsFile settings((nested / "TAXTarmel.ini").string());
    ASSERT_TRUE(settings.SetTagRegistry("Trace", "1"));
    ASSERT_TRUE(settings.SetTagRegistry("idUser", "7"));
    EXPECT_EQ(readFile(settings.path()), "[Options]\nTrace=1\nidUser=7\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(nested)) ++entries;
    EXPECT_EQ(entries, 1);
}

// The launcher may have made the file readable by others, or reach it through a link: replacing
// the file must keep both.
TEST_F(SettingsFileTest, RewriteKeepsModeAndLink) {
    const std::string real = dir.file("real.ini");
    writeFile(real, "[Options]\nTrace=0\n");
    fs::permissions(real, fs::perms(0640));
    fs::create_symlink(real, ini);

    ASSERT_TRUE(SettingsFile(ini).SetTagRegistry("Trace", "1"));
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(readFile(real), "[Options]\nTrace=1\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
}

TEST_F(SettingsFileTest, InputOutputFailuresReturnFalse) {
    // The settings path is a folder: it can be neither read nor replaced, and stays as it was.
    fs::create_directory(ini);
    EXPECT_FALSE(SettingsFile(ini).SetTagRegistry("Trace", "1"));
    EXPECT_TRUE(fs::is_directory(ini));
    EXPECT_TRUE(fs::is_empty(ini));
    EXPECT_EQ(SettingsFile(ini).GetTagRegistry("Trace"), "");

    // The folder to create is blocked by a file.
    const std::string blocker = dir.file("Tarmel");
    writeFile(blocker, "not a folder");
    EXPECT_FALSE(SettingsFile(blocker + "/TAXTarmel.ini").SetTagRegistry("Trace", "1"));
    EXPECT_EQ(readFile(blocker), "not a folder");
}

struct RefusedNameCase {
    const char* why;
    const char* section;
    const char* key;
};

// Names that would not read back, or would break the file, are refused and the file is unchanged.
const RefusedNameCase kRefusedNames[] = {
    {"empty key", "Options", ""},
    {"= in key", "Options", "Trace=1"},
    {"line break in key", "Options", "Trace\nidUser"},
    {"key read as a section", "Options", "[Trace]"},
    {"blank around key", "Options", "Trace "},
    {"empty section", "", "Trace"},
    {"] in section", "Opt]ions", "Trace"},
    {"line break in section", "Options\r\n[Other", "Trace"},
};

TEST_F(SettingsFileTest, RefusedNames) {
    const std::string before = "[Options]\nTrace=0\n";
    writeFile(ini, before);
    for (const RefusedNameCase& row : kRefusedNames) {
        SCOPED_TRACE(row.why);
        EXPECT_FALSE(SettingsFile(ini).WriteProfileString(row.section, row.key, "1"));
        EXPECT_EQ(readFile(ini), before);
    }
}

// Another program edits the file between two calls: the next call sees its edit and keeps it.
TEST_F(SettingsFileTest, NothingIsCachedBetweenCalls) {
    SettingsFile settings(ini);
    ASSERT_TRUE(settings.SetTagRegistry("Trace", "0"));
    writeFile(ini, "[Options]\nTrace=0\nidTVO=42\n");
    EXPECT_EQ(settings.GetTagRegistry("idTVO"), "42");
    ASSERT_TRUE(settings.SetTagRegistry("Trace", "1"));
    EXPECT_EQ(readFile(ini), "[Options]\nTrace=1\nidTVO=42\n");
}

}  // namespace
}  // namespace tarmel
