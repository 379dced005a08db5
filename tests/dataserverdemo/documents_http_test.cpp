// The document endpoints over HTTP, on the real server started over a fresh demo database: each
// answers a well-formed Latin-1 document, and what the client's statements store is what the
// next document shows, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/xml/texttools.h"
#include "server/xml/txml.h"
#include "tests/dataserver/rawhttp.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/pgtestcluster.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

std::string Value(const std::string& doc, const char* element, const char* child) {
    TXml r(doc);
    XmlFind(r, element);
    std::string v = "\x01";
    XmlValue(r, child, v);
    return v;
}

class DocumentEndpoints : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new DataServerProcess(); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    static HttpAnswer Get(const std::string& target, const std::string& idClient = "") {
        return ClientGet(server_->port(), "/tarmel/" + target, idClient);
    }
    static std::string FirstUsedVehicle() {
        const auto rows = Query(
            *server_, "SELECT idTVO FROM tVehicles WHERE TypeVO=1 ORDER BY idVO", 1);
        return rows.rows.empty() ? std::string() : rows.rows[0].at("idTVO");
    }
    static DataServerProcess* server_;
};
DataServerProcess* DocumentEndpoints::server_ = nullptr;

TEST_F(DocumentEndpoints, EachAnswersAWellFormedLatin1Document) {
    const std::string vehicle = FirstUsedVehicle();
    ASSERT_FALSE(vehicle.empty());
    struct Case {
        std::string target;
        std::string idClient;
        const char* mustHold;
    };
    const Case cases[] = {
        {"AxInfoStruct?XMLC_OutputFormat=XML&UserConcession=LYO", "", "<axStructS><axStruct>"},
        {"AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=LYO", "", "<ParsS><Pars><type>"},
        {"AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + vehicle + "&UserID=3", "", "<tVO><idVO>"},
        {"AxInfoCL?XMLC_OutputFormat=XML&UserID=9", "-1", "<TVC></TVC>"},
        // Hostile or missing parameters still give the document, empty.
        {"AxInfoVO?XMLC_OutputFormat=XML&idTVO=1%20or%201=1&UserID='", "", "<tVO></tVO>"},
        {"AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=%27;DROP", "", "<ParsS>"},
    };
    for (const Case& c : cases) {
        const HttpAnswer a = Get(c.target, c.idClient);
        EXPECT_EQ(a.status, 200) << c.target;
        EXPECT_NE(a.header("Content-Type").find("ISO-8859-1"), std::string::npos) << c.target;
        EXPECT_EQ(XmlProblems(a.body), "") << c.target;
        EXPECT_NE(a.body.find(c.mustHold), std::string::npos) << c.target;
    }
}

TEST_F(DocumentEndpoints, WhatAPageUpdateStoresTheRecordDocumentShows) {
    const std::string vehicle = FirstUsedVehicle();
    const std::string doc = Get("AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + vehicle + "&UserID=4").body;
    const std::string idVO = Value(doc, "tVO", "idVO");
    ASSERT_NE(idVO, "\x01");
    // The page statement as the client sends it: text through the text encoder (apostrophe
    // doubled, line break as %0D%0A, ampersand as %26), Latin-1 bytes raw.
    const std::string sql = Latin1FromUtf8(
                                "Update tVehicles set Commentaires='Très bon état, l''intérieur "
                                "%26 le moteur.%0D%0ARévisé',PrixVente=12345.60 where (idVO=") +
                            idVO + ")";
    const auto outcome = Execute(*server_, "AxUpdate", sql);
    ASSERT_TRUE(outcome.logItems.empty()) << outcome.raw;
    const std::string after = Get("AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + vehicle + "&UserID=4").body;
    EXPECT_EQ(Value(after, "tVO", "Commentaires"),
              Latin1FromUtf8("Très bon état, l'intérieur &amp; le moteur.&cr;Révisé"));
    EXPECT_EQ(Value(after, "tVO", "PrixVente"), "12345.60");
}

TEST_F(DocumentEndpoints, ListMaintenanceShowsInTheNextValueLists) {
    const std::string sql = Latin1FromUtf8(
        "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, "
        "RubricText) Values ('Energie', 0, '..' ,'Bioéthanol E85')");
    const auto outcome = Execute(*server_, "AxUpdate", sql);
    ASSERT_TRUE(outcome.logItems.empty()) << outcome.raw;
    const std::string equip = Get("AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=LYO").body;
    EXPECT_NE(
        equip.find(Latin1FromUtf8("<Pars><type>Energie</type><text>Bioéthanol E85</text></Pars>")),
        std::string::npos);
}

// The same demo on both databases answers the same bytes: documents of every kind and the
// client's searches, counts and sums. (Run in the PostgreSQL half, which has the cluster.)
TEST(BothDatabases, AnswerTheSameBytes) {
    if (!TestsOnPostgres()) GTEST_SKIP() << "compared in the PostgreSQL run, which has both";
    DataServerProcess sqlite(DataServerProcess::Database::SQLite, {});
    DataServerProcess postgres(DataServerProcess::Database::PostgreSQL, {});
    std::vector<std::string> targets = {
        "AxInfoStruct?XMLC_OutputFormat=XML&UserConcession=LYO",
        "AxInfoStruct?XMLC_OutputFormat=XML&UserConcession=DAU",
        "AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=LYO",
        "AxInfoEquip?XMLC_OutputFormat=XML&UserConcession=QUINTAR",
    };
    const std::vector<std::string> searches = {
        "SELECT TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
        "[InfoMarque], [InfoModele], DateOrdre AS VO_ORDRE, Site as VO_SITE FROM TVehicles Where "
        "(Concession='LYO') and ((Immatriculation like '%a%')) ORDER BY Immatriculation, "
        "DateOrdre desc",
        "SELECT idClient, CliNom, CliPrenom, CliMobile, CliVille FROM tClients Where "
        "(CliNom like '%MA%') ORDER BY CliNom, CliPreNom, idClient desc",
        "select count(idClient) as cpt from tClients group by Concession order by cpt",
        "select max(DateOrdre) as Dernier, sum(PrixVente) as Total, avg(KMS) as Moyenne from "
        "tVehicles where isNull(DateAnnulation)",
        "select * from [tVO - Frevo] where MontantHT > 100 order by idFrevo",
        "select * from tActions where DateAction >= #01/01/2025# order by idAction",
    };
    for (const std::string& sql : searches) {
        std::string encoded;
        for (char c : sql) encoded += c == '%' ? std::string("%25") : std::string(1, c);
        targets.push_back("AxQuery?XMLC_OutputFormat=XML&MaxRows=40&SQL=" + encoded);
    }
    const Rowset vehicles = Query(sqlite, "select idTVO from tVehicles order by idVO", 12);
    for (const auto& row : vehicles.rows) {
        targets.push_back("AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + row.at("idTVO") +
                          "&UserID=3");
    }
    const Rowset clients = Query(sqlite, "select idClient from tClients order by idClient", 12);
    for (const auto& row : clients.rows) {
        targets.push_back("AxInfoCL?XMLC_OutputFormat=XML&UserID=4&idClient=" +
                          row.at("idClient"));
    }
    ASSERT_EQ(vehicles.rows.size(), 12u);
    ASSERT_EQ(clients.rows.size(), 12u);
    for (const std::string& target : targets) {
        const HttpAnswer a = ClientGet(sqlite.port(), "/tarmel/" + target);
        const HttpAnswer b = ClientGet(postgres.port(), "/tarmel/" + target);
        ASSERT_EQ(a.status, 200) << target;
        EXPECT_TRUE(LogItemsOf(a.body).empty()) << target << "\n" << a.body;
        if (a.body == b.body) continue;
        size_t at = 0;
        while (at < a.body.size() && at < b.body.size() && a.body[at] == b.body[at]) ++at;
        const size_t from = at < 120 ? 0 : at - 120;
        ADD_FAILURE() << target << "\nSQLite:     ..." << a.body.substr(from, 240)
                      << "\nPostgreSQL: ..." << b.body.substr(from, 240);
    }
}

}  // namespace
}  // namespace tarmel::testsupport
