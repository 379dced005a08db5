// Refusals over HTTP: whoever refuses a request (the endpoint, the statement, the HTTP layer, a
// document builder), the answer has the form of the endpoint's own answer, so the client's reader
// for that endpoint finds its root element and the French message in the LogItem.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "server/xml/texttools.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/databasefile.h"
#include "tests/support/pgtestcluster.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

// The name of the document's root element, and in doctype the name its DOCTYPE declares.
std::string RootOf(const std::string& document, std::string& doctype) {
    doctype.clear();
    size_t at = 0;
    while ((at = document.find('<', at)) != std::string::npos) {
        if (document.compare(at, 2, "<?") == 0) {
            at = document.find("?>", at);
        } else if (document.compare(at, 9, "<!DOCTYPE") == 0) {
            const size_t name = document.find_first_not_of(' ', at + 9);
            doctype = document.substr(name, document.find_first_of(" [>", name) - name);
            const size_t subset = document.find('[', at);
            at = document.find(subset < document.find('>', at) ? "]>" : ">", at);
        } else {
            const size_t name = at + 1;
            return document.substr(name, document.find_first_of(" />", name) - name);
        }
        if (at == std::string::npos) break;
    }
    return std::string();
}

// A GET as the client sends it: blanks as "%20", nothing else encoded.
std::string Get(const std::string& target) {
    std::string encoded;
    for (char c : target) encoded += c == ' ' ? std::string("%20") : std::string(1, c);
    return "GET " + encoded + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

// A request with a compressed body, which the HTTP layer refuses before reading it.
std::string Compressed(const std::string& method, const std::string& path) {
    return method + " " + path +
           " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 20\r\nContent-Encoding: gzip\r\n"
           "Connection: close\r\n\r\n" +
           std::string(
               "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\x01\x00\x00\xff\xff\x00\x00\x00"
               "\x00\x00",
               20);
}

std::string Jpeg(size_t size, char fill) {
    std::string data(size, fill);
    data[0] = '\xFF';
    data[1] = '\xD8';
    data[2] = '\xFF';
    return data;
}

const char* const kSms = "/tools/smssend/smssend.php5";

struct Expected {
    int status;
    const char* root;     // empty: a plain-text answer
    std::string message;  // UTF-8; part of the LogItem (or of the plain text)
};

// The answer is the refusal expected: for an XML endpoint a well-formed Latin-1 document whose
// root (and DOCTYPE) is the endpoint's root holding exactly one LogItem with the message.
void ExpectRefusal(const HttpAnswer& a, const Expected& e, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_NE(a.status, 0) << "no answer";
    EXPECT_EQ(a.status, e.status) << a.body;
    EXPECT_NE(a.header("Content-Type").find("ISO-8859-1"), std::string::npos) << a.head;
    const std::string message = tarmel::Latin1FromUtf8(e.message);
    if (std::string(e.root).empty()) {
        EXPECT_EQ(a.header("Content-Type").find("text/plain"), 0u) << a.head;
        EXPECT_NE(a.body.find(message), std::string::npos) << a.body;
        EXPECT_EQ(a.body.find('<'), std::string::npos) << a.body;
        return;
    }
    EXPECT_EQ(a.header("Content-Type").find("text/xml"), 0u) << a.head;
    EXPECT_EQ(XmlProblems(a.body), "") << a.body;
    std::string doctype;
    EXPECT_EQ(RootOf(a.body, doctype), e.root) << a.body;
    EXPECT_EQ(doctype, e.root) << a.body;
    const std::vector<std::string> items = LogItemsOf(a.body);
    ASSERT_EQ(items.size(), 1u) << a.body;
    EXPECT_NE(items[0].find(message), std::string::npos) << items[0];
}

class Refusals : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new DataServerProcess(); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    static HttpAnswer Send(const std::string& request) {
        return RawRequest(server_->port(), request, 5000);
    }
    static DataServerProcess* server_;
};
DataServerProcess* Refusals::server_ = nullptr;

