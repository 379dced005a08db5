// The demo dealership generator: what the database holds, that a seed always gives the same
// file, that it scales, and that the searches find their indexes.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "dataserver/demo/demo.h"
#include "dataserver/demodata.h"
#include "dataserver/schema.h"
#include "server/xml/texttools.h"
#include "tests/dataserverdemo/support.h"
#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {
namespace {

using tarmel::dataserver::DemoOptions;

// The n-th (1-based) cell of a dumped row.
std::string Cell(const std::string& row, int n) {
    std::string r = row;
    for (char& c : r) {
        if (c == '|') c = ';';
    }
    return FieldOf(r, n);
}

TEST(DemoDatabase, CarriesTheSchemaMarksTheServerChecks) {
    sqlite3* db = SharedDemo().db;
    EXPECT_EQ(ScalarInt(db, "PRAGMA application_id"), tarmel::dataserver::kApplicationId);
    EXPECT_EQ(ScalarInt(db, "PRAGMA user_version"), tarmel::dataserver::kSchemaVersion);
    EXPECT_EQ(ScalarText(db, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(ScalarText(db, "PRAGMA integrity_check"), "ok");
}

TEST(DemoDatabase, HoldsTheGroupItsSitesStaffAndUsers) {
    sqlite3* db = SharedDemo().db;
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tConcessions WHERE Concession IN "
                            "('LYO','DAU','QUINTAR')"), 3);
    EXPECT_EQ(ScalarInt(db, "SELECT count(DISTINCT Concession) FROM tSites"), 2);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tSites"), 4);
    // Every site has staff.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tSites s WHERE NOT EXISTS (SELECT 1 FROM "
                            "tStaff f WHERE instr(f.Site, s.Site) > 0)"), 0);
    // The telling users: (groups, sites, dealership).
    struct UserCase {
        const char* groups;
        const char* sites;
        const char* concession;
    };
    const UserCase users[] = {
        {"SVO", "LYON-SUD", "LYO"},                                // a salesperson of one site
        {"USER_Compta", "#", "LYO"},                               // the accountant
        {"RVO;SVO;CLARUM", "LYON-SUD;VILLEFRANCHE", "LYO"},        // a site manager
        {"SUPERADMINS;COMPTA;CLARUM;RVO", "#", "LYO"},             // the super-administrator
        {"USER_RVO;CLARUM", "#", "QUINTAR"},                       // the group-level user
    };
    for (const UserCase& u : users) {
        EXPECT_EQ(ScalarInt(db, std::string("SELECT count(*) FROM tUsers WHERE Groups='") +
                                    u.groups + "' AND UserSite='" + u.sites +
                                    "' AND Concession='" + u.concession + "'"), 1)
            << u.groups;
    }
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tOptDates"), 3);
}

