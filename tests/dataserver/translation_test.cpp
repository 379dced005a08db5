// The pure pieces of the data server: query strings, the dialect, dates, answers, forms, names.
#include <gtest/gtest.h>

#include "dataserver/datetext.h"
#include "dataserver/dialect.h"
#include "dataserver/multipart.h"
#include "dataserver/querystring.h"
#include "dataserver/uploads.h"
#include "dataserver/xmlanswer.h"
#include "tests/dataserver/rawhttp.h"
#include "tests/support/xmllint.h"

namespace tarmel::dataserver {
namespace {

TEST(QueryString, DecodesOnlyPercentTriplets) {
    struct Case {
        const char* raw;
        const char* decoded;
    };
    const Case cases[] = {
        {"a+b", "a+b"},        // a plus sign stays a plus sign
        {"%41%2b%2B", "A++"},  // either case of hex digits
        {"100%", "100%"},      // a "%" without two hex digits stays
        {"%4", "%4"},         {"%zz", "%zz"},
        {"%0D%0A", "\r\n"},   {"caf\xE9", "caf\xE9"},  // Latin-1 bytes arrive raw and stay raw
        {"%25%32%30", "%20"},                          // decoded once only
    };
    for (const Case& c : cases) EXPECT_EQ(PercentDecode(c.raw), c.decoded) << c.raw;
}

TEST(QueryString, SplitsOnlyWhereAParameterStarts) {
    QueryParams p = ParseQuery(
        "XMLC_OutputFormat=XML&SQL=SELECT CliNom FROM tClients Where (CliNom like '%A&B%') and "
        "x=1&MaxRows=50&idClient=");
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[1].first, "SQL");
    EXPECT_EQ(p[1].second, "SELECT CliNom FROM tClients Where (CliNom like '%A&B%') and x=1");
    EXPECT_EQ(*FindParam(p, "maxrows"), "50");
    EXPECT_EQ(*FindParam(p, "idClient"), "");
    EXPECT_FALSE(FindParam(p, "rptName"));
    // Inside a literal of the statement even "&name=" stays; outside, parameters follow.
    QueryParams r =
        ParseQuery("SQL=select 1 where a like '%R&D=1%' and b='x''&y=2'&MaxRows=5&idClient=7");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].second, "select 1 where a like '%R&D=1%' and b='x''&y=2'");
    EXPECT_EQ(*FindParam(r, "MaxRows"), "5");
    EXPECT_EQ(*FindParam(r, "idClient"), "7");
    QueryParams encoded = ParseQuery("SQLExecute=update t set a=%27&b=1%27&idClient=");
    ASSERT_EQ(encoded.size(), 2u);
    EXPECT_EQ(encoded[0].second, "update t set a='&b=1'");
    // Only the first "=" splits an item.
    QueryParams q = ParseQuery("SQLExecute=Update T set A=1 where (K=2)");
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].second, "Update T set A=1 where (K=2)");
}

TEST(Dates, AccessDatesBecomeIsoAndImpossibleOnesAreRefused) {
    struct Case {
        const char* access;
        const char* iso;  // nullptr: refused
    };
    const Case cases[] = {
        {"03/14/2024", "2024-03-14"},
        {"3/4/2024", "2024-03-04"},
        {"02/29/2024", "2024-02-29"},
        {"02/29/2023", nullptr},
        {"02/29/1900", nullptr},
        {"02/29/2000", "2000-02-29"},
        {"13/01/2024", nullptr},
        {"04/31/2024", nullptr},
        {"00/10/2024", nullptr},
        {"12/31/2009 23:59:58", "2009-12-31 23:59:58"},
        {"12/31/2009 24:00", nullptr},
        {"12/31/09", nullptr},
        {"", nullptr},
        {"12/31/2009x", nullptr},
    };
    for (const Case& c : cases) {
        std::string iso = "untouched";
        bool ok = IsoFromAccessDate(c.access, iso);
        if (c.iso == nullptr) {
            EXPECT_FALSE(ok) << c.access;
            EXPECT_EQ(iso, "untouched");
        } else {
            EXPECT_TRUE(ok) << c.access;
            EXPECT_EQ(iso, c.iso);
        }
    }
    std::string display;
    ASSERT_TRUE(DisplayFromIso("2009-12-31", display));
    EXPECT_EQ(display, "31/12/2009");
    EXPECT_FALSE(DisplayFromIso("31/12/2009", display));
}

TEST(Dialect, TranslatesTheClientsConstructsOutsideLiterals) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"select * from T where D=#03/14/2024#", "select * from T where D='2024-03-14'"},
        {"Delete * From [tVO - Frevo] where idVO=7", "Delete From [tVO - Frevo] where idVO=7"},
        {"DELETE * FROM tVehicles WHERE (((TypeVO)=2) AND ((Acheteur) Is Null));",
         "DELETE FROM tVehicles WHERE (((TypeVO)=2) AND ((Acheteur) Is Null))"},
        {"Update T set A=1 where (isNull(K))", "Update T set A=1 where (((K) IS NULL))"},
        {"select 1 where not isnull(f(a, (b)))", "select 1 where not ((f(a, (b))) IS NULL)"},
        {"select ISNULL ( x ) , y", "select (( x ) IS NULL) , y"},
        {"select True, False from T;  ", "select True, False from T  "},
        // Nothing inside a literal changes: no date, no isNull, no "Delete * From", no ";".
        {"select 'a #01/01/2024# isNull(x) Delete * From t;' from T",
         "select 'a #01/01/2024# isNull(x) Delete * From t;' from T"},
        {"select 'it''s #1#' from T", "select 'it''s #1#' from T"},
        {"select [a name;#x#] from T", "select [a name;#x#] from T"},
        {"select x from T where a='%22quoted%22'", "select x from T where a='%22quoted%22'"},
    };
    for (const Case& c : cases) {
        DialectResult r = TranslateDialect(c.in);
        ASSERT_TRUE(r.ok) << c.in << " : " << r.error;
        EXPECT_EQ(r.sql, c.out);
    }
}

