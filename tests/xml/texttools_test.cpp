// Tests of the text tools: ";" fields, whole text files with CR LF line ends, and the
// UTF-8 <-> Latin-1 bridge.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "server/xml/texttools.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using namespace std::string_literals;

TEST(FieldOf, PicksTheNthField) {
    struct Case {
        const char* what;
        const char* text;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"first field", "VO;VD;VN", 1, "VO"},
        {"middle field", "VO;VD;VN", 2, "VD"},
        {"last field", "VO;VD;VN", 3, "VN"},
        {"one past the last field", "VO;VD;VN", 4, ""},
        {"far past the last field", "VO;VD;VN", INT_MAX, ""},
        {"n = 0", "VO;VD;VN", 0, ""},
        {"negative n", "VO;VD;VN", -1, ""},
        {"an empty middle field", "VO;;VN", 2, ""},
        {"the field after an empty one", "VO;;VN", 3, "VN"},
        {"a trailing separator ends with an empty field", "VO;VD;", 3, ""},
        {"a leading separator starts with an empty field", ";Admin;Compta;", 1, ""},
        {"a group list enclosed in separators", ";Admin;Compta;", 3, "Compta"},
        {"a text without separator is its first field", "Lyon", 1, "Lyon"},
        {"an empty text", "", 1, ""},
        {"blanks belong to the field", " a ; b ", 2, " b "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FieldOf(c.text, c.n), c.expected);
    }
}

TEST(LoadTextFile, EndsEveryLineWithCrLf) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"LF line ends", "a\nb\n", "a\r\nb\r\n"},
        {"CR line ends", "a\rb\r", "a\r\nb\r\n"},
        {"CR LF line ends stay", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"mixed line ends", "a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"a last line without a break gets one", "<a>1</a>", "<a>1</a>\r\n"},
        {"an empty file stays empty", "", ""},
        {"a lone line break is one empty line", "\n", "\r\n"},
        {"empty lines are kept", "a\n\n\nb", "a\r\n\r\n\r\nb\r\n"},
        {"LF CR is two line ends", "a\n\rb", "a\r\n\r\nb\r\n"},
        {"CR CR is two line ends", "a\r\rb", "a\r\n\r\nb\r\n"},
        {"Latin-1 bytes are kept", "R\xE9servation\nN\xEEmes", "R\xE9servation\r\nN\xEEmes\r\n"},
        {"NUL bytes are kept", "a\0b\n"s, "a\0b\r\n"s},
    };
    testsupport::ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("result.xml");
        testsupport::writeFile(path, c.bytes);
        EXPECT_EQ(LoadTextFile(path), c.expected);
    }
}

TEST(LoadTextFile, FailsOnWhatCannotBeRead) {
    testsupport::ScratchDir dir;
    EXPECT_EQ(LoadTextFile(dir.file("missing.xml")), std::nullopt);
    EXPECT_EQ(LoadTextFile(dir.str()), std::nullopt) << "a folder";
}

TEST(LoadTextFile, ReadsAFileLargerThanOneBuffer) {
    testsupport::ScratchDir dir;
    std::string bytes, expected;
    for (int i = 0; i < 20000; ++i) {
        bytes += "<AXQuery><cpt>" + std::to_string(i) + "</cpt></AXQuery>\n";
        expected += "<AXQuery><cpt>" + std::to_string(i) + "</cpt></AXQuery>\r\n";
    }
    testsupport::writeFile(dir.file("big.xml"), bytes);
    EXPECT_EQ(LoadTextFile(dir.file("big.xml")), expected);
}

TEST(Latin1, ConvertsBothWays) {
    struct Case {
        const char* utf8;
        const char* latin1;
    };
    const Case cases[] = {
        {"Réservation", "R\xE9servation"},
        {"Contrôle de la date saisie", "Contr\xF4le de la date saisie"},
        {"Confirmation de Suppression", "Confirmation de Suppression"},
        {"Nîmes, Ç, ÿ, ü, ×", "N\xEEmes, \xC7, \xFF, \xFC, \xD7"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Latin1FromUtf8(c.utf8), c.latin1);
        EXPECT_EQ(Utf8FromLatin1(c.latin1), c.utf8);
    }
}

TEST(Latin1, ReplacesWhatLatin1CannotHold) {
    struct Case {
        const char* what;
        const char* utf8;
        const char* latin1;
    };
    const Case cases[] = {
        {"a character beyond Latin-1", "Prix 100 €", "Prix 100 ?"},
        {"a character beyond the basic plane", "a\xF0\x9F\x9A\x97z", "a?z"},
        {"a Latin-1 byte that is not UTF-8", "R\xE9servation", "R?servation"},
        {"a stray continuation byte", "a\x80z", "a?z"},
        {"a sequence cut by the end of the text", "a\xC3", "a?"},
        {"a sequence cut by an ASCII byte", "\xE2\x82z", "??z"},
        {"an overlong encoding of /", "\xC0\xAF", "??"},
        {"an overlong three-byte encoding of é", "\xE0\x83\xA9", "???"},
        {"an encoded surrogate", "\xED\xA0\x80", "???"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Latin1FromUtf8(c.utf8), c.latin1);
    }
}

TEST(Latin1, RoundTripsEveryByte) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    const std::string utf8 = Utf8FromLatin1(bytes);
    EXPECT_EQ(utf8.size(), 128u + 2u * 128u);
    EXPECT_EQ(Latin1FromUtf8(utf8), bytes);
}

}  // namespace
}  // namespace tarmel

namespace tarmel {
namespace {

TEST(Latin1, CapitalsKeepTheAccents) {
    EXPECT_EQ(UpperLatin1(Latin1FromUtf8("Clément Amélie, Noël ß ÿ ÷ 1")),
              Latin1FromUtf8("CLÉMENT AMÉLIE, NOËL ß ÿ ÷ 1"));
}

}  // namespace
}  // namespace tarmel