TEST(DemoDatabase, HoldsVehiclesOfTheThreeFamiliesWithTheirLines) {
    sqlite3* db = SharedDemo().db;
    const DemoOptions defaults;
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles"), defaults.vehicles);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tVehicles WHERE TypeVO=1"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tVehicles WHERE TypeVO=2 AND StatutVD IS NOT NULL"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tVehicles WHERE TypeVO=2 AND StatutVD IS NULL"), 0);
    // Refurbishment lines belong to used vehicles, and every used vehicle has some; the stored
    // total is the sum of its lines.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM [tVO - Frevo] f JOIN tVehicles v USING (idVO) "
                            "WHERE v.TypeVO <> 1"), 0);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles v WHERE TypeVO=1 AND NOT EXISTS "
                            "(SELECT 1 FROM [tVO - Frevo] f WHERE f.idVO=v.idVO)"), 0);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles v WHERE TypeVO=1 AND abs(Frevo - "
                            "(SELECT sum(MontantHT) FROM [tVO - Frevo] f WHERE f.idVO=v.idVO)) > 0.005"), 0);
    // The end-of-month figure counts the lines dated before the month after delivery (the
    // demo's own day when not delivered), as the refurbishment grid counts them.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles v WHERE TypeVO=1 AND abs(FrevoTotFDM - "
                            "(SELECT coalesce(sum(MontantHT), 0) FROM [tVO - Frevo] f WHERE f.idVO=v.idVO "
                            "AND DateFrevo < date(coalesce(v.DateLivraison, '2026-11-30'), "
                            "'start of month', '+1 month'))) > 0.005"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tVehicles WHERE TypeVO=1 AND FrevoTotFDM < Frevo"), 0);
    // A private sale of a site with a file fee carries exactly one fixed-fee line.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles v JOIN tSites s USING (Site) WHERE "
                            "TypeVO=1 AND Destination='PARTICULIERS' AND s.MontantFraisDossier>0 AND "
                            "(SELECT count(*) FROM [tVO - Frevo] f WHERE f.idVO=v.idVO AND "
                            "TypeFrevo='FIXE') <> 1"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tReservations"), 0);
    // A vehicle's site belongs to its dealership.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles v JOIN tSites s USING (Site) "
                            "WHERE s.Concession <> v.Concession"), 0);
}

TEST(DemoDatabase, PhotosAreRealJpegFilesNamedAsTheClientNamesThem) {
    const DemoDatabase& demo = SharedDemo();
    const std::string links = Dump(demo.db, "SELECT i.NomImage, v.Concession, v.idVO, i.NumImage "
                                            "FROM [tVO - Liens Images] i JOIN tVehicles v USING (idVO)");
    ASSERT_FALSE(links.empty());
    size_t start = 0, rows = 0;
    while (start < links.size()) {
        const size_t end = links.find('\n', start);
        const std::string row = links.substr(start, end - start);
        start = end + 1;
        const std::string name = Cell(row, 1);
        // First letter of the dealership, identifier on 7 digits, photo number on 2.
        char expected[64];
        std::snprintf(expected, sizeof expected, "%c%07d-%02d", Cell(row, 2)[0],
                      std::stoi(Cell(row, 3)), std::stoi(Cell(row, 4)));
        EXPECT_EQ(name, expected);
        for (const std::string& file : {name + ".jpg", name + "m.jpg"}) {
            const std::string bytes = readFile(demo.photos + "/" + file);
            ASSERT_GT(bytes.size(), 500u) << file;
            EXPECT_EQ(bytes.substr(0, 3), std::string("\xFF\xD8\xFF")) << file;
            EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\xFF\xD9")) << file;
        }
        ++rows;
    }
    EXPECT_GT(rows, 10u);
    // The default photo of a vehicle is one of its photos.
    EXPECT_EQ(ScalarInt(demo.db, "SELECT count(*) FROM tVehicles v WHERE NomImage IS NOT NULL AND "
                                 "NOT EXISTS (SELECT 1 FROM [tVO - Liens Images] i WHERE "
                                 "i.idVO=v.idVO AND i.NomImage=v.NomImage)"), 0);
}

TEST(DemoDatabase, ClientsHaveVehiclesActionsAndWishes) {
    sqlite3* db = SharedDemo().db;
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tClients"), DemoOptions{}.clients);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tActions"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM TVehiclesClarum"), 0);
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tClients WHERE PAChoix1 LIKE ';%;'"), 0);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tActions a WHERE NOT EXISTS (SELECT 1 FROM "
                            "tClients c WHERE c.idClient=a.idClient)"), 0);
    // A client entered twice: the duplicate check has a pair to find.
    EXPECT_GE(ScalarInt(db, "SELECT count(*) FROM tClients a JOIN tClients b ON a.idClient < b.idClient "
                            "AND a.CliNom = b.CliNom AND a.CliPrenom = b.CliPrenom AND "
                            "a.CliMobile = b.CliMobile AND a.Concession = b.Concession"), 1);
    // An action's staff member works at the client's site.
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tActions a JOIN tClients c USING (idClient) "
                            "JOIN tStaff s ON s.idCom=a.idCom WHERE instr(s.Site, c.Site)=0"), 0);
}

