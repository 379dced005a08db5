// The identifiers of inserted rows: what "NewID" answers, and the server's counter never handing
// out an identifier a row already holds, whoever chose that row's identifier.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "server/encoders.h"
#include "server/xml/texttools.h"
#include "tests/dataserver/rawhttp.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/databasefile.h"
#include "tests/support/pgtestcluster.h"

namespace tarmel::testsupport {
namespace {

const std::string kDealer = "ZT2";

// The client's own statements, as its pages build them.
std::string ClientPage7() {
    return "Insert into tClients (CliNom,CliPrenom,Site, idClient, DateCreation, idOwner, "
           "Concession) Values ('Compteur','Jean','NORD', :NewID, " +
           SqlDate("14/03/2024") + ",17, '" + kDealer + "')";
}
std::string ClientPage9() {
    return "Insert into tClients (PAMarque1,PAModele1,PAModele2, idOwner, Concession) Values "
           "('Audi','A3','Q2',17, '" +
           kDealer + "')";
}
std::string VehiclePage1() {
    return "Insert into tVehicles (NVO,Immatriculation,InfoMarque,Site, idTVO, TypeVO, idVO, "
           "idOwner, Concession) Values (4711,'ID-001-ZT','Renault','NORD', :NewID, 1, "
           ":NewIDbis,17, '" +
           kDealer + "')";
}
std::string ClientVehiclePage8() {
    return "Insert into TVehiclesClarum (InfoMarque, idClient, idTVO, NVO, idOwner, Concession) "
           "Values ('Peugeot',250, :NewID, :NewIDbis,17, '" +
           kDealer + "')";
}
std::string ActionLine() {
    return "Insert into tActions (DateAction,idCom,TypeAction,CommentaireAction, idClient, "
           "idAction ) Values (#05/20/2010#,12,3,'rappeler', 4711, :NewID)";
}

class Identifiers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<DataServerProcess>(); }
    static void TearDownTestSuite() { server_.reset(); }

    static std::string Ok(const std::string& endpoint, const std::string& sql) {
        Outcome o = Execute(*server_, endpoint, sql);
        EXPECT_TRUE(o.logItems.empty()) << sql << "\n" << o.raw;
        return o.newId;
    }
    static std::string One(const std::string& sql) {
        Rowset r = Query(*server_, sql);
        EXPECT_TRUE(r.logItems.empty()) << sql << "\n" << r.raw;
        if (r.rows.size() != 1 || r.rows[0].size() != 1) return "<not one value>";
        return r.rows[0].begin()->second;
    }
    // Straight into the file, as another program writing the database would.
    static void WriteDirectly(const std::string& sql) {
        EXPECT_TRUE(ExecuteStatements(server_->databasePath(), sql)) << sql;
    }
    // The value the counter handed out last: the next one it would take is one above. On
    // PostgreSQL the counter is the identifier sequence.
    static int64_t Counter() {
        const std::string value =
            FirstValue(server_->databasePath(),
                       TestsOnPostgres() ? "SELECT last_value FROM tarmel_newid"
                                         : "SELECT Value FROM tCounters WHERE Name='NewID'");
        return value.empty() ? -1 : std::stoll(value);
    }

    static std::unique_ptr<DataServerProcess> server_;
};
std::unique_ptr<DataServerProcess> Identifiers::server_;

