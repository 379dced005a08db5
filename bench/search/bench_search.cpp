// Searches of the search panel on a large dealership: HttpGetSearchInfo from the panel's criteria
// to the 50 rows in the grid (the window, libcurl, the server in this process, the answer read),
// the server's share (the same request over a raw keep-alive socket), and the statement stepped
// directly in SQLite, all in one run.
//   bench_search [database]   (default: axquery-100k.db beside the executable, built when absent)
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/connection.h"
#include "bench/directquery.h"
#include "bench/recordform/benchwindow.h"
#include "dataserver/database.h"
#include "dataserver/demodata.h"
#include "dataserver/dialect.h"
#include "dataserver/endpoints.h"
#include "dataserver/sqlite/guard.h"
#include "dataserver/httpserver.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/grid.h"
#include "search/searchquery.h"
#include "tests/support/scratchdir.h"

namespace {

using namespace tarmel;
using bench::Clock;
using bench::Median;
using bench::Ms;

constexpr int kVehicles = 100000;
constexpr int kClients = 100000;
constexpr int kRounds = 3;

using tarmel::bench::Connection;

// The first column of every row of a query.
std::vector<std::string> Column(sqlite3* db, const std::string& sql) {
    std::vector<std::string> values;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        values.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(stmt);
    return values;
}

struct Kind {
    const char* name;
    int code;
    void (TAxTarmel::*pick)();
    std::vector<std::string> texts;
};

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    const fs::path here = fs::absolute(fs::path(argv[0])).parent_path();
    const std::string path = argc > 1 ? argv[1] : (here / "axquery-100k.db").string();
    std::string error;
    if (!fs::exists(path)) {
        std::fprintf(stderr, "building %s (%d vehicles, %d clients)...\n", path.c_str(), kVehicles,
                     kClients);
        dataserver::DemoOptions demo;
        demo.vehicles = kVehicles;
        demo.clients = kClients;
        if (!dataserver::BuildDemoDatabase(path, path + ".photos", demo, error)) {
            std::fprintf(stderr, "cannot build the database: %s\n", error.c_str());
            return 1;
        }
    }