TEST_F(Refusals, EachEndpointRefusesUnderTheRootOfItsOwnAnswer) {
    const std::string link =
        "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) VALUES "
        "(:NewID, 99001, 1, 'Zr1', '2024-03-14 10:11:12')";
    const std::vector<Part> upload = {
        {"NFImage", "", "Zr1.jpg"},       {"SQLExecute", "", link},
        {"MAX_FILE_SIZE", "", "4096000"}, {"File", "Zr1.jpg", Jpeg(200, 'a')},
        {"NFImageMini", "", "Zr1m.jpg"},  {"File", "Zr1m.jpg", Jpeg(20, 'b')}};
    auto rubric = [](const char* type) {
        return "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, RubricText) Values "
               "('" +
               std::string(type) + "', 0, '..', 'x')";
    };
    struct Case {
        const char* endpoint;
        std::string accepted;  // a request the endpoint answers, under the same root; may be empty
        std::string refused;
        Expected expected;
    };
    const Case cases[] = {
        {"AxQuery",
         Get("/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=select 1 as one"),
         Get("/tarmel/AxQuery?XMLC_OutputFormat=XML"),
         {200, "AXQueryS", "Paramètre SQL manquant"}},
        {"AxQuery",
         "",
         Get("/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=SELECT * FROM tNowhere"),
         {200, "AXQueryS", TestsOnPostgres() ? "tnowhere" : "tNowhere"}},
        {"AxUpdate",
         Get("/tarmel/AxUpdate?XMLC_OutputFormat=XML&SQLExecute=" + rubric("ZTREFUS1")),
         Get("/tarmel/AxUpdate?XMLC_OutputFormat=XML&SQLExecute=UPDATE tNowhere SET a=1"),
         {200, "AXExecute", TestsOnPostgres() ? "tnowhere" : "tNowhere"}},
        {"AxInsert",
         Get("/tarmel/AxInsert?XMLC_OutputFormat=XML&SQLExecute=" + rubric("ZTREFUS2")),
         Get("/tarmel/AxInsert?XMLC_OutputFormat=XML"),
         {200, "AXExecute", "Paramètre SQLExecute manquant"}},
        {"AxInsert (upload)",
         MultipartRequest("/tarmel/AxInsert", upload),
         MultipartRequest("/tarmel/AxInsert", {{"SQLExecute", "", link}}),
         {200, "AXExecute", "Envoi refusé : champ NFImage, NFImageMini ou SQLExecute manquant"}},
        {"AxInfoVO",
         Get("/tarmel/AxInfoVO?XMLC_OutputFormat=XML&idTVO=0&UserID=1"),
         "POST /tarmel/AxInfoVO HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: "
         "close\r\n\r\n",
         {404, "AxInfoVO", "Adresse inconnue : POST /tarmel/AxInfoVO"}},
        {"AxInfoCL",
         Get("/tarmel/AxInfoCL?XMLC_OutputFormat=XML&UserID=1&idClient=-1"),
         "POST /tarmel/AxInfoCL HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: "
         "close\r\n\r\n",
         {404, "AxInfoCL", "Adresse inconnue : POST /tarmel/AxInfoCL"}},
        {"AxInfoEquip",
         Get("/tarmel/AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=ZZZ"),
         "POST /tarmel/AxInfoEquip HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: "
         "close\r\n\r\n",
         {404, "AxInfoEquip", "Adresse inconnue : POST /tarmel/AxInfoEquip"}},
        {"AxInfoStruct",
         Get("/tarmel/AxInfoStruct?XMLC_OutputFormat=XML&UserConcession=ZZZ"),
         "POST /tarmel/AxInfoStruct HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: "
         "close\r\n\r\n",
         {404, "axStructS", "Adresse inconnue : POST /tarmel/AxInfoStruct"}},
        {"ReportPDF",
         "",
         Get("/tarmel/ReportPDF?rptName=VO - Fiche Commerciale"),
         {200, "ReportPDF", "Paramètres rptSelect (idVO= ou idClient= suivi du numéro)"}},
        {"ReportPDF",
         "",
         Get("/tarmel/ReportPDF?rptSelect=idVO=999999999&rptName=VO - Fiche Commerciale"),
         {200, "ReportPDF", "Véhicule introuvable : 999999999"}},
        {"SMS",
         "",
         MultipartRequest(kSms, {{"texte", "", "essai"}}),
         {200, "", "telephonySmsSend en échec : champ destinataire ou texte manquant"}},
        {"photos", "", Get("/tarmel/images/Z0000000-01.jpg"), {404, "", "Photo introuvable"}},
    };
    for (const Case& c : cases) {
        ExpectRefusal(Send(c.refused), c.expected, c.endpoint);
        if (c.accepted.empty()) continue;
        const HttpAnswer a = Send(c.accepted);
        std::string doctype;
        EXPECT_EQ(a.status, 200) << c.endpoint << "\n" << a.body;
        EXPECT_EQ(RootOf(a.body, doctype), c.expected.root) << c.endpoint << "\n" << a.body;
        EXPECT_TRUE(LogItemsOf(a.body).empty()) << c.endpoint << "\n" << a.body;
    }
}