TEST_F(Identifiers, AnInsertWithoutNewIdAnswersTheIdentifierTheRowWasGiven) {
    struct Case {
        const char* what;
        std::string endpoint, sql;
        // The row named by the answer, "" when the answer must name none.
        std::string rowOf;  // a SELECT returning one value for the answered identifier
        std::string expected;
    };
    const Case cases[] = {
        {"a client's page 9 of a new client", "AxInsert", ClientPage9(),
         "select PAModele2 from tClients where idClient=", "Q2"},
        {"an action without its identifier", "AxInsert",
         "Insert into tActions (CommentaireAction, idClient) Values ('sans id', 4711)",
         "select CommentaireAction from tActions where idAction=", "sans id"},
        {"the same through AxUpdate", "AxUpdate",
         "Insert into [tVO - Frevo] (LibelleFrevo, idVO) Values ('ligne', 99001)",
         "select LibelleFrevo from [tVO - Frevo] where idFrevo=", "ligne"},
        {"a list row, whose table has no identifier", "AxUpdate",
         "Insert into ListModels (VMarque, VModele) Values ('Marque ZT2', 'X')", "", ""},
        {"an update", "AxUpdate",
         "Update tClients set PAModele1='A4' where Concession='" + kDealer + "'", "", ""},
        {"an insert that inserted nothing", "AxInsert",
         "Insert into tClients (CliNom) Select CliNom From tClients Where false", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string id = Ok(c.endpoint, c.sql);
        if (c.rowOf.empty()) {
            EXPECT_EQ(id, "");
            continue;
        }
        ASSERT_FALSE(id.empty());
        EXPECT_EQ(One(c.rowOf + id), c.expected);
    }
    // With ":NewID" the answer stays the value bound to it, here the vehicle record's idTVO and
    // not the row's own key idVO.
    const std::string idTVO = Ok("AxInsert", VehiclePage1());
    ASSERT_FALSE(idTVO.empty());
    EXPECT_NE(One("select idVO from tVehicles where idTVO=" + idTVO), idTVO);
}

TEST_F(Identifiers, TheCounterStepsPastAnIdentifierChosenByAnyoneElse) {
    // Each row takes the value the counter would hand out next, then the client's own insert
    // into that table follows, twice (a save, then another).
    struct Case {
        const char* what;
        std::function<void(int64_t next)> choose;
        std::string table, column, clientInsert;
    };
    const Case cases[] = {
        {"the database, for a page-9 insert after a page-7 insert",
         [](int64_t) {
             // The page-7 client holds the largest identifier, so the database gives the page-9
             // row the very value the counter takes next.
             const std::string client = Ok("AxInsert", ClientPage7());
             ASSERT_FALSE(client.empty());
             EXPECT_EQ(Ok("AxInsert", ClientPage9()), std::to_string(std::stoll(client) + 1));
         },
         "tClients", "idClient", ClientPage7()},
        {"an explicit identifier, well above the counter",
         [](int64_t next) {
             Ok("AxUpdate", "Insert into tActions (idAction, CommentaireAction) Values (" +
                                std::to_string(next + 40) + ", 'explicite')");
         },
         "tActions", "idAction", ActionLine()},
        {"an explicit value of a unique column that is not the row's key",
         [](int64_t next) {
             Ok("AxUpdate", "Insert into tVehicles (idTVO, NVO, Concession) Values (" +
                                std::to_string(next) + ", 1, '" + kDealer + "')");
         },
         "tVehicles", "idTVO", VehiclePage1()},
        {"another program writing the file",
         [](int64_t next) {
             WriteDirectly("INSERT INTO TVehiclesClarum (idTVO, idClient) VALUES (" +
                           std::to_string(next) + ", 250)");
         },
         "TVehiclesClarum", "idTVO", ClientVehiclePage8()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Programs writing a PostgreSQL database take their identifiers from its sequence (the
        // columns' default): the server does not look for identifiers written past it.
        if (TestsOnPostgres() && c.table == "TVehiclesClarum") continue;
        c.choose(Counter() + 1);
        const int64_t highest = std::stoll(One("select max(" + c.column + ") from " + c.table));
        std::string previous;
        for (int save = 0; save < 2; ++save) {
            const std::string id = Ok("AxInsert", c.clientInsert);
            ASSERT_FALSE(id.empty());
            EXPECT_GT(std::stoll(id), highest);
            EXPECT_NE(id, previous);
            EXPECT_EQ(One("select count(*) from " + c.table + " where " + c.column + "=" + id),
                      "1");
            previous = id;
        }
    }
}

TEST_F(Identifiers, AFailedInsertTakesNothingAndItsRetryWorks) {
    const std::string first = Ok("AxInsert", VehiclePage1());
    ASSERT_FALSE(first.empty());
    const std::string idVO = One("select idVO from tVehicles where idTVO=" + first);
    const int64_t before = Counter();
    Outcome failed = Execute(*server_, "AxInsert",
                             "Insert into tVehicles (NVO, idTVO, idVO, Concession) Values (2, "
                             ":NewID, " +
                                 idVO + ", '" + kDealer + "')");
    ASSERT_EQ(failed.logItems.size(), 1u) << failed.raw;
    EXPECT_NE(tarmel::UpperAscii(failed.logItems[0]).find("UNIQUE"), std::string::npos)
        << failed.logItems[0];
    EXPECT_EQ(failed.newId, "");
    // Rolled back with the statement; a PostgreSQL sequence is not transactional, and a value
    // taken is never given again.
    if (!TestsOnPostgres()) {
        EXPECT_EQ(Counter(), before);
    }
    // The client saves again with its own statement, and once more.
    const std::string retried = Ok("AxInsert", VehiclePage1());
    const std::string again = Ok("AxInsert", VehiclePage1());
    ASSERT_FALSE(retried.empty());
    EXPECT_GT(std::stoll(retried), before);
    EXPECT_NE(again, retried);
    EXPECT_EQ(One("select count(*) from tVehicles where idTVO in (" + first + "," + retried + "," +
                  again + ")"),
              "3");
}

// Two servers over one database, as behind a load balancer, each taking inserts on several
// connections at once: every identifier handed out is new, and every row is there.
TEST(IdentifiersAcrossServers, ConcurrentInsertsOnTwoServersTakeDistinctIdentifiers) {
    DataServerProcess first;
    DataServerProcess second(DataServerProcess::Beside{first});
    constexpr int kConnections = 8, kInserts = 500;
    std::mutex mutex;
    std::set<std::string> ids;
    std::vector<std::string> failures;
    std::vector<std::thread> writers;
    for (int c = 0; c < kConnections; ++c) {
        writers.emplace_back([&, c] {
            const int port = (c % 2 == 0 ? first : second).port();
            for (int i = 0; i < kInserts; ++i) {
                // The answer read by hand: checking 4,000 documents with xmllint takes minutes.
                const HttpAnswer a = ClientGet(
                    port, "/tarmel/AxInsert?XMLC_OutputFormat=XML&SQLExecute=Insert into tActions "
                          "(CommentaireAction, idClient, idAction) Values ('parallele', 7700" +
                              std::to_string(c) + ", :NewID)");
                const size_t at = a.body.find("<NewID>");
                const size_t end = a.body.find("</NewID>");
                std::lock_guard lock(mutex);
                if (a.status != 200 || !LogItemsOf(a.body).empty() || at == std::string::npos ||
                    end == std::string::npos || end == at + 7) {
                    failures.push_back(a.body);
                } else {
                    ids.insert(a.body.substr(at + 7, end - at - 7));
                }
            }
        });
    }
    for (auto& t : writers) t.join();
    ASSERT_TRUE(failures.empty()) << failures.size() << " failed, first:\n" << failures[0];
    EXPECT_EQ(ids.size(), static_cast<size_t>(kConnections * kInserts));
    EXPECT_EQ(FirstValue(first.databasePath(),
                         "select count(distinct idAction) from tActions where "
                         "CommentaireAction='parallele'"),
              std::to_string(kConnections * kInserts));
}

}  // namespace
}  // namespace tarmel::testsupport
