// Acknowledged writes survive a kill -9 of the server in the middle of a write load.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "tests/dataserver/serverclient.h"
#include "tests/support/pgtestcluster.h"

namespace tarmel::testsupport {
namespace {

std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            out += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

TEST(Durability, AcknowledgedWritesSurviveKillNine) {
    DataServerProcess server;
    std::set<std::string>
        acknowledged;  // "NewID|comment" of every insert answered without a LogItem
    std::mutex mutex;
    int serial = 0;
    for (int round = 0; round < 3; ++round) {
        std::atomic<bool> stop{false};
        const int port = server.port();
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w) {
            writers.emplace_back([&, w] {
                while (!stop) {
                    int n;
                    {
                        std::lock_guard lock(mutex);
                        n = ++serial;
                    }
                    const std::string comment = "durable-" + std::to_string(n);
                    HttpAnswer a = ClientGet(
                        port,
                        "/tarmel/AxInsert?XMLC_OutputFormat=XML&SQLExecute=Insert into tActions "
                        "(CommentaireAction, DateAction, idClient, idAction ) Values ('" +
                            comment + "', #03/14/2024#, 990" + std::to_string(w) + ", :NewID)");
                    if (a.status != 200) continue;  // cut off by the kill: not acknowledged
                    std::vector<std::string> logs = LogItemsOf(a.body);
                    size_t at = a.body.find("<NewID>");
                    if (!logs.empty() || at == std::string::npos) continue;
                    std::string id = a.body.substr(at + 7, a.body.find("</NewID>") - at - 7);
                    std::lock_guard lock(mutex);
                    acknowledged.insert(id + "|" + comment);
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        server.kill();
        stop = true;
        for (auto& t : writers) t.join();
        // A SQLite file must survive its writer's death whole; PostgreSQL keeps its own files.
        if (!TestsOnPostgres()) {
            ASSERT_EQ(IntegrityCheck(server.databasePath()), "ok");
        }
        server.start();
    }
    ASSERT_GT(acknowledged.size(), 20u);
    std::set<std::string> stored;
    Rowset rows = Query(server,
                        "select idAction, CommentaireAction from tActions where "
                        "CommentaireAction like 'durable-%25'");
    for (auto& row : rows.rows) stored.insert(row["idAction"] + "|" + row["CommentaireAction"]);
    for (const std::string& entry : acknowledged) EXPECT_TRUE(stored.count(entry)) << entry;
    // Identifiers are never given twice, even across the crashes.
    std::set<std::string> ids;
    for (auto& row : rows.rows) EXPECT_TRUE(ids.insert(row["idAction"]).second) << row["idAction"];
}

}  // namespace
}  // namespace tarmel::testsupport
