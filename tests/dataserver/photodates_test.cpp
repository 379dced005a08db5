// The photo links' dates: stored as a date and time, answered day first like every other date, for
// the photos the client links as for the demo's own, and in a file written by the previous schema.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>
#include <string>
#include <vector>

#include "server/encoders.h"
#include "server/xml/txml.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/databasefile.h"
#include "tests/support/pgtestcluster.h"

namespace tarmel::testsupport {
namespace {

std::string Jpeg(char seed) {
    std::string data(2000, seed);
    data[0] = '\xFF';
    data[1] = '\xD8';
    data[2] = '\xFF';
    return data;
}

void Write(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// "DateImage" of each "Image" of the vehicle's record document, as the photo list reads them.
std::vector<std::string> RecordPhotoDates(const DataServerProcess& server,
                                          const std::string& idTVO) {
    HttpAnswer a = ClientGet(server.port(),
                             "/tarmel/AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + idTVO + "&UserID=1");
    EXPECT_EQ(a.status, 200);
    EXPECT_TRUE(LogItemsOf(a.body).empty()) << a.body;
    std::vector<std::string> dates;
    TXml images(a.body);
    XmlFind(images, "ImageS");
    while (XmlNext(images, "Image") > 0) dates.push_back(XmlValueOf(images, "DateImage"));
    return dates;
}

const std::regex kDayFirst(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");

TEST(PhotoDates, ALinkedPhotoAndTheDemoPhotosAnswerDayFirstWithTheirTime) {
    DataServerProcess server;
    const std::string idTVO =
        Execute(server, "AxInsert",
                "Insert into tVehicles (NVO,InfoMarque,Site, idTVO, TypeVO, idVO, idOwner, "
                "Concession) Values (4712,'Renault','NORD', :NewID, 1, :NewIDbis,17, 'ZT3')")
            .newId;
    ASSERT_FALSE(idTVO.empty());
    const std::string idVO =
        Query(server, "select idVO from tVehicles where idTVO=" + idTVO).rows.at(0).at("idVO");
    const std::string name =
        "Z" + std::string(idVO.size() < 7 ? 7 - idVO.size() : 0, '0') + idVO + "-01";
    HttpAnswer link = MultipartPost(
        server.port(), "/tarmel/AxInsert",
        {{"NFImage", "", name + ".jpg"},
         {"XMLC_OutputFormat", "", "XML"},
         {"SQLExecute", "",
          "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) "
          "VALUES (:NewID, " +
              idVO + ", 1, '" + name + "', '2026-03-14 10:11:12')"},
         {"MAX_FILE_SIZE", "", "4096000"},
         {"File", name + ".jpg", Jpeg(1)},
         {"NFImageMini", "", name + "m.jpg"},
         {"File", name + "m.jpg", Jpeg(2)}});
    ASSERT_EQ(link.status, 200);
    ASSERT_TRUE(LogItemsOf(link.body).empty()) << link.body;
    EXPECT_EQ(RecordPhotoDates(server, idTVO), std::vector<std::string>{"14/03/2026 10:11:12"});
    EXPECT_EQ(Query(server, "select DateImage from [tVO - Liens Images] where idVO=" + idVO)
                  .rows.at(0)
                  .at("DateImage"),
              "14/03/2026 10:11:12");
    EXPECT_EQ(FirstValue(server.databasePath(),
                         "SELECT DateImage FROM [tVO - Liens Images] WHERE idVO=" + idVO),
              "2026-03-14 10:11:12");

    // A demo vehicle's photos, in the same form.
    const std::string demo = Query(server,
                                   "select v.idTVO from tVehicles v where exists (select 1 from "
                                   "[tVO - Liens Images] i where i.idVO=v.idVO) order by v.idTVO",
                                   1)
                                 .rows.at(0)
                                 .at("idTVO");
    const std::vector<std::string> dates = RecordPhotoDates(server, demo);
    ASSERT_FALSE(dates.empty());
    for (const std::string& d : dates) EXPECT_TRUE(std::regex_match(d, kDayFirst)) << d;
    const char* const notIso =
        TestsOnPostgres()
            ? "DateImage !~ '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$'"
            : "DateImage NOT GLOB "
              "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'";
    EXPECT_EQ(FirstValue(server.databasePath(),
                         std::string("SELECT count(*) FROM [tVO - Liens Images] WHERE ") + notIso),
              "0");
}

TEST(PhotoDates, AFileOfThePreviousSchemaIsUpgradedOnOpening) {
    if (TestsOnPostgres()) GTEST_SKIP() << "a PostgreSQL schema starts at the current version";
    DataServerProcess server;
    const std::string db = server.databasePath();
    const std::string demoPhotos = FirstValue(db, "SELECT count(*) FROM [tVO - Liens Images]");
    server.stop();
    // The photo table as the previous schema declared it, the demo's dates written day first.
    Write(db,
          "BEGIN;"
          "CREATE TABLE old (idImage INTEGER PRIMARY KEY, idVO INTEGER, NumImage INTEGER, "
          "NomImage TEXT COLLATE NOCASE, DateImage TEXT COLLATE NOCASE);"
          "INSERT INTO old SELECT idImage, idVO, NumImage, NomImage, substr(DateImage, 9, 2) || "
          "'/' || substr(DateImage, 6, 2) || '/' || substr(DateImage, 1, 4) "
          "FROM [tVO - Liens Images];"
          "DROP TABLE [tVO - Liens Images];"
          "ALTER TABLE old RENAME TO [tVO - Liens Images];"
          "CREATE INDEX tVO_Images_vehicle ON [tVO - Liens Images] (idVO);"
          "PRAGMA user_version=1;"
          "COMMIT;");
    struct Row {
        const char* what;
        const char* before;  // as the previous server stored it
        const char* after;   // as stored once upgraded
        const char* answer;
    };
    const Row rows[] = {
        {"a link of the client", "2026-03-14 10:11:12", "2026-03-14 10:11:12",
         "14/03/2026 10:11:12"},
        {"a date alone", "2026-03-15", "2026-03-15 00:00:00", "15/03/2026 00:00:00"},
        {"a day-first date", "16/03/2026", "2026-03-16 00:00:00", "16/03/2026 00:00:00"},
        {"a day-first date and time", "17/03/2026 08:09:10", "2026-03-17 08:09:10",
         "17/03/2026 08:09:10"},
        {"a text that is no date", "hier", "hier", "hier"},
    };
    int64_t id = 990001;
    for (const Row& r : rows) {
        Write(db, "INSERT INTO [tVO - Liens Images] VALUES (" + std::to_string(id++) +
                      ", 99004, 1, 'Z0099004-01', '" + r.before + "')");
    }
    server.start();

    EXPECT_EQ(FirstValue(db, "PRAGMA user_version"), "2");
    EXPECT_EQ(FirstValue(db,
                         "SELECT type FROM pragma_table_info('tVO - Liens Images') "
                         "WHERE name='DateImage'"),
              "DATE");
    EXPECT_EQ(FirstValue(db, "SELECT count(*) FROM sqlite_schema WHERE name='tVO_Images_vehicle'"),
              "1");
    EXPECT_EQ(FirstValue(db, "SELECT count(*) FROM [tVO - Liens Images] WHERE idVO <> 99004"),
              demoPhotos);
    id = 990001;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string where = " where idImage=" + std::to_string(id++);
        EXPECT_EQ(FirstValue(db, "SELECT DateImage FROM [tVO - Liens Images]" + where), r.after);
        Rowset answer = Query(server, "select DateImage from [tVO - Liens Images]" + where);
        ASSERT_EQ(answer.rows.size(), 1u) << answer.raw;
        EXPECT_EQ(answer.rows[0]["DateImage"], r.answer);
    }
    EXPECT_EQ(
        FirstValue(db,
                   "SELECT count(*) FROM [tVO - Liens Images] WHERE idVO <> 99004 AND "
                   "DateImage NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] 00:00:00'"),
        "0");
    // The counter steps past the rows written straight into the upgraded table.
    Outcome link = Execute(server, "AxInsert",
                           "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, "
                           "DateImage) VALUES (:NewID, 99004, 2, 'Z0099004-02', "
                           "'2026-03-18 11:12:13')");
    EXPECT_TRUE(link.logItems.empty()) << link.raw;
    EXPECT_GE(std::stoll(link.newId), id);
}

}  // namespace
}  // namespace tarmel::testsupport
