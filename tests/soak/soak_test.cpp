// Soak: the real window offscreen against the real data server for a while, loading, editing and
// saving vehicles and clients, searching, adding and deleting cost lines and linking photos
// through a real FTP server, while a second workstation writes the same rows over HTTP. Every
// write either side had acknowledged is looked for in the database at the end; the window must
// show no message and no request error, and its resident memory must stay flat after warm-up.
// The window sends only the columns it changed, so the one conflict to expect is a row the other
// workstation wrote after the window loaded it: shown stale, saved around, counted, not an error.
//
// CTest runs it for 60 s; ten minutes by hand, from the build folder:
//   TARMEL_SOAK_SECONDS=600 QT_QPA_PLATFORM=offscreen tests/soak/soak_test
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "tests/recordform/recordfixture.h"
#include "tests/soak/residentmemory.h"
#include "tests/soak/secondwriter.h"
#include "tests/support/ftpserverprocess.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;
using testsupport::WriterNumber;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kDefaultSeconds = 60;
constexpr double kWarmupShare = 0.2;
constexpr int kWarmupRounds = 3;  // at least one photo round and one search among them
constexpr int kPhotoEvery = 8;    // rounds; a photo round is the slowest by far
constexpr int kSearchEvery = 3;
// Growth allowed between the warm-up's peak and the end's. In a flat run the two differ by about
// 1 MB (which freed blocks glibc happens to keep resident). Of the two faults this run found, the
// date edits' undo history grew the window by some 40 kB a round, past 8 MB within CTest's
// minute; the grid icons made per row, by some 8 kB a round until Qt's 10 MB pixmap cache was
// full, past both bounds in the ten-minute run. The heap bound leaves room for this test's own
// list of the second writer's lines (up to 1.5 MB in ten minutes).
constexpr long kGrowthLimitKb = 8 * 1024;
constexpr long kHeapGrowthLimitKb = 4 * 1024;

// Each memory figure is the highest reading over a stretch of rounds that holds two photo rounds.
// A single reading lands on either side of one: glibc keeps the freed buffers of its pictures
// (several MB) for the next, up to its trim threshold, so only stretches alike compare.
constexpr int kStretchRounds = 2 * kPhotoEvery;
struct Reading {
    long rss = -1, heap = -1, serverRss = -1;  // kB
};
struct Peak {
    Reading kb;
    void See(const Reading& r) {
        kb.rss = std::max(kb.rss, r.rss);
        kb.heap = std::max(kb.heap, r.heap);
        kb.serverRss = std::max(kb.serverRss, r.serverRss);
    }
};
Reading Read(pid_t server) {
    return {testsupport::ResidentKb(), testsupport::HeapInUseKb(), testsupport::ResidentKb(server)};
}

