// Times saving in the window against the local data server over its demo dealership: one price
// change (edit, save, stored, Save disabled), and one new used vehicle created and reloaded.
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mainwindow/axtarmelimpl1.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/scratchdir.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class QuietDialogs : public tarmel::Dialogs {
public:
    void Message(Kind, const QString&, const QString&) override {}
    bool Confirm(const QString&, const QString&) override { return true; }
    Answer Ask(const QString&, const QString&) override { return Answer::No; }
};

std::string FirstUsedVehicle(const std::string& database) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db,
                       "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' "
                       "order by idTVO limit 1",
                       -1, &query, nullptr);
    std::string id;
    if (sqlite3_step(query) == SQLITE_ROW)
        id = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    sqlite3_finalize(query);
    sqlite3_close(db);
    return id;
}

bool SaveDisabled(tarmel::TAxTarmel& window) {
    return !window.Control(QStringLiteral("JvXPBtnSave"))->isEnabled();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    tarmel::testsupport::ScratchDir dir;
    setenv("APPDATA", dir.file("appdata").c_str(), 1);
    tarmel::testsupport::DataServerProcess server;

    QuietDialogs dialogs;
    tarmel::TAxTarmel::Options options;
    options.startTimer = false;
    options.dialogs = &dialogs;
    tarmel::TAxTarmel window(options);
    window.Host.WorkDir = dir.str();
    window.Host.BaseHRef = server.baseHRef();
    window.Host.UserConcession = "LYO";
    window.Host.idUser = "4";
    window.Host.idTypeVO = 1;
    const std::string vehicle = FirstUsedVehicle(server.databasePath());
    if (vehicle.empty()) {
        std::fprintf(stderr, "bench_save: the demo database has no used vehicle\n");
        return 1;
    }
    window.show();
    window.SetText(QStringLiteral("LbIdTVO"), QString::fromStdString(vehicle));
    window.UpdateParams();
    window.UpdateView(true);
    QApplication::processEvents();

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