TEST(DemoDatabase, TextsLookFrenchAndNumbersAreWellFormed) {
    sqlite3* db = SharedDemo().db;
    const std::regex plate("[A-HJ-NP-TV-Z]{2}-[0-9]{3}-[A-HJ-NP-TV-Z]{2}");
    const std::regex phone("0[1-9][0-9]{8}");
    for (const char* sql : {"SELECT Immatriculation FROM tVehicles WHERE Immatriculation IS NOT NULL",
                            "SELECT Immatriculation FROM TVehiclesClarum"}) {
        const std::string all = Dump(db, sql);
        size_t start = 0;
        while (start < all.size()) {
            const size_t end = all.find("|\n", start);
            const std::string p = all.substr(start, end - start);
            EXPECT_TRUE(std::regex_match(p, plate)) << p;
            start = end + 2;
        }
    }
    const std::string phones = Dump(db, "SELECT CliMobile FROM tClients WHERE CliMobile IS NOT NULL "
                                        "UNION ALL SELECT CliTelDom FROM tClients WHERE CliTelDom IS NOT NULL");
    for (size_t start = 0; start < phones.size();) {
        const size_t end = phones.find("|\n", start);
        EXPECT_TRUE(std::regex_match(phones.substr(start, end - start), phone));
        start = end + 2;
    }
    // Texts are stored in Latin-1: accented names are single bytes, never UTF-8 sequences.
    EXPECT_GT(ScalarInt(db, "SELECT count(*) FROM tStaff WHERE cNom = '" +
                                Latin1FromUtf8("Émilie Garnier") + "'"),
              0);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tClients WHERE instr(CliPrenom, char(195)) > 0"), 0);
    // The identifier counter lies past every identifier the demo took.
    const int64_t counter = ScalarInt(db, "SELECT Value FROM tCounters WHERE Name='NewID'");
    for (const char* sql : {"SELECT max(idVO) FROM tVehicles", "SELECT max(idTVO) FROM tVehicles",
                            "SELECT max(idClient) FROM tClients", "SELECT max(idAction) FROM tActions",
                            "SELECT max(idTVO) FROM TVehiclesClarum",
                            "SELECT max(idFrevo) FROM [tVO - Frevo]",
                            "SELECT max(idImage) FROM [tVO - Liens Images]"}) {
        EXPECT_LT(ScalarInt(db, sql), counter) << sql;
    }
}

TEST(DemoGenerator, SameSeedSameFileAnotherSeedAnotherFile) {
    ScratchDir dir;
    DemoOptions options;
    options.vehicles = 40;
    options.clients = 30;
    const std::string a = BuildDemo(dir.str(), "a", options, false);
    const std::string b = BuildDemo(dir.str(), "b", options, false);
    options.seed += 1;
    const std::string c = BuildDemo(dir.str(), "c", options, false);
    auto dump = [](const std::string& path) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        std::string all;
        for (const char* table : {"tVehicles", "tClients", "TVehiclesClarum", "[tVO - Frevo]",
                                  "[tVO - Liens Images]", "tActions", "tReservations", "tStructure",
                                  "ListRubrics", "ListModels", "ListVersions", "tCounters"}) {
            all += Dump(db, std::string("SELECT * FROM ") + table + " ORDER BY rowid");
        }
        sqlite3_close(db);
        return all;
    };
    const std::string da = dump(a);
    EXPECT_GT(da.size(), 10000u);
    EXPECT_EQ(da, dump(b));
    EXPECT_NE(da, dump(c));
}

