// Times opening a record in the window against the local data server over its demo dealership:
// the first open (documents fetched, every page built), then switching between records of the
// same kind (record fetched, pages refilled). The client-side figure is the pages' refill alone,
// on documents already fetched; the total adds the request.
#include <QApplication>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/recordform/benchwindow.h"

using tarmel::bench::Clock;
using tarmel::bench::Median;
using tarmel::bench::Ms;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    tarmel::bench::BenchWindow bench;
    tarmel::TAxTarmel& window = *bench.window;
    tarmel::testsupport::DataServerProcess& server = *bench.server;

    // Used vehicles of the dealership, as the demo database holds them.
    std::vector<std::string> vehicles;
    sqlite3* db = nullptr;
    sqlite3_open_v2(server.databasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db,
                       "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' limit 6",
                       -1, &query, nullptr);
    while (sqlite3_step(query) == SQLITE_ROW)
        vehicles.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    sqlite3_close(db);
    if (vehicles.size() < 2) {
        std::fprintf(stderr, "bench_record_open: the demo database has too few used vehicles\n");
        return 1;
    }
    // Shown (offscreen), so that laying out and painting the pages count too.
    window.show();
    QApplication::processEvents();
    window.SetText(QStringLiteral("LbIdTVO"), QString::fromStdString(vehicles[0]));
    const auto openStart = Clock::now();
    window.UpdateParams();
    window.UpdateView(true);
    QApplication::processEvents();
    const double first = Ms(Clock::now() - openStart);

    std::vector<double> totals, clients;
    for (int round = 0; round < 40; ++round) {
        const std::string& id = vehicles[1 + round % (vehicles.size() - 1)];
        window.SetText(QStringLiteral("LbIdTVO"), QString::fromStdString(id));
        const auto start = Clock::now();
        window.UpdateView(false);
        QApplication::processEvents();
        totals.push_back(Ms(Clock::now() - start));
        const auto refill = Clock::now();
        window.UpdateTabDesc(false, true);
        QApplication::processEvents();
        clients.push_back(Ms(Clock::now() - refill));
    }
    std::printf("bench: record_open_first %.1f ms\n", first);
    std::printf("bench: record_switch_client %.1f ms\n", Median(clients));
    std::printf("bench: record_switch_total %.1f ms\n", Median(totals));
    return 0;
}