TEST_F(Refusals, TheHttpLayerRefusesInTheFormOfTheEndpointAsked) {
    const std::string compressed = "Requête refusée : corps compressé non accepté";
    struct Case {
        const char* method;
        const char* path;
        Expected expected;
    };
    const Case cases[] = {
        {"GET", "/tarmel/AxQuery", {200, "AXQueryS", compressed}},
        {"GET", "/tarmel/AxUpdate", {200, "AXExecute", compressed}},
        {"GET", "/tarmel/AxInsert", {200, "AXExecute", compressed}},
        {"POST", "/tarmel/AxInsert", {200, "AXExecute", compressed}},
        {"GET", "/tarmel/AxInfoVO", {200, "AxInfoVO", compressed}},
        {"GET", "/tarmel/AxInfoCL", {200, "AxInfoCL", compressed}},
        {"GET", "/tarmel/AxInfoEquip", {200, "AxInfoEquip", compressed}},
        {"GET", "/tarmel/AxInfoStruct", {200, "axStructS", compressed}},
        {"GET", "/tarmel/ReportPDF", {200, "ReportPDF", compressed}},
        {"POST", kSms, {200, "", "telephonySmsSend en échec : " + compressed}},
        {"GET", "/tarmel/images/Z0000000-01.jpg", {404, "", compressed}},
        // The routes ignore the case of the path; so does the choice of the root.
        {"GET", "/TARMEL/axinfocl", {200, "AxInfoCL", compressed}},
        {"GET", "/tarmel/IMAGES/x.jpg", {404, "", compressed}},
        // No endpoint: answered like a statement. The last segment alone does not name one.
        {"GET", "/tarmel/Nowhere", {200, "AXExecute", compressed}},
        {"GET", "/elsewhere/AxQuery", {200, "AXExecute", compressed}},
        {"GET", "/tarmel/AxInfoVO/more", {200, "AXExecute", compressed}},
    };
    for (const Case& c : cases) {
        ExpectRefusal(Send(Compressed(c.method, c.path)), c.expected,
                      std::string(c.method) + " " + c.path);
    }
}

// A document builder that meets a database fault answers under its own root; the next request
// is served as usual.
TEST(DocumentRefusals, ABuilderFaultIsALogItemUnderTheDocumentRoot) {
    DataServerProcess server;
    ASSERT_TRUE(ExecuteStatements(server.databasePath(),
                                  "DROP TABLE tOptionLists; DROP TABLE tStructure; "
                                  "DROP TABLE tReservations; DROP TABLE tActions"));
    struct Case {
        const char* target;
        const char* root;
        const char* table;
    };
    const Case cases[] = {
        {"/tarmel/AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=LYO", "AxInfoEquip",
         "tOptionLists"},
        {"/tarmel/AxInfoStruct?XMLC_OutputFormat=XML&UserConcession=LYO", "axStructS",
         "tStructure"},
        {"/tarmel/AxInfoVO?XMLC_OutputFormat=XML&idTVO=0&UserID=1", "AxInfoVO", "tReservations"},
        {"/tarmel/AxInfoCL?XMLC_OutputFormat=XML&UserID=1", "AxInfoCL", "tActions"},
    };
    for (const Case& c : cases) {
        // The database's own words for the missing table.
        const std::string message =
            TestsOnPostgres()
                ? "Erreur interne : relation \"" + std::string(c.table) + "\" does not exist"
                : "Erreur interne : no such table: " + std::string(c.table);
        ExpectRefusal(ClientGet(server.port(), c.target, "-1"), {200, c.root, message}, c.target);
    }
    EXPECT_TRUE(Query(server, "select 1 as one").logItems.empty());
}

}  // namespace
}  // namespace tarmel::testsupport