TEST(DemoGenerator, LeavesAnExistingDatabaseAloneAndLeavesNothingOnFailure) {
    ScratchDir dir;
    const std::string path = dir.file("kept.db");
    writeFile(path, "not a database");
    std::string error;
    EXPECT_TRUE(tarmel::dataserver::BuildDemoDatabase(path, "", DemoOptions{}, error));
    EXPECT_EQ(readFile(path), "not a database");

    // A photo folder that cannot be created makes the build fail without a database file.
    writeFile(dir.file("blocker"), "x");
    const std::string failed = dir.file("failed.db");
    EXPECT_FALSE(tarmel::dataserver::BuildDemoDatabase(failed, dir.file("blocker") + "/photos",
                                                       DemoOptions{}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(failed));
    EXPECT_FALSE(std::filesystem::exists(failed + ".building"));
}

TEST(DemoGenerator, ScalesAndTheSearchesUseTheirIndexes) {
    ScratchDir dir;
    DemoOptions options;
    options.vehicles = 3000;
    options.clients = 2500;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(BuildDemo(dir.str(), "big", options, false).c_str(), &db,
                              SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tVehicles"), 3000);
    EXPECT_EQ(ScalarInt(db, "SELECT count(*) FROM tClients"), 2500);
    EXPECT_EQ(ScalarInt(db, "SELECT count(DISTINCT Immatriculation) * 100 / count(*) FROM tVehicles "
                            "WHERE Immatriculation IS NOT NULL") >= 99, true);
    // The searches of the client as it sends them (after dialect translation): the plan walks
    // the index in the order asked, so a row limit stops the scan early.
    struct PlanCase {
        const char* sql;
        const char* index;
        bool covering = false;  // no table row read at all
    };
    const PlanCase plans[] = {
        {"SELECT TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
         "[InfoMarque], [InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre "
         "AS VO_ORDRE, Immatriculation AS VO_Result, Site as VO_SITE, Concession, idOwner FROM "
         "TVehicles Where (Concession='LYO') and ((Immatriculation like '%12%')) "
         "ORDER BY Immatriculation, DateOrdre desc",
         "tVehicles_plate", true},
        {"SELECT TypeVO FROM TVehicles Where (Concession='LYO') and ((NVO>=20010)) "
         "ORDER BY NVO, DateOrdre desc", "tVehicles_number"},
        {"SELECT TypeVO FROM TVehicles Where (Concession='DAU') and ((Acheteur like '%MAR%')) "
         "ORDER BY Acheteur, DateOrdre desc", "tVehicles_buyer"},
        {"SELECT TypeVO FROM TVehicles Where ((Immatriculation like '%AB%')) "
         "ORDER BY Immatriculation, DateOrdre desc", "tVehicles_plate_all"},
        {"SELECT idClient FROM TClients Where (Concession='LYO') and ((CliNom like '%mar%')) "
         "ORDER BY CliNom, CliPreNom, idClient desc", "tClients_name"},
        {"SELECT idClient FROM TClients Where (Concession='LYO') and ((CliMobile like '%06%')) "
         "ORDER BY CliMobile, idClient desc", "tClients_mobile"},
        {"SELECT idClient FROM TVehiclesClarum Where (Concession='LYO') and "
         "((Immatriculation like '%AB%')) ORDER BY Immatriculation, DateOrdre desc",
         "TVehiclesClarum_plate"},
    };
    for (const PlanCase& p : plans) {
        const std::string plan = Dump(db, std::string("EXPLAIN QUERY PLAN ") + p.sql);
        const size_t at = plan.find(std::string("INDEX ") + p.index);
        ASSERT_NE(at, std::string::npos) << p.sql << "\n" << plan;
        const char after = plan[at + 6 + std::string(p.index).size()];
        EXPECT_TRUE(after == ' ' || after == '|') << p.sql << "\n" << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << p.sql << "\n" << plan;
        if (p.covering) {
            EXPECT_NE(plan.find(std::string("COVERING INDEX ") + p.index), std::string::npos)
                << p.sql << "\n" << plan;
        }
    }
    sqlite3_close(db);
}

}  // namespace
}  // namespace tarmel::testsupport