int SoakSeconds() {
    const char* text = std::getenv("TARMEL_SOAK_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : kDefaultSeconds;
}

void Figure(const char* name, long value) {
    std::printf("soak: %s %ld\n", name, value);
    std::fflush(stdout);
}

class Soak : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        ftp_ = std::make_unique<testsupport::FtpServerProcess>(server_->ftpRoot());
        w().Ticks.StartLatch = 1;  // the start sequence has run
        w().Server.ctrlHeld = [] { return false; };
        UsePhotoFolder(*ftp_);

        // Used vehicles of LYO with cost lines and a plate to search, their photos unlinked;
        // clients of LYO that pass the client page's checks.
        for (int i = 0; i < 4; ++i) {
            const std::string after = vehicles_.empty() ? "0" : vehicles_.back().idTVO;
            testsupport::SoakVehicle v;
            v.idTVO =
                Sql("select idTVO from tVehicles t where TypeVO=1 and Concession='LYO' and "
                    "ifnull(Immatriculation,'')<>'' and exists (select 1 from [tVO - Frevo] f "
                    "where f.idVO=t.idVO) and idTVO>" +
                    after + " order by idTVO");
            ASSERT_FALSE(v.idTVO.empty()) << i;
            v.idVO = Sql("select idVO from tVehicles where idTVO=" + v.idTVO);
            v.plate = Sql("select Immatriculation from tVehicles where idTVO=" + v.idTVO);
            Exec("DELETE FROM [tVO - Liens Images] WHERE idVO = " + v.idVO +
                 "; UPDATE tVehicles SET NomImage = NULL WHERE idVO = " + v.idVO);
            vehicles_.push_back(v);

            const std::string afterClient = clients_.empty() ? "0" : clients_.back();
            clients_.push_back(
                Sql("select idClient from tClients where Concession='LYO' and "
                    "ifnull(Site,'')<>'' and idCom is not null and ifnull(CliNom,'')<>'' and "
                    "idClient>" +
                    afterClient + " order by idClient"));
            ASSERT_FALSE(clients_.back().empty()) << i;
        }
        prices_.resize(vehicles_.size());
        lines_.resize(vehicles_.size());
        notes_.resize(clients_.size());
        writer_ = std::make_unique<testsupport::SecondWriter>(
            server_->baseHRef(), vehicles_, clients_, Sql("select min(idCom) from tStaff"));
        w().show();
    }
    void TearDown() override {
        writer_.reset();
        ftp_.reset();
        RecordWindowTest::TearDown();
    }

    std::string Shown(const char* control) { return L(w().Text(QString::fromLatin1(control))); }
    std::string Band() { return Shown("LbDebugInfo0"); }
    void Tab(int index) { w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(index); }
    ui::Grid& Grid(const char* name) { return *w().Ctl<ui::Grid>(QString::fromLatin1(name)); }
    int RowOf(ui::Grid& grid, const char* column, const std::string& value) {
        const int c = grid.columnIndex(QString::fromLatin1(column));
        for (int r = 0; r < grid.rowCount(); ++r)
            if (L(grid.cellText(r, c)) == value) return r;
        return -1;
    }
    // Nothing shown to the user and no request error since the last check.
    void Quiet(const char* step) {
        ASSERT_TRUE(dialogs_.messages.empty()) << step << ": " << dialogs_.messages[0];
        ASSERT_EQ(Band(), "") << step;
    }
    // What a real event loop does between two user actions, deferred deletions included.
    static void Pump() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A column the second writer owns: the window's page may show an older value (the row was
    // written after the load), which is the expected conflict; saving must not write it back.
    void CountStale(int page, const char* column, const std::string& stored) {
        if (RecordValue(Field(page, column)) != stored) ++conflicts_;
    }

    // From another vehicle (the panel searches the family of the record shown), as the user
    // goes from one vehicle to the next.
    void OpenBySearch(const testsupport::SoakVehicle& v, const testsupport::SoakVehicle& from) {
        OpenVehicle(from.idTVO, kSuperAdmin, 1);
        Quiet("load");
        Click("JvXPBtnSearch");
        ASSERT_FALSE(w().Control(QStringLiteral("Panel1"))->isHidden());
        w().TSLbImmatClick();
        w().SetText(QStringLiteral("ncbSearch"), {});
        w().SetText(QStringLiteral("ncbSearch"), Q(v.plate));
        for (int i = 0; i < 4; ++i) w().Timer1Timer();  // the countdown runs out
        ui::Grid& grid = Grid("ngSearch");
        int row = -1;
        for (int r = 0; r < grid.rowCount(); ++r)
            if (L(grid.cellText(r, 0)) == v.idTVO) row = r;
        ASSERT_GE(row, 0) << v.plate;
        emit grid.cellClicked(row, 3);
        ASSERT_TRUE(w().Control(QStringLiteral("Panel1"))->isHidden());
        ++searches_;
    }

    void EditVehicle(size_t i, int round) {
        const testsupport::SoakVehicle& v = vehicles_[i];
        if (round % kSearchEvery == kSearchEvery - 1) {
            OpenBySearch(v, vehicles_[(i + 1) % vehicles_.size()]);
            if (HasFatalFailure()) return;
        } else {
            OpenVehicle(v.idTVO, kSuperAdmin, 1);
        }
        ASSERT_EQ(Shown("LbIdTVO"), v.idTVO);
        Quiet("load");
        Tab(0);
        const long before = writer_->VehicleValue(i);
        CountStale(1, "CommentaireReprise",
                   Sql("select CommentaireReprise from tVehicles where idTVO=" + v.idTVO));
        const std::string price = std::to_string(10000 + round) + ".00";
        w().SetText(QStringLiteral("cPrixVente"), Q(price));
        ASSERT_TRUE(w().SaveChanges()) << Band();
        Quiet("price");
        ASSERT_EQ(SqlAmount("select PrixVente from tVehicles where idTVO=" + v.idTVO), price);
        prices_[i] = price;
        ++saves_;
        // The other workstation's columns, unchanged on this page, were not sent back.
        EXPECT_GE(
            WriterNumber(Sql("select CommentaireReprise from tVehicles where idTVO=" + v.idTVO)),
            before);
        EXPECT_GE(std::atol(Sql("select KMS from tVehicles where idTVO=" + v.idTVO).c_str()),
                  before);
    }

    // A cost line added with its amount, and the one added on the previous visit deleted.
    void AddCostLine(size_t i, int round) {
        const testsupport::SoakVehicle& v = vehicles_[i];
        const std::string mine = "select max(idFrevo) from [tVO - Frevo] where idVO=" + v.idVO +
                                 " and ifnull(LibelleFrevo,'') not like 'w2-%'";
        Tab(4);
        ui::Grid& grid = Grid("ngFrevo");
        const std::string last = Sql(mine);
        testsupport::ClickCell(grid, grid.rowCount() - 1, 0);
        Quiet("line added");
        const std::string id = Sql(mine);
        ASSERT_NE(id, last) << "a line was inserted";
        ASSERT_EQ(Sql("select TypeFrevo from [tVO - Frevo] where idFrevo=" + id), "interne");
        const int row = RowOf(grid, "idFrevo", id);
        ASSERT_GE(row, 0) << "the reloaded grid shows it";
        const std::string amount = std::to_string(1 + round % 900) + ".00";
        grid.setCellText(row, grid.columnIndex(QStringLiteral("MontantHT")), Q(amount));
        Quiet("line amount");
        ASSERT_EQ(SqlAmount("select MontantHT from [tVO - Frevo] where idFrevo=" + id), amount);
        saves_ += 2;

        if (!lines_[i].id.empty()) {
            const int previous = RowOf(grid, "idFrevo", lines_[i].id);
            ASSERT_GE(previous, 0) << lines_[i].id;
            testsupport::ClickCell(grid, previous, 0);
            Quiet("line deleted");
            ASSERT_EQ(Sql("select count(*) from [tVO - Frevo] where idFrevo=" + lines_[i].id), "0");
            deletedLines_.push_back(lines_[i].id);
            ++saves_;
        }
        lines_[i] = {id, amount};
    }

    void EditClient(size_t i, int round) {
        const std::string& client = clients_[i];
        OpenClient(client, kSuperAdmin);
        ASSERT_EQ(Shown("LbIDCustomer"), client);
        Quiet("client load");
        Tab(6);
        const long before = writer_->ClientValue(i);
        CountStale(7, "CliProfession",
                   Sql("select CliProfession from tClients where idClient=" + client));
        const std::string note = "note fenetre " + std::to_string(round);
        w().SetText(QStringLiteral("aCliObservations"), Q(note));
        ASSERT_TRUE(w().SaveChanges()) << Band();
        Quiet("client");
        ASSERT_EQ(Sql("select CliObservations from tClients where idClient=" + client), note);
        notes_[i] = note;
        ++saves_;
        for (const char* column : {"CliProfession", "CliEmployeur"}) {
            EXPECT_GE(WriterNumber(Sql(std::string("select ") + column +
                                       " from tClients where idClient=" + client)),
                      before)
                << column;
        }
    }

    // The local photo linked (made, uploaded by FTP, linked), then unlinked again.
    void LinkPhoto(size_t i) {
        const testsupport::SoakVehicle& v = vehicles_[i];
        const std::string links = "select count(*) from [tVO - Liens Images] where idVO=" + v.idVO;
        Tab(5);
        auto* local = w().Ctl<ui::ListView>(QStringLiteral("cListImageSource"));
        ASSERT_EQ(local->topLevelItemCount(), 1);
        local->setCurrentItem(local->topLevelItem(0));
        ASSERT_EQ(Sql(links), "0");
        Click("czCmdAssociateImage");
        Quiet("photo");
        ASSERT_EQ(Sql(links), "1");
        const std::string name =
            Sql("select NomImage from [tVO - Liens Images] where idVO=" + v.idVO);
        ASSERT_TRUE(fs::exists(fs::path(server_->ftpRoot()) / "www/voimages" / (name + ".jpg")))
            << name;
        ASSERT_EQ(Sql("select NomImage from tVehicles where idVO=" + v.idVO), name);
        auto* linked = w().Ctl<ui::ListView>(QStringLiteral("cListImageVO"));
        ASSERT_EQ(linked->topLevelItemCount(), 1);
        linked->setCurrentItem(linked->topLevelItem(0));
        Click("czCmdDeleteImageVO");
        Quiet("photo deleted");
        ASSERT_EQ(Sql(links), "0");
        saves_ += 2;
        ++photos_;
    }

    void Round(int round) {
        const size_t i = static_cast<size_t>(round) % vehicles_.size();
        EditVehicle(i, round);
        if (HasFatalFailure()) return;
        AddCostLine(i, round);
        if (HasFatalFailure()) return;
        if (round % kPhotoEvery == 1) LinkPhoto(i);
        if (HasFatalFailure()) return;
        EditClient(static_cast<size_t>(round) % clients_.size(), round);
    }

    // Counts one final check, found or not.
    void Found(bool found, const std::string& what) {
        ++checked_;
        if (found) ++found_;
        EXPECT_TRUE(found) << what;
    }

    std::unique_ptr<testsupport::FtpServerProcess> ftp_;
    std::vector<testsupport::SoakVehicle> vehicles_;
    std::vector<std::string> clients_;
    std::unique_ptr<testsupport::SecondWriter> writer_;
    struct Line {
        std::string id, amount;
    };
    std::vector<std::string> prices_, notes_;  // the window's last saves, per record
    std::vector<Line> lines_;                  // the window's live cost line, per vehicle
    std::vector<std::string> deletedLines_;
    long saves_ = 0, searches_ = 0, photos_ = 0, conflicts_ = 0, checked_ = 0, found_ = 0;
};

