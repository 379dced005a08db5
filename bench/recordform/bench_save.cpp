// Times saving in the window against the local data server over its demo dealership: one price
// change (edit, save, stored, Save disabled), and one new used vehicle created and reloaded.
#include <QApplication>
#include <QComboBox>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/recordform/benchwindow.h"
#include "tests/support/databasefile.h"

namespace {

using tarmel::bench::Clock;
using tarmel::bench::Median;
using tarmel::bench::Ms;

bool SaveDisabled(tarmel::TAxTarmel& window) {
    return !window.Control(QStringLiteral("JvXPBtnSave"))->isEnabled();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    tarmel::bench::BenchWindow bench;
    tarmel::TAxTarmel& window = *bench.window;
    const std::string vehicle = tarmel::testsupport::FirstValue(
        bench.server->databasePath(),
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO limit 1");
    if (vehicle.empty()) {
        std::fprintf(stderr, "bench_save: the demo database has no used vehicle\n");
        return 1;
    }
    bench.Open(vehicle);

    std::vector<double> updates;
    for (int round = 0; round < 40; ++round) {
        const auto start = Clock::now();
        window.SetText(QStringLiteral("cPrixVente"), QString::number(10000 + round) + ".00");
        const bool saved = window.SaveChanges();
        QApplication::processEvents();
        updates.push_back(Ms(Clock::now() - start));
        if (!saved || !SaveDisabled(window)) {
            std::fprintf(stderr, "bench_save: the price change was not saved\n");
            return 1;
        }
    }

    std::vector<double> inserts;
    for (int round = 0; round < 15; ++round) {
        window.JvXPBtnNewVOClick();
        window.SetText(QStringLiteral("cNVO"), QString::number(90000 + round));
        auto* make = window.Ctl<QComboBox>(QStringLiteral("cInfoMarque"));
        make->setCurrentIndex(1);
        emit make->activated(1);
        const auto start = Clock::now();
        const bool saved = window.SaveChanges();
        QApplication::processEvents();
        inserts.push_back(Ms(Clock::now() - start));
        if (!saved || window.Record.FlagNewEnreg) {
            std::fprintf(stderr, "bench_save: the new vehicle was not created\n");
            return 1;
        }
    }
    std::printf("bench: save_update %.1f ms\n", Median(updates));
    std::printf("bench: save_insert_reload %.1f ms\n", Median(inserts));
    return 0;
}