    // The server as tarmel-dataserver runs it (the indexes of an older file are made at open).
    dataserver::DatabaseOptions dbOptions;
    dbOptions.path = path;
    dataserver::HttpOptions httpOptions;
    httpOptions.port = 0;
    httpOptions.threads = 2;
    httpOptions.logRequests = false;
    dbOptions.readers = static_cast<int>(httpOptions.threads) + 1;
    auto db = dataserver::Database::Open(dbOptions, error);
    if (!db) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    dataserver::HttpServer server(httpOptions);
    dataserver::EndpointConfig config;
    dataserver::RegisterEndpoints(server, *db, config);
    if (!server.Start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const int port = server.boundPort();
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/tarmel/";

    // Search texts as a salesperson types them: two characters of a plate, three letters of a
    // buyer's or a client's name, a number, all of records of the dealership.
    sqlite3* direct = nullptr;
    sqlite3_open_v2(path.c_str(), &direct, SQLITE_OPEN_READONLY, nullptr);
    // The same statement on a connection set up as the server's readers are (limits, guard).
    sqlite3* guarded = nullptr;
    sqlite3_open_v2(path.c_str(), &guarded, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    dataserver::ApplyConnectionLimits(guarded);
    dataserver::StatementGuard guard(guarded);
    const std::string sample = " and Concession='LYO' ORDER BY (rowid * 7919) % 1000 LIMIT 40";
    std::vector<Kind> kinds = {
        {"plate", 1, &TAxTarmel::TSLbImmatClick,
         Column(direct, "SELECT substr(Immatriculation, 4, 2) FROM tVehicles WHERE "
                        "length(Immatriculation) = 9" + sample)},
        {"buyer", 2, &TAxTarmel::TSLbClientClick,
         Column(direct, "SELECT substr(Acheteur, 1, 3) FROM tVehicles WHERE length(Acheteur) > 3" +
                            sample)},
        {"number", 3, &TAxTarmel::TSLbNVOClick,
         Column(direct, "SELECT NVO FROM tVehicles WHERE NVO > 0" + sample)},
        {"client", 5, &TAxTarmel::TSLbClientClick,
         Column(direct, "SELECT substr(CliNom, 1, 3) FROM tClients WHERE length(CliNom) > 3" +
                            sample)},
    };
    const std::string vehicle = Column(direct, "SELECT idTVO FROM tVehicles WHERE TypeVO=1 and "
                                               "Concession='LYO' LIMIT 1")
                                    .at(0);
    const std::string client =
        Column(direct, "SELECT idClient FROM tClients WHERE Concession='LYO' LIMIT 1").at(0);

    QApplication app(argc, argv);
    testsupport::ScratchDir dir;
    setenv("APPDATA", dir.file("appdata").c_str(), 1);
    bench::QuietDialogs dialogs;
    TAxTarmel::Options options;
    options.startTimer = false;
    options.dialogs = &dialogs;
    TAxTarmel w(options);
    w.Host.WorkDir = dir.str();
    w.Host.BaseHRef = base;
    w.Host.UserConcession = "LYO";
    w.Host.idUser = "4";
    w.Host.idTypeVO = 1;
    w.Ticks.StartLatch = 1;
    w.Server.ctrlHeld = [] { return false; };
    auto open = [&](const std::string& label, const std::string& id) {
        w.SetText(QStringLiteral("LbIdTVO"), {});
        w.SetText(QStringLiteral("LbIDCustomer"), {});
        w.SetText(QString::fromLatin1(label.c_str()), QString::fromLatin1(id.c_str()));
        w.UpdateParams();
        w.UpdateView(true);
        w.JvXPBtnSearchClick();
    };

    auto* grid = w.Ctl<ui::Grid>(QStringLiteral("ngSearch"));
    Connection raw(port);
    std::string body;
    double directPlate = 0;
    for (Kind& kind : kinds) {
        open(kind.code == 5 ? "LbIDCustomer" : "LbIdTVO", kind.code == 5 ? client : vehicle);
        (w.*kind.pick)();
        std::vector<double> window, serverShare, alone, guardedAlone;
        size_t rows = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (const std::string& text : kind.texts) {
                w.SetText(QStringLiteral("ncbSearch"), QString::fromLatin1(text.c_str()));
                w.Ticks.SearchCountdown = 0;
                auto start = Clock::now();
                w.HttpGetSearchInfo(0);
                const double windowMs = Ms(Clock::now() - start);
                rows += size_t(grid->rowCount());

                SearchCriteria criteria;
                criteria.kind = kind.code;
                criteria.text = text;
                criteria.userConcession = "LYO";
                const SearchQuery query = BuildSearchQuery(criteria);
                std::string target = "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + query.sent +
                                     "&MaxRows=50&idClient=";
                for (size_t at = target.find(' '); at != std::string::npos;
                     at = target.find(' ', at))
                    target.replace(at, 1, "%20");
                start = Clock::now();
                if (!raw.Get(target, body)) {
                    std::fprintf(stderr, "search failed\n");
                    return 1;
                }
                const double serverMs = Ms(Clock::now() - start);

                const dataserver::DialectResult translated =
                    dataserver::TranslateDialect(query.sql);
                auto step = [&translated](sqlite3* connection) {
                    const auto begin = Clock::now();
                    bench::ReadFirstRows(connection, translated.sql);
                    return Ms(Clock::now() - begin);
                };
                const double directMs = step(direct);
                guard.Begin(dataserver::GuardMode::Read, std::chrono::milliseconds(1000));
                const double guardedMs = step(guarded);
                guard.End();
                if (round > 0) {  // the first round warms the caches
                    window.push_back(windowMs);
                    serverShare.push_back(serverMs);
                    alone.push_back(directMs);
                    guardedAlone.push_back(guardedMs);
                }
            }
        }
        if (!w.Text(QStringLiteral("LbDebugInfo0")).isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", kind.name,
                         w.Text(QStringLiteral("LbDebugInfo0")).toLatin1().constData());
            return 1;
        }
        std::fprintf(stderr, "%s: %zu searches, %.1f rows each; server p50 %.3f ms, direct p50 "
                             "%.3f ms, guarded direct p50 %.3f ms\n",
                     kind.name, kind.texts.size() * kRounds,
                     double(rows) / double(kind.texts.size() * kRounds), Median(serverShare),
                     Median(alone), Median(guardedAlone));
        std::printf("bench: search_%s_p50 %.3f ms\n", kind.name, Median(window));
        std::printf("bench: search_server_%s_p50 %.3f ms\n", kind.name, Median(serverShare));
        if (kind.code == 1) directPlate = Median(alone);
    }
    std::printf("bench: search_direct_plate_p50 %.3f ms\n", directPlate);
    sqlite3_close(direct);
    sqlite3_close(guarded);
    server.Stop();
    return 0;
}
