// Hostile requests: each is refused with a LogItem in a well-formed answer, while the tables and
// the schema stay as they were and no file appears.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "server/xml/texttools.h"
#include "tests/dataserver/rawhttp.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/pgtestcluster.h"
#include "tests/support/scratchdir.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

namespace fs = std::filesystem;

// The first line where two texts differ, empty when they are equal.
std::string FirstDifference(const std::string& a, const std::string& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return std::string();
    size_t start = a.rfind('\n', i == 0 ? 0 : i - 1);
    start = start == std::string::npos ? 0 : start + 1;
    return a.substr(start, a.find('\n', i) - start) + " <> " +
           b.substr(start, b.find('\n', i) - start);
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<DataServerProcess>();
        // Rows for the long join: three per level, thirty levels.
        for (int i = 0; i < 3; ++i) {
            Outcome o = Execute(*server_, "AxUpdate",
                                "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, "
                                "RubricText) Values ('ZTJOIN', " +
                                    std::to_string(i) + ", '..', 'x')");
            ASSERT_TRUE(o.logItems.empty()) << o.raw;
        }
        fingerprint_ = DatabaseFingerprint(server_->databasePath());
        ASSERT_GT(fingerprint_.size(), 10000u) << fingerprint_;  // the rows are in it
        files_ = FilesUnder(server_->folder());
    }

    // Nothing changed: same rows, same schema, same files.
    void ExpectUnchanged(const std::string& what) {
        EXPECT_EQ(FirstDifference(DatabaseFingerprint(server_->databasePath()), fingerprint_), "")
            << what;
        EXPECT_EQ(FilesUnder(server_->folder()), files_) << what;
        EXPECT_FALSE(fs::exists(outside_.file("evil.db"))) << what;
        EXPECT_FALSE(fs::exists(outside_.file("x.jpg"))) << what;
    }

    std::unique_ptr<DataServerProcess> server_;
    ScratchDir outside_;  // a folder a hostile statement may name
    std::string fingerprint_;
    std::vector<std::string> files_;
};

std::string LongJoin(const std::string& head) {
    std::string from, where;
    for (int i = 1; i <= 30; ++i) {
        const std::string t = "t" + std::to_string(i);
        from += (i > 1 ? ", " : "") + std::string("ListRubrics ") + t;
        where += (i > 1 ? " and " : "") + t + ".RubricType='ZTJOIN'";
    }
    return head + " FROM " + from + " WHERE " + where;
}

