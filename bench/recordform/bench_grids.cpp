// Times opening the two line grids in the window against the local data server: the costs page of
// a used vehicle with 99 cost lines and the actions page of a client with 99 actions, from the
// page change to the grid filled and painted (offscreen). The documents are already fetched, as
// they are when the user turns to the page of a record on screen.
#include <QApplication>
#include <QTabWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/recordform/benchwindow.h"
#include "mainwindow/toolkit/grid.h"
#include "tests/support/databasefile.h"

namespace {

using tarmel::bench::Clock;
using tarmel::bench::Median;
using tarmel::bench::Ms;

// Statements that replace the record's rows of the table by 99 copies of its first one, the
// numbered column telling the copies apart.
std::string CopiesTo99(const std::string& table, const std::string& owner, const std::string& id,
                       std::string columns, const std::string& numbered) {
    const std::string inserted = columns;
    columns.replace(columns.find(numbered), numbered.size(), numbered + " || ' ' || n.i");
    const std::string mine = " FROM " + table + " WHERE " + owner + " = " + id;
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 99) "
           "INSERT INTO " +
           table + " (" + owner + ", " + inserted + ") SELECT " + owner + ", " + columns +
           " FROM n, (SELECT *" + mine + " LIMIT 1);" + "DELETE" + mine +
           " AND rowid NOT IN (SELECT rowid" + mine + " ORDER BY rowid DESC LIMIT 99)";
}

// Median time of turning to the page (from another one) until its grid is filled and painted.
double TimePage(tarmel::TAxTarmel& window, int page, const char* grid, int rows) {
    auto* tabs = window.Ctl<QTabWidget>(QStringLiteral("Tabs"));
    auto* lines = window.Ctl<tarmel::ui::Grid>(QString::fromLatin1(grid));
    std::vector<double> times;
    for (int round = 0; round < 25; ++round) {
        tabs->setCurrentIndex(0);
        QApplication::processEvents();
        window.ForgetLoadedSubLists();
        const auto start = Clock::now();
        tabs->setCurrentIndex(page);
        lines->viewport()->repaint();
        QApplication::processEvents();
        times.push_back(Ms(Clock::now() - start));
        if (lines->rowCount() < rows) {
            std::fprintf(stderr, "bench_grids: %s shows %d rows, not %d\n", grid, lines->rowCount(),
                         rows);
            return -1;
        }
    }
    return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    tarmel::bench::BenchWindow bench;
    tarmel::TAxTarmel& window = *bench.window;
    const std::string& db = bench.server->databasePath();
    using tarmel::testsupport::FirstValue;
    const std::string vehicle =
        FirstValue(db,
                   "select idTVO from tVehicles v where TypeVO=1 and Concession='LYO' and exists "
                   "(select 1 from [tVO - Frevo] f where f.idVO=v.idVO) order by idTVO");
    const std::string idVO = FirstValue(db, "select idVO from tVehicles where idTVO=" + vehicle);
    const std::string client =
        FirstValue(db,
                   "select c.idClient from tClients c where c.Concession='LYO' and exists "
                   "(select 1 from tActions a where a.idClient=c.idClient) order by idClient");
    if (idVO.empty() || client.empty() ||
        !tarmel::testsupport::ExecuteStatements(
            db, CopiesTo99("[tVO - Frevo]", "idVO", idVO,
                           "DateFrevo, LibelleFrevo, NComptable, NomFournisseur, NFacture, "
                           "TypeFrevo, MontantHT",
                           "LibelleFrevo") +
                    ";" +
                    CopiesTo99("tActions", "idClient", client,
                               "DateAction, idCom, TypeAction, SujetAction, CommentaireAction, "
                               "DateRelance, idComRelance, SujetRelance, PrioriteRelance",
                               "CommentaireAction"))) {
        std::fprintf(stderr, "bench_grids: the demo records could not be given 99 lines\n");
        return 1;
    }
    bench.Open(vehicle);
    const double frevo = TimePage(window, 4, "ngFrevo", 100);  // 99 lines and the add line
    bench.Open(client, true);
    const double actions = TimePage(window, 6, "ngAction", 99);
    if (frevo < 0 || actions < 0) return 1;
    std::printf("bench: frevo_grid_99 %.1f ms\n", frevo);
    std::printf("bench: action_grid_99 %.1f ms\n", actions);
    return 0;
}
