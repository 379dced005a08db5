// A memo's control bytes through the whole road: the page statement built with the text encoder,
// sent by the window's own exchange (libcurl) to the real server, stored, and read back with
// "AxQuery" as the client reads its answers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "server/encoders.h"
#include "server/serverlink.h"
#include "server/xml/txml.h"
#include "tests/support/databasefile.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using testsupport::DataServerProcess;

struct Window : ExchangeHost {
    std::string warning;
    std::string openClientId() const override { return {}; }
    void showWarning(const std::string& text) override { warning = text; }
};

// The text of a column, read straight from the server's database (no answer writer in between).
std::string StoredText(const std::string& databasePath, const std::string& sql) {
    return tarmel::testsupport::FirstValue(databasePath, sql);
}

class MemoRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<DataServerProcess>(); }
    static void TearDownTestSuite() { server_.reset(); }

    MemoRoundTrip() : link(window) {}

    // A GET as the window sends it; the answer is the result file, and no warning may come.
    TXml Exchange(const std::string& endpointAndQuery) {
        link.HttpExecute(server_->baseHRef() + endpointAndQuery, dir.file("XmlAXSQLVO.xml"));
        EXPECT_EQ(window.warning, "") << endpointAndQuery;
        return TXml(testsupport::readFile(dir.file("XmlAXSQLVO.xml")));
    }
    std::string Execute(const std::string& endpoint, const std::string& sql) {
        TXml answer = Exchange(endpoint + "?XMLC_OutputFormat=XML&SQLExecute=" + sql);
        std::string newId;
        XmlFind(answer, "OutParams");
        XmlValue(answer, "NewID", newId);
        return newId;
    }
    std::string QueryOne(const std::string& sql, const char* column) {
        TXml answer = Exchange("AxQuery?XMLC_OutputFormat=XML&SQL=" + sql);
        std::string value = "<no row>";
        XmlFind(answer, "AXQueryS");
        if (XmlNext(answer, "AXQuery") > 0) XmlValue(answer, column, value);
        return value;
    }

    static std::unique_ptr<DataServerProcess> server_;
    testsupport::ScratchDir dir;
    Window window;
    ServerLink link;
};
std::unique_ptr<DataServerProcess> MemoRoundTrip::server_;

TEST_F(MemoRoundTrip, TabsAndLoneLineBreaksOfAMemoAreStoredAndComeBack) {
    const std::string idTVO =
        Execute("AxInsert",
                "Insert into tVehicles (NVO,Immatriculation,InfoMarque,Site, idTVO, TypeVO, idVO, "
                "idOwner, Concession) Values (4712,'MM-404-RT','Renault','NORD', :NewID, 1, "
                ":NewIDbis,17, 'ZT2')");
    ASSERT_FALSE(idTVO.empty());
    const std::string idVO = QueryOne("select idVO from tVehicles where idTVO=" + idTVO, "idVO");

    // Pasted from a spreadsheet, then typed: a tab, a lone LF, a lone CR and a CR LF pair.
    const std::string memo = "Pneus\t4 x 90\tTTC\nJantes alu\rCarnet & cl\xE9s\r\nfin";
    Execute("AxUpdate",
            "Update tVehicles set Commentaires=" + SqlText(memo) + " where (idVO=" + idVO + ")");

    EXPECT_EQ(StoredText(server_->databasePath(),
                         "select Commentaires from tVehicles where idVO=" + idVO),
              memo)
        << "every byte arrives as typed";
    // Answers write each line break (CR LF, lone CR, lone LF) as "&cr;"; the tab stays a tab.
    EXPECT_EQ(QueryOne("select Commentaires from tVehicles where idVO=" + idVO, "Commentaires"),
              "Pneus\t4 x 90\tTTC&cr;Jantes alu&cr;Carnet &amp; cl\xE9s&cr;fin");
}

}  // namespace
}  // namespace tarmel