TEST_F(Hostile, StatementsAreRefusedAndChangeNothing) {
    const std::string evil = outside_.file("evil.db");
    struct Case {
        const char* endpoint;
        std::string sql;
        const char* reason;  // part of the LogItem: refused for this reason and no other
        // The reason on PostgreSQL, where it differs: the statement is refused there too, by
        // another check (its kind, the type of WHERE, the translation's syntax rules).
        const char* pgReason = nullptr;
    };
    const std::vector<Case> cases = {
        {"AxQuery", "ATTACH DATABASE '" + evil + "' AS evil", "ATTACH"},
        {"AxUpdate", "ATTACH DATABASE '" + evil + "' AS evil", "ATTACH"},
        {"AxQuery", "PRAGMA table_info(tClients)", "PRAGMA"},
        {"AxUpdate", "PRAGMA writable_schema=1", "PRAGMA"},
        {"AxUpdate", "PRAGMA journal_mode=DELETE", "PRAGMA"},
        {"AxQuery", "SELECT * FROM pragma_table_info('tClients')", "Requête refusée"},
        {"AxQuery", "SELECT load_extension('" + outside_.file("x.so") + "')", "load_extension"},
        {"AxQuery", "SELECT name, sql FROM sqlite_master", "sqlite_master"},
        {"AxUpdate", "DELETE FROM sqlite_master", "sqlite_master"},
        {"AxUpdate", "UPDATE tClients SET CliNom=(SELECT sql FROM sqlite_schema) WHERE 0",
         "sqlite_master", "boolean"},
        {"AxUpdate", "VACUUM INTO '" + evil + "'", "INSERT, UPDATE ou DELETE"},
        {"AxQuery", "VACUUM INTO '" + evil + "'", "seule une instruction SELECT"},
        {"AxUpdate",
         "CREATE TEMP TRIGGER t AFTER INSERT ON tClients BEGIN DELETE FROM tVehicles; END",
         "schéma"},
        {"AxUpdate", "CREATE TABLE x (a)", "schéma"},
        {"AxUpdate", "DROP TABLE tActions", "schéma"},
        {"AxUpdate", "ALTER TABLE tClients ADD COLUMN z", "ALTER TABLE"},
        {"AxInsert", "CREATE INDEX i ON tClients (CliVille)", "schéma"},
        {"AxUpdate", "BEGIN", "BEGIN"},
        {"AxUpdate", "COMMIT", "COMMIT"},
        {"AxUpdate", "SAVEPOINT s", "SAVEPOINT"},
        {"AxQuery", "SELECT 1; DELETE FROM ListRubrics", "une seule instruction"},
        {"AxUpdate", "DELETE FROM ListRubrics WHERE 0; DELETE FROM ListRubrics",
         "une seule instruction"},
        {"AxUpdate", "UPDATE ListRubrics SET RubricText='y' WHERE 0;; DELETE FROM ListRubrics",
         "une seule instruction"},
        {"AxUpdate", "DELETE FROM ListRubrics WHERE 0%00; DELETE FROM ListRubrics",
         "une seule instruction"},
        {"AxUpdate", "INSERT INTO tSmsLog (Texte) VALUES ('x')", "tSmsLog"},
        {"AxQuery", "SELECT * FROM tSmsLog", "tSmsLog"},  // an internal table: not even read
        {"AxQuery", "SELECT Value FROM tCounters", "tCounters"},
        {"AxUpdate", "UPDATE tCounters SET Value=0", "tCounters"},
        {"AxUpdate", "UPDATE tUsers SET Groups=';SUPERADMINS;'", "tUsers"},
        {"AxInsert", "INSERT INTO tNothing (a) VALUES (:NewID)", "tNothing"},
        {"AxQuery", LongJoin("SELECT count(*)"), "WAIT_TIMEOUT"},
        {"AxUpdate",
         LongJoin("DELETE FROM ListRubrics WHERE RubricIndex IN (SELECT t1.RubricIndex") + ")",
         "WAIT_TIMEOUT"},
        // One costly value computed once, repeated on every row of a cross join: cheap to step,
        // gigabytes to copy.
        {"AxQuery",
         "SELECT replace(replace(replace(replace('aaaaaaaaaa','a','aaaaaaaaaa'),'a','aaaaaaaaaa'),"
         "'a','aaaaaaaaaa'),'a','aaaaaaaaaa') AS big FROM tVehicles a, tVehicles b",
         "16 Mo"},
        {"AxQuery", "SELECT randomblob(2000000000)", "randomblob"},
        {"AxQuery", "SELECT zeroblob(2000000000)", "zeroblob"},
        {"AxQuery", "SELECT length(printf('%.*c', 2000000000, 'x'))", "printf"},
        {"AxUpdate", "SELECT * FROM ListRubrics", "INSERT, UPDATE ou DELETE"},
        {"AxQuery", "DELETE FROM ListRubrics", "ListRubrics", "seule une instruction SELECT"},
        {"AxQuery", "EXPLAIN SELECT 1", "seule une instruction SELECT"},
        {"AxQuery",
         "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT count(*) FROM c",
         "Requête refusée"},
        {"AxUpdate", "UPDAT ListRubrics SET RubricText='y'", "syntax error", "UPDAT"},
        {"AxQuery", "SELECT FROM WHERE", "syntax error"},
        {"AxQuery", "SELECT * FROM ListRubrics WHERE RubricText=#02/29/2023#", "Date invalide"},
        {"AxUpdate", "UPDATE ListRubrics SET RubricText=:Other", ":Other"},
        {"AxUpdate", "UPDATE ListRubrics SET RubricText=?1", "?1", "non autorisée : ?"},
        {"AxInsert", "INSERT INTO tActions (idAction) VALUES (:NewID) RETURNING idAction",
         "INSERT, UPDATE ou DELETE"},
        {"AxInsert", "INSERT INTO tActions (idAction, CommentaireAction) VALUES (:NewID, 'x')'",
         "non terminé"},
        {"AxUpdate", "", "manquant"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const char* reason = TestsOnPostgres() && c.pgReason ? c.pgReason : c.reason;
        if (std::string(c.endpoint) == "AxQuery") {
            Rowset r = Query(*server_, c.sql);
            ASSERT_EQ(r.logItems.size(), 1u) << c.endpoint << " " << c.sql << "\n" << r.raw;
            EXPECT_NE(r.logItems[0].find(tarmel::Latin1FromUtf8(reason)), std::string::npos)
                << c.sql << "\n"
                << r.logItems[0];
            EXPECT_TRUE(r.rows.empty()) << c.sql;
        } else {
            Outcome o = Execute(*server_, c.endpoint, c.sql);
            ASSERT_EQ(o.logItems.size(), 1u) << c.endpoint << " " << c.sql << "\n" << o.raw;
            EXPECT_NE(o.logItems[0].find(tarmel::Latin1FromUtf8(reason)), std::string::npos)
                << c.sql << "\n"
                << o.logItems[0];
            EXPECT_EQ(o.newId, "") << c.sql;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 10.0) << "no deadline for " << c.sql;
        ExpectUnchanged(c.sql);
    }
}

TEST_F(Hostile, ATimedOutStatementSaysSoAndWritesNothing) {
    Outcome o = Execute(*server_, "AxUpdate",
                        LongJoin("UPDATE ListRubrics SET RubricText='z' WHERE RubricIndex IN "
                                 "(SELECT t1.RubricIndex") +
                            ")");
    ASSERT_EQ(o.logItems.size(), 1u) << o.raw;
    EXPECT_NE(o.logItems[0].find("WAIT_TIMEOUT"), std::string::npos);  // the client retries it
    ExpectUnchanged("time-out");
    // The server keeps serving.
    EXPECT_TRUE(Query(*server_, "select 1 as one").logItems.empty());
}

// The long join stops at its deadline while the other connections are answered meanwhile. The
// answers are read by hand: checking each with xmllint would take longer than the join.
TEST_F(Hostile, ATimedOutQueryDoesNotHoldUpTheOthers) {
    using Clock = std::chrono::steady_clock;
    const int port = server_->port();
    std::atomic<bool> joinDone{false};
    const Clock::time_point joinStart = Clock::now();
    Clock::time_point joinEnd;
    HttpAnswer join;
    std::thread slow([&] {
        join = ClientGet(
            port, "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + LongJoin("SELECT count(*)"));
        joinEnd = Clock::now();
        joinDone = true;
    });
    std::mutex mutex;
    std::vector<Clock::time_point> answered;
    std::vector<std::thread> others;
    for (int i = 0; i < 4; ++i) {
        others.emplace_back([&] {
            while (!joinDone) {
                const HttpAnswer a =
                    ClientGet(port,
                              "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=select count(*) as n from "
                              "tClients");
                if (a.status == 200 && LogItemsOf(a.body).empty()) {
                    std::lock_guard lock(mutex);
                    answered.push_back(Clock::now());
                }
            }
        });
    }
    slow.join();
    for (auto& t : others) t.join();
    const std::vector<std::string> items = LogItemsOf(join.body);
    ASSERT_EQ(items.size(), 1u) << join.body;
    EXPECT_NE(items[0].find("WAIT_TIMEOUT"), std::string::npos);
    EXPECT_LT(std::chrono::duration<double>(joinEnd - joinStart).count(), 5.0);  // not hours
    const auto meanwhile = std::count_if(answered.begin(), answered.end(),
                                         [&](Clock::time_point t) { return t < joinEnd; });
    EXPECT_GT(meanwhile, 0);
}

std::string Jpeg(size_t size, char fill = 'j') {
    std::string data(size, fill);
    data[0] = '\xFF';
    data[1] = '\xD8';
    data[2] = '\xFF';
    return data;
}

std::vector<Part> UploadForm(const std::string& name, const std::string& mini,
                             const std::string& statement, size_t size = 2000) {
    return {{"NFImage", "", name},          {"XMLC_OutputFormat", "", "XML"},
            {"SQLExecute", "", statement},  {"MAX_FILE_SIZE", "", "4096000"},
            {"File", name, Jpeg(size)},     {"NFImageMini", "", mini},
            {"File", mini, Jpeg(size / 10)}};
}

const std::string kLink =
    "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) VALUES "
    "(:NewID, "
    "99001, 1, 'Z0099001-01', '2024-03-14 10:11:12')";

TEST_F(Hostile, UploadsWithUnsafeNamesOrSizesAreRefused) {
    const std::string abs = outside_.file("x.jpg");
    std::vector<std::vector<Part>> forms = {
        UploadForm("../x.jpg", "xm.jpg", kLink),
        UploadForm("..\\x.jpg", "xm.jpg", kLink),
        UploadForm(abs, "xm.jpg", kLink),
        UploadForm("x.jpg", "../../xm.jpg", kLink),
        UploadForm("%2e%2e%2fx.jpg", "xm.jpg", kLink),
        UploadForm("%2e%2e", "xm.jpg", kLink),
        UploadForm(std::string("x\0.jpg", 6), "xm.jpg", kLink),
        UploadForm("x.php", "xm.jpg", kLink),
        UploadForm("x.jpg", "x.jpg", kLink),
        UploadForm("x.jpg", "xm.jpg", kLink, 4096001),  // over MAX_FILE_SIZE
        UploadForm("x.jpg", "xm.jpg", "DROP TABLE tClients"),
        UploadForm("x.jpg", "xm.jpg", "SELECT 1"),
    };
    std::vector<Part> three = UploadForm("x.jpg", "xm.jpg", kLink);
    three.push_back({"File", "y.jpg", Jpeg(10)});
    forms.push_back(three);
    std::vector<Part> notJpeg = UploadForm("x.jpg", "xm.jpg", kLink);
    notJpeg[4].data = "#!/bin/sh\n";
    forms.push_back(notJpeg);
    std::vector<Part> smaller = UploadForm("x.jpg", "xm.jpg", kLink, 3000);
    smaller[3].data = "1000";  // the form's own limit is lower
    forms.push_back(smaller);
    for (const auto& form : forms) {
        HttpAnswer a = MultipartPost(server_->port(), "/tarmel/AxInsert", form);
        EXPECT_EQ(a.status, 200);
        EXPECT_EQ(XmlProblems(a.body), "");
        EXPECT_EQ(LogItemsOf(a.body).size(), 1u) << form[0].data << "\n" << a.body;
        ExpectUnchanged(form[0].data);
    }
}

TEST_F(Hostile, BodiesWithoutABoundAreRefusedBeforeTheyAreRead) {
    const std::string head =
        "POST /tarmel/AxInsert HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        "Content-Type: multipart/form-data; boundary=b\r\n";
    const std::vector<std::string> requests = {
        head + "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        head + "Content-Length: 10000000\r\nConnection: close\r\n\r\n--b\r\n",
        head + "Content-Length: 99999999999999999999999\r\nConnection: close\r\n\r\n",
        head +
            "Content-Length: 20\r\nContent-Encoding: gzip\r\nConnection: close\r\n\r\n"
            "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\x01\x00\x00\xff\xff\x00\x00\x00\x00\x00",
        head + "Connection: close\r\n\r\n",  // a POST without a length
    };
    for (const std::string& request : requests) {
        HttpAnswer a = RawRequest(server_->port(), request, 5000);
        ASSERT_NE(a.status, 0) << request;
        if (a.status == 200) {
            EXPECT_EQ(XmlProblems(a.body), "");
            EXPECT_EQ(LogItemsOf(a.body).size(), 1u) << request << "\n" << a.body;
        } else {
            EXPECT_GE(a.status, 400) << request;  // refused by the HTTP layer itself
        }
        ExpectUnchanged(request.substr(head.size(), 40));
    }
    // And the server still answers.
    EXPECT_TRUE(Query(*server_, "select 1 as one").logItems.empty());
}

TEST_F(Hostile, PhotoAddressesOutsideTheFolderAreNotServed) {
    for (const std::string path : {"/tarmel/images/../dealership.db", "/tarmel/images/%2e%2e/x.jpg",
                                   "/tarmel/images/%2e%2e%2fdealership.db",
                                   "/tarmel/images/..%5cdealership.db", "/tarmel/images/"}) {
        HttpAnswer a = RawRequest(
            server_->port(), "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(a.status, 404) << path;
        EXPECT_EQ(a.body.find("SQLite"), std::string::npos);
    }
}

TEST(ServerStart, AnUnknownSchemaIsRefused) {
    ScratchDir dir;
    const std::string db = dir.file("other.db");
    ASSERT_EQ(
        std::system(
            ("sqlite3 '" + db + "' 'CREATE TABLE tClients (a); CREATE TABLE t2 (b);'").c_str()),
        0);
    const std::string command = "timeout 20 '" + DataServerProcess::executable() + "' --db '" + db +
                                "' --port 0 > '" + dir.file("out") + "' 2> '" + dir.file("err") +
                                "'";
    int rc = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 1) << rc;
    EXPECT_NE(readFile(dir.file("err")).find("refusing"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("out")).find("listening"), std::string::npos);
    // A missing file is not created unless asked.
    rc = std::system(("timeout 20 '" + DataServerProcess::executable() + "' --db '" +
                      dir.file("none.db") + "' --port 0 2>/dev/null >/dev/null")
                         .c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 1);
    EXPECT_FALSE(fs::exists(dir.file("none.db")));
}

}  // namespace
}  // namespace tarmel::testsupport