TEST(Dialect, RefusesWhatItCannotTranslate) {
    for (const char* bad :
         {"select * from T where D=#02/29/2023#", "select * from T where D=#1#", "select 'open",
          "select [open", "select #03/14/2024", "select isNull(a from T", "select 1 /* open"}) {
        DialectResult r = TranslateDialect(bad);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_FALSE(r.error.empty()) << bad;
    }
    // A ";" that is not the last token is left for the one-statement check.
    DialectResult two = TranslateDialect("select 1; delete from T");
    ASSERT_TRUE(two.ok);
    EXPECT_EQ(two.sql, "select 1; delete from T");
}

TEST(Answer, ValuesAreEscapedAndLineBreaksBecomeCr) {
    EXPECT_EQ(XmlText("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d\"e'f");
    EXPECT_EQ(XmlText("l1\r\nl2\nl3\rl4"), "l1&cr;l2&cr;l3&cr;l4");
    EXPECT_EQ(XmlText(std::string("a\0b\x01\x7F", 5)), "a?b??");
    EXPECT_EQ(XmlText("R\xE9servation"), "R\xE9servation");
    EXPECT_EQ(XmlName("VO_ID"), "VO_ID");
    EXPECT_EQ(XmlName("count(*)"), "count___");
    EXPECT_EQ(XmlName("1x"), "_1x");
    EXPECT_EQ(XmlName(""), "_");
}

TEST(Answer, EveryDocumentIsWellFormed) {
    AnswerWriter w("AXQueryS", {{"RowCount", "1"}, {"EOF", "a\"b<"}});
    w.Open("AXQuery");
    w.Value("CliNom", "Fran\xE7ois & fils\r\n<SA>");
    w.Value("Vide", "");
    w.Close("AXQuery");
    const std::string doc =
        w.Finish({"Requ\xEAte refus\xE9"
                  "e : <x> & y"});
    EXPECT_NE(doc.find("<Vide></Vide>"), std::string::npos);
    EXPECT_NE(doc.find("<LogItems><LogItem>"), std::string::npos);
    EXPECT_EQ(testsupport::XmlProblems(doc), "");
    EXPECT_EQ(testsupport::XmlProblems(LogDocument("AXExecute", {"\x01\x02"})), "");
}

TEST(Multipart, SplitsTheFieldsAndFilesOfTheUploadForm) {
    const std::string body =
        "--XyZ\r\nContent-Disposition: form-data; name=\"NFImage\"\r\n\r\nB0004711-01.jpg\r\n"
        "--XyZ\r\nContent-Disposition: form-data; name=\"File\"; filename=\"a;b.jpg\"\r\n"
        "Content-Type: file\r\n\r\n\xFF\xD8\xFF\r\n--XyZ\r\ntail\r\n"
        "--XyZ--\r\n";
    std::vector<FormPart> parts;
    std::string error;
    ASSERT_FALSE(ParseMultipart(body, "XyZ", parts, error));  // the third part has no headers end
    const std::string good =
        "--XyZ\r\nContent-Disposition: form-data; name=\"NFImage\"\r\n\r\nB0004711-01.jpg\r\n"
        "--XyZ\r\nContent-Disposition: form-data; name=\"File\"; filename=\"a;b.jpg\"\r\n"
        "Content-Type: file\r\n\r\n\xFF\xD8\xFF\r\n--Xy\r\n--XyZ--\r\n";
    ASSERT_TRUE(ParseMultipart(good, "XyZ", parts, error)) << error;
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].name, "NFImage");
    EXPECT_FALSE(parts[0].filename);
    EXPECT_EQ(parts[0].data, "B0004711-01.jpg");
    EXPECT_EQ(*parts[1].filename, "a;b.jpg");
    EXPECT_EQ(parts[1].contentType, "file");
    EXPECT_EQ(parts[1].data, "\xFF\xD8\xFF\r\n--Xy");
    EXPECT_EQ(*BoundaryOf("multipart/form-data; boundary=\"XyZ\""), "XyZ");
    EXPECT_EQ(*BoundaryOf("Multipart/Form-Data;boundary=XyZ"), "XyZ");
    EXPECT_FALSE(BoundaryOf("text/xml"));
    EXPECT_EQ(*BoundaryFromBody(good), "XyZ");
    EXPECT_FALSE(ParseMultipart("--XyZ\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nno end",
                                "XyZ", parts, error));
}

TEST(PhotoNames, OnlyPlainJpegNamesAreAccepted) {
    for (const char* good : {"B0004711-01.jpg", "B0004711-01m.jpg", "X.JPG", "a_b.c.jpg"}) {
        EXPECT_TRUE(IsSafePhotoName(good)) << good;
    }
    for (const std::string& bad : std::vector<std::string>{
             "../x.jpg", "..\\x.jpg", "/tmp/x.jpg", "%2e%2e.jpg", "a/b.jpg", ".hidden.jpg",
             "x.jpeg", "x.jpg.sh", "a..b.jpg", ".jpg", "x y.jpg", "C:x.jpg",
             std::string("x\0.jpg", 6), std::string(120, 'a') + ".jpg"}) {
        EXPECT_FALSE(IsSafePhotoName(bad)) << bad;
    }
}

}  // namespace
}  // namespace tarmel::dataserver