TEST_F(Soak, EveryAcknowledgedWriteIsFoundAndTheWindowsMemoryStaysFlat) {
    const int seconds = SoakSeconds();
    const auto start = Clock::now();
    const auto warmAt =
        start + std::chrono::milliseconds(static_cast<long>(seconds * 1000 * kWarmupShare));
    const auto endAt = start + std::chrono::seconds(seconds);
    const auto progressStep = std::chrono::seconds(std::max(1, seconds / 10));
    auto nextProgress = start + progressStep;
    Pump();
    const pid_t server = testsupport::ChildNamed("tarmel-dataserv");
    const Reading first = Read(server);
    Peak warm;  // the stretch right after the warm-up
    int warmRounds = 0;
    std::deque<Reading> last;  // the final stretch
    int rounds = 0;

    writer_->Start();
    while (Clock::now() < endAt || warmRounds < kStretchRounds) {
        Round(rounds++);
        if (HasFailure()) break;
        Pump();
        const Reading now = Read(server);
        if (Clock::now() >= warmAt && rounds >= kWarmupRounds && warmRounds < kStretchRounds) {
            warm.See(now);
            ++warmRounds;
        }
        last.push_back(now);
        if (last.size() > kStretchRounds) last.pop_front();
        if (Clock::now() >= nextProgress) {
            nextProgress += progressStep;
            std::printf(
                "soak: progress_s %ld rounds %d rss_kb %ld heap_kb %ld server_rss_kb %ld\n",
                static_cast<long>(
                    std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count()),
                rounds, now.rss, now.heap, now.serverRss);
            std::fflush(stdout);
        }
    }
    writer_->Stop();
    Peak end;
    for (const Reading& r : last) end.See(r);

    // The window's last value of each record, its live cost lines, none of those it deleted.
    for (size_t i = 0; i < vehicles_.size(); ++i) {
        const std::string& id = vehicles_[i].idTVO;
        if (!prices_[i].empty()) {
            Found(SqlAmount("select PrixVente from tVehicles where idTVO=" + id) == prices_[i],
                  "price of " + id);
        }
        if (!lines_[i].id.empty()) {
            Found(SqlAmount("select MontantHT from [tVO - Frevo] where idFrevo=" + lines_[i].id) ==
                      lines_[i].amount,
                  "cost line " + lines_[i].id);
        }
        // The second writer's last value of its columns.
        if (const long n = writer_->VehicleValue(i); n > 0) {
            Found(Sql("select CommentaireReprise from tVehicles where idTVO=" + id) ==
                      testsupport::WriterText(n),
                  "CommentaireReprise of " + id);
            Found(Sql("select KMS from tVehicles where idTVO=" + id) == std::to_string(n),
                  "KMS of " + id);
        }
    }
    for (const std::string& line : deletedLines_) {
        Found(Sql("select count(*) from [tVO - Frevo] where idFrevo=" + line) == "0",
              "deleted cost line " + line);
    }
    for (size_t i = 0; i < clients_.size(); ++i) {
        const std::string& id = clients_[i];
        if (!notes_[i].empty()) {
            Found(Sql("select CliObservations from tClients where idClient=" + id) == notes_[i],
                  "note of " + id);
        }
        if (const long n = writer_->ClientValue(i); n > 0) {
            for (const char* column : {"CliProfession", "CliEmployeur"}) {
                Found(Sql(std::string("select ") + column +
                          " from tClients where idClient=" + id) == testsupport::WriterText(n),
                      std::string(column) + " of " + id);
            }
        }
    }
    // Every line the second writer inserted, unless it deleted it itself.
    for (const testsupport::WrittenLine& line : writer_->lines()) {
        const std::string label =
            Sql("select " +
                std::string(line.table == "tActions" ? "CommentaireAction" : "LibelleFrevo") +
                " from " + line.table + " where " + line.idColumn + "=" + line.id);
        Found(line.deleted ? label.empty() : label == line.label,
              line.table + " " + line.id + (line.deleted ? " deleted" : ""));
    }

    Figure("seconds", seconds);
    Figure("rounds", rounds);
    Figure("rss_start_kb", first.rss);
    Figure("rss_warm_kb", warm.kb.rss);
    Figure("rss_end_kb", end.kb.rss);
    Figure("heap_start_kb", first.heap);
    Figure("heap_warm_kb", warm.kb.heap);
    Figure("heap_end_kb", end.kb.heap);
    Figure("server_rss_start_kb", first.serverRss);
    Figure("server_rss_warm_kb", warm.kb.serverRss);
    Figure("server_rss_end_kb", end.kb.serverRss);
    Figure("window_saves", saves_);
    Figure("searches", searches_);
    Figure("photos", photos_);
    Figure("expected_conflicts", conflicts_);
    Figure("second_writer_acknowledged", writer_->acknowledged());
    Figure("second_writer_lines", static_cast<long>(writer_->lines().size()));
    Figure("checked", checked_);
    Figure("found", found_);

    EXPECT_TRUE(writer_->failures().empty()) << writer_->failures().front();
    EXPECT_GT(writer_->acknowledged(), 0);
    EXPECT_EQ(found_, checked_);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front();
    ASSERT_GT(warm.kb.rss, 0);
    EXPECT_LE(end.kb.rss - warm.kb.rss, kGrowthLimitKb)
        << "start " << first.rss << " kB, warm " << warm.kb.rss << " kB, end " << end.kb.rss;
    EXPECT_LE(end.kb.heap - warm.kb.heap, kHeapGrowthLimitKb)
        << "heap warm " << warm.kb.heap << " kB, end " << end.kb.heap;
}

}  // namespace
}  // namespace tarmel
