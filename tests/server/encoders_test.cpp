// The SQL encoders and the text rules of the exchange, as tables of cases.
#include <gtest/gtest.h>

#include "server/encoders.h"
#include "server/exchangerules.h"
#include "server/xml/texttools.h"

namespace tarmel {
namespace {

struct Case {
    const char* name;
    std::string in, out;
};

TEST(Encoders, SqlText) {
    const Case cases[] = {
        {"apostrophe doubled, enclosed", "O'Neil", "'O''Neil'"},
        {"surrounding blanks trimmed", "  Dupont \t", "'Dupont'"},
        {"empty gives two apostrophes", "", "''"},
        {"CR LF encoded", "ligne 1\r\nligne 2", "'ligne 1%0D%0Aligne 2'"},
        {"lone LF and lone CR encoded", "a\nb\rc", "'a%0Ab%0Dc'"},
        {"LF CR is two lone breaks", "a\n\rb", "'a%0A%0Db'"},
        {"CR before CR LF", "a\r\r\nb", "'a%0D%0D%0Ab'"},
        {"tab pasted from a spreadsheet", "12\t500\tTTC", "'12%09500%09TTC'"},
        {"every other control byte", std::string("a\x01\x1B\x1F") + '\0' + "b",
         "'a%01%1B%1F%00b'"},
        {"DEL encoded", "a\x7F" "b", "'a%7Fb'"},
        {"space and tilde kept, byte 0x80 kept", "a b~\x80", "'a b~\x80'"},
        {"control bytes at the ends are trimmed", "\t\na\tb\r\n", "'a%09b'"},
        {"DEL is not a blank: kept at the end, encoded", "a\r\n\x7F", "'a%0D%0A%7F'"},
        {"percent encoded before anything else", "remise 10%AB", "'remise 10%25AB'"},
        {"percent that looks like an escape", "%41", "'%2541'"},
        {"quote, ampersand, angle brackets", "<a & \"b\">", "'%3Ca %26 %22b%22%3E'"},
        {"plus, equals, question mark unchanged", "1+1=2?", "'1+1=2?'"},
        {"Latin-1 letters unchanged", Latin1FromUtf8("Réservation"), "'R\xE9servation'"},
    };
    for (const auto& c : cases) EXPECT_EQ(SqlText(c.in), c.out) << c.name;
}

TEST(Encoders, SqlNumber) {
    const Case cases[] = {
        {"comma becomes dot, trimmed", " 12,50 ", "12.50"},
        {"every comma", "1,234,5", "1.234.5"},
        {"not validated", "abc", "abc"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SqlNumber(c.in), c.out) << c.name;
}

TEST(Encoders, SqlDate) {
    const Case cases[] = {
        {"day first becomes month first", "31/12/2009", "#12/31/2009#"},
        {"one-digit parts padded", "1/2/2009", "#02/01/2009#"},
        {"blanks around", " 05/06/2010 ", "#06/05/2010#"},
        {"leap day", "29/02/2024", "#02/29/2024#"},
        {"two-digit year", "01/03/09", "#03/01/2009#"},
        {"not a leap year", "29/02/2023", "NULL"},
        {"impossible day", "31/02/2010", "NULL"},
        {"empty", "", "NULL"},
        {"empty date mask", "__/__/____", "NULL"},
        {"zero date", "30/12/1899", "NULL"},
        {"month first is not accepted as such", "12/31/2009", "NULL"},
        {"trailing garbage", "31/12/2009x", "NULL"},
    };
    for (const auto& c : cases) EXPECT_EQ(SqlDate(c.in), c.out) << c.name;
}

TEST(ExchangeRules, UrlBlanksAndHashOnly) {
    EXPECT_EQ(EncodeUrlBlanks("a b#c d+e%20'[x]>=\xE9"), "a%20b%23c%20d+e%20'[x]>=\xE9");
}

TEST(ExchangeRules, TimeoutMarkers) {
    const struct {
        const char* answer;
        bool timeout;
    } cases[] = {
        {"<x>WAIT_TIMEOUT</x>", true},
        {"<x>wait_timeout</x>", true},
        {"<x>Wait_TimeOut</x>", true},
        {"<x><![CDATA[TIMEOUT]]></x>", true},
        {"<x><![cdata[timeout]]></x>", true},
        {"<x>TIMEOUT</x>", false},
        {"<AXQueryS RowCount=\"0\" EOF=\"1\"></AXQueryS>", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasTimeoutMarker(c.answer), c.timeout) << c.answer;
}

TEST(ExchangeRules, CodePageRewrite) {
    EXPECT_EQ(RewriteCodePage("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a>8859-15</a>"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>8859-1</a>");
}

TEST(ExchangeRules, LogItems) {
    EXPECT_EQ(LogItemsText("<r><LogItems><LogItem>un</LogItem><LogItem>deux</LogItem>"
                           "<LogItem>trois</LogItem></LogItems></r>"),
              "un - deux - trois - ");
    EXPECT_EQ(LogItemsText("<r><OutParams><NewID>12</NewID></OutParams></r>"), "");
    EXPECT_EQ(LogItemsText("not xml at all"), "");
}

TEST(ExchangeRules, RelativeReference) {
    const struct {
        const char *last, *reference, *resolved;
    } cases[] = {
        {"http://h:8/tarmel/AxQuery?SQL=a/b", "AxInsert", "http://h:8/tarmel/AxInsert"},
        {"http://h:8", "AxInsert", "http://h:8/AxInsert"},
        {"http://h:8/x/AxInfoVO", "http://o/AxInsert", "http://o/AxInsert"},
        {"", "AxInsert", "AxInsert"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveAgainst(c.last, c.reference), c.resolved) << c.last;
}

}  // namespace
}  // namespace tarmel
