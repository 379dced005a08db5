// The real window against the real data server through a proxy that spoils the answers of one
// request kind: for every kind of request the window makes and every way an answer goes bad, no
// crash, no freeze past the read time-out, nothing of the bad answer applied to what is shown or
// pending, and a French message that says what happened.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QImage>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "server/xml/texttools.h"
#include "tests/recordform/recordfixture.h"
#include "tests/support/answerfaults.h"
#include "tests/support/faultyproxy.h"
#include "tests/support/ftpserverprocess.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::Fault;
using testsupport::kSuperAdmin;
namespace fs = std::filesystem;

struct RequestKind {
    const char* name;
    const char* endpoint;
    const char* method;      // "" for any
    const char* missing;     // the element MissingElement removes
    const char* duplicated;  // the element DuplicatedElement doubles
    const char* missingSaid;
    const char* duplicatedSaid;
};

// The description's entries may repeat, so it is the document itself that is doubled.
constexpr RequestKind kRequests[] = {
    {"Structure", "AxInfoStruct", "", "axStruct", "axStructS", "aucun axStruct",
     "incomplète ou illisible"},
    {"ValueLists", "AxInfoEquip", "", "ParsS", "ParsS", "ParsS absent", "ParsS en double"},
    {"VehicleRecord", "AxInfoVO", "", "tVO", "tVO", "tVO absent", "tVO en double"},
    {"ClientRecord", "AxInfoCL", "", "TVC", "TVC", "TVC absent", "TVC en double"},
    {"Search", "AxQuery", "", "AXQuery", "AXQuery", "lignes annoncées", "lignes annoncées"},
    {"Save", "AxUpdate", "", "OutParams", "OutParams", "OutParams absent", "OutParams en double"},
    {"Insert", "AxInsert", "GET", "OutParams", "OutParams", "OutParams absent",
     "OutParams en double"},
    {"Upload", "AxInsert", "POST", "OutParams", "OutParams", "OutParams absent",
     "OutParams en double"},
};

void PrintTo(const RequestKind& kind, std::ostream* out) {
    *out << kind.name;
}

bool IsUpload(const RequestKind& kind) {
    return std::string(kind.method) == "POST";
}

// What the window must say, in UTF-8.
std::string Said(Fault fault, const RequestKind& kind) {
    switch (fault) {
        case Fault::Truncated:
            return "incomplète ou illisible";
        case Fault::Empty:
            return "Réponse vide du serveur";
        case Fault::Html:
            return "une page web est arrivée à la place des données";
        case Fault::Huge:
            return IsUpload(kind) ? "Erreur de transfert" : "trop volumineuse";
        case Fault::WrongEncoding:
            return "codage inattendu (UTF-8)";
        case Fault::MissingElement:
            return kind.missingSaid;
        case Fault::DuplicatedElement:
            return kind.duplicatedSaid;
        case Fault::ClosedHalfWay:
            return IsUpload(kind) ? "Erreur de transfert" : "Connexion interrompue";
        case Fault::Status500:
            return IsUpload(kind) ? "Erreur de transfert"
                                  : "Le serveur a répondu par une erreur (500)";
    }
    return {};
}

// The longest time the window's event loop went without running, while it was watched.
class FreezeWatch {
public:
    FreezeWatch() {
        clock_.start();
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }
    qint64 longestMs() {
        tick();
        return longest_;
    }

private:
    void tick() { longest_ = std::max(longest_, clock_.restart()); }
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 longest_ = 0;
};

using Case = std::tuple<RequestKind, Fault>;

// The window through the spoiling proxy.
class SpoiledWindow : public testsupport::RecordWindowTest {
protected:
    static void SetUpTestSuite() {
        RecordWindowTest::SetUpTestSuite();
        std::string root = server_->baseHRef();
        root.erase(root.size() - std::string("tarmel/").size());
        proxy_ = new testsupport::FaultyProxy(root);
    }
    static void TearDownTestSuite() {
        delete proxy_;
        proxy_ = nullptr;
        RecordWindowTest::TearDownTestSuite();
    }
    void SetUp() override {
        RecordWindowTest::SetUp();
        w().Host.BaseHRef = proxy_->url("tarmel/");
        w().Ticks.StartLatch = 1;  // the start sequence has run
    }
    void TearDown() override {
        proxy_->heal();
        RecordWindowTest::TearDown();
    }

    // Every text the window shows the user about what went on: the warning band, the splash
    // while it is up, and the boxes.
    std::string Told() {
        std::string told = L(w().Text(QStringLiteral("LbDebugInfo0")));
        if (!w().Control(QStringLiteral("PanelSplash"))->isHidden())
            told += " | " + L(w().Text(QStringLiteral("LbSplashState")));
        for (const std::string& message : dialogs_.messages) told += " | " + message;
        return Utf8FromLatin1(told);
    }
    // The text of every field of the built pages, as the user sees them.
    std::map<std::string, std::string> Shown() {
        std::map<std::string, std::string> shown;
        for (const TsPage& page : w().Form.Pages) {
            if (!page.built) continue;
            for (const TsDesc& d : page.descriptors) {
                if (d.boundControl != nullptr) {
                    const QString name = d.boundControl->objectName();
                    shown[L(name)] = L(w().Text(name));
                }
            }
        }
        return shown;
    }
    void Type(const char* control, const std::string& text) {
        w().SetText(QString::fromLatin1(control), Q(text));
    }
    static std::string UsedVehicle(const std::string& after = "0") {
        return Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and idTVO>" +
                   after + " order by idTVO");
    }
    static std::string Client(const std::string& after = "0") {
        return Sql("select idClient from tClients where Concession='LYO' and idClient>" + after +
                   " order by idClient");
    }

    void SearchFor(const std::string& text) {
        w().SetText(QStringLiteral("ncbSearch"), Q(text));
        for (int i = 0; i < 4; ++i) w().Timer1Timer();
    }

    static testsupport::FaultyProxy* proxy_;
};

testsupport::FaultyProxy* SpoiledWindow::proxy_ = nullptr;

class BadAnswers : public SpoiledWindow, public ::testing::WithParamInterface<Case> {
protected:
    const RequestKind& kind() const { return std::get<0>(GetParam()); }
    Fault fault() const { return std::get<1>(GetParam()); }

    // From now on, every answer of the kind's endpoint is spoiled by the case's fault.
    void SpoilAnswers() {
        const RequestKind k = kind();
        const Fault f = fault();
        proxy_->spoil(
            k.endpoint,
            [k, f](const std::string& answer) {
                return testsupport::Spoil(f, answer,
                                          f == Fault::DuplicatedElement ? k.duplicated : k.missing);
            },
            k.method);
    }

    void ExpectTold() {
        const std::string told = Told();
        EXPECT_NE(told.find(Said(fault(), kind())), std::string::npos) << told;
    }

    void Description();
    void Record(bool client);
    void Search();
    void Save();
    void Insert();
    void Upload();
};

// A first start with no description kept: no page is built, the splash says why, and the reload
// button recovers once the answers are good again.
void BadAnswers::Description() {
    fs::create_directories(dir_.file("first-start"));
    w().Host.WorkDir = dir_.file("first-start");
    const std::string file =
        w().Host.WorkDir +
        (kind().endpoint == std::string("AxInfoStruct") ? "/XmlStruct.xml" : "/XmlEquip.xml");
    SpoilAnswers();
    w().ShowSplash();
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_FALSE(fs::exists(file)) << "a bad description is not kept";
    EXPECT_FALSE(w().Form.Pages.size() > 1 && w().Form.Pages[1].built);
    EXPECT_FALSE(w().Control(QStringLiteral("PanelSplash"))->isHidden());
    ExpectTold();

    proxy_->heal();
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnActualize"))->click();
    EXPECT_TRUE(w().Control(QStringLiteral("PanelSplash"))->isHidden());
    ASSERT_GT(w().Form.Pages.size(), 1u);
    EXPECT_TRUE(w().Form.Pages[1].built);
}

// Another record asked: the one shown stays whole, field for field, and the band says so.
void BadAnswers::Record(bool client) {
    const std::string first = client ? Client() : UsedVehicle();
    const std::string second = client ? Client(first) : UsedVehicle(first);
    ASSERT_FALSE(second.empty());
    if (client) {
        OpenClient(first, kSuperAdmin);
    } else {
        OpenVehicle(first, kSuperAdmin, 1);
    }
    const std::map<std::string, std::string> before = Shown();
    ASSERT_FALSE(before.empty());
    SpoilAnswers();
    if (client) {
        OpenClient(second, kSuperAdmin, false);
    } else {
        OpenVehicle(second, kSuperAdmin, 1, false);
    }
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(L(w().Text(client ? QStringLiteral("LbIDCustomer") : QStringLiteral("LbIdTVO"))),
              first);
    ExpectTold();
    EXPECT_NE(Told().find("demandé n'a pas pu être chargé"), std::string::npos) << Told();
}

// A second search: the rows of the first one stay.
void BadAnswers::Search() {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    Click("JvXPBtnSearch");
    w().TSLbImmatClick();
    SearchFor("");
    auto& grid = *w().Ctl<ui::Grid>(QStringLiteral("ngSearch"));
    const int rows = grid.rowCount();
    ASSERT_GT(rows, 1);
    const QString first = grid.cellText(0, 0);
    const std::string plate = L(grid.cellText(1, 4));
    SpoilAnswers();
    SearchFor(plate.substr(0, 5));
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_EQ(grid.rowCount(), rows);
    EXPECT_EQ(grid.cellText(0, 0), first);
    ExpectTold();
}

// An edit saved: it stays pending, as typed, until a save is answered.
void BadAnswers::Save() {
    const std::string id = UsedVehicle();
    OpenVehicle(id, kSuperAdmin, 1);
    const std::string price = std::to_string(20000 + static_cast<int>(fault())) + ".00";
    Type("cPrixVente", price);
    const QString pending = Statement();
    ASSERT_FALSE(pending.isEmpty());
    SpoilAnswers();
    Click("JvXPBtnSave");
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_EQ(Statement(), pending);
    EXPECT_EQ(Field(1, "PrixVente").currentValue, price);
    EXPECT_TRUE(SaveEnabled());
    ExpectTold();

    proxy_->heal();
    EXPECT_TRUE(w().SaveChanges());
    EXPECT_EQ(SqlAmount("select PrixVente from tVehicles where idTVO=" + id), price);
}

// A new vehicle saved: it stays new, with no number taken, until an insert is answered.
void BadAnswers::Insert() {
    OpenVehicle(UsedVehicle(), kSuperAdmin, 1);
    Click("JvXPBtnNewVO");
    ASSERT_TRUE(w().Record.FlagNewEnreg);
    const QString idBefore = w().Text(QStringLiteral("LbIdTVO"));
    Type("cNVO", std::to_string(97000 + static_cast<int>(fault())));
    Choose("cInfoMarque", 1);
    ASSERT_TRUE(SaveEnabled());
    SpoilAnswers();
    EXPECT_FALSE(w().SaveChanges());
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_TRUE(w().Record.FlagNewEnreg);
    EXPECT_EQ(w().Text(QStringLiteral("LbIdTVO")), idBefore);
    EXPECT_TRUE(SaveEnabled());
    ExpectTold();
}

// A photo linked: the list of linked photos gets no row.
void BadAnswers::Upload() {
    testsupport::FtpServerProcess ftp(server_->ftpRoot());
    UsePhotoFolder(ftp, 800, 600);
    const std::string id = UsedVehicle();
    const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + id);
    Exec("DELETE FROM [tVO - Liens Images] WHERE idVO = " + idVO +
         "; UPDATE tVehicles SET NomImage = NULL WHERE idVO = " + idVO);
    OpenVehicle(id, kSuperAdmin, 1);
    w().show();
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(5);
    auto* local = w().Ctl<ui::ListView>(QStringLiteral("cListImageSource"));
    ASSERT_EQ(local->topLevelItemCount(), 1);
    local->setCurrentItem(local->topLevelItem(0));
    auto& linked = *w().Ctl<ui::ListView>(QStringLiteral("cListImageVO"));
    ASSERT_EQ(linked.topLevelItemCount(), 0);
    SpoilAnswers();
    Click("czCmdAssociateImage");
    EXPECT_GT(proxy_->spoiled(), 0);
    EXPECT_EQ(linked.topLevelItemCount(), 0);
    EXPECT_EQ(Sql("select ifnull(NomImage, 'NULL') from tVehicles where idVO=" + idVO), "NULL")
        << "no default photo set after a bad link answer";
    ExpectTold();
}

TEST_P(BadAnswers, NothingIsAppliedAndTheWindowSaysWhy) {
    FreezeWatch watch;
    const std::string name = kind().name;
    if (name == "Structure" || name == "ValueLists") Description();
    if (name == "VehicleRecord") Record(false);
    if (name == "ClientRecord") Record(true);
    if (name == "Search") Search();
    if (name == "Save") Save();
    if (name == "Insert") Insert();
    if (name == "Upload") Upload();
    // The main client's read time-out.
    EXPECT_LT(watch.longestMs(), 5000) << "the window did not answer for that long";
}

INSTANTIATE_TEST_SUITE_P(EveryRequestAndFault, BadAnswers,
                         ::testing::Combine(::testing::ValuesIn(kRequests),
                                            ::testing::ValuesIn(testsupport::kEveryFault)),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(std::get<0>(param.param).name) + "_" +
                                    testsupport::FaultName(std::get<1>(param.param));
                         });

// Real answers changed at random on their way to the window: whatever it made of each one (taken
// as it came, or refused), nothing breaks, the window never stops answering, and the next good
// answers show the records as they are. TARMEL_MUTATIONS sets the number of rounds (1,000 in the
// sanitizer run of scripts/sanitizers.sh), TARMEL_MUTATION_SEED replays a run.
class AnswerMutations : public SpoiledWindow {};

int FromEnvironment(const char* name, int otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : otherwise;
}

TEST_F(AnswerMutations, RandomChangesOfRealAnswersBreakNothing) {
    const int rounds = FromEnvironment("TARMEL_MUTATIONS", 100);
    const auto seed = static_cast<uint64_t>(
        FromEnvironment("TARMEL_MUTATION_SEED", static_cast<int>(std::random_device{}() >> 1)));
    std::mt19937_64 random(seed);
    const std::string a = UsedVehicle(), b = UsedVehicle(a), edited = UsedVehicle(b);
    const std::string client = Client(), otherClient = Client(client);
    OpenVehicle(a, kSuperAdmin, 1);
    const std::map<std::string, std::string> shownA = Shown();
    ASSERT_FALSE(shownA.empty());

    const char* endpoints[] = {"AxInfoVO", "AxInfoCL", "AxQuery", "AxUpdate"};
    int refused = 0;
    FreezeWatch watch;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < rounds; ++round) {
        const std::string endpoint = endpoints[random() % std::size(endpoints)];
        const uint64_t roundSeed = random();
        proxy_->spoil(endpoint, [roundSeed](const std::string& answer) {
            std::mt19937_64 mutations(roundSeed);
            return testsupport::Answer(testsupport::Mutate(answer, mutations));
        });
        dialogs_.messages.clear();
        if (endpoint == "AxInfoVO") OpenVehicle(random() % 2 ? b : a, kSuperAdmin, 1, false);
        if (endpoint == "AxInfoCL")
            OpenClient(random() % 2 ? client : otherClient, kSuperAdmin, false);
        if (endpoint == "AxQuery") {
            OpenVehicle(a, kSuperAdmin, 1, false);
            if (w().Control(QStringLiteral("Panel1"))->isHidden()) Click("JvXPBtnSearch");
            SearchFor(std::string(1, static_cast<char>('A' + random() % 26)));
        }
        if (endpoint == "AxUpdate") {
            OpenVehicle(edited, kSuperAdmin, 1, false);
            Type("cPrixVente", std::to_string(10000 + round) + ".00");
            w().SaveChanges();
        }
        if (!w().Text(QStringLiteral("LbDebugInfo0")).isEmpty()) ++refused;

        proxy_->heal();
        OpenVehicle(a, kSuperAdmin, 1, false);
        ASSERT_TRUE(w().Text(QStringLiteral("LbDebugInfo0")).isEmpty())
            << "round " << round << " of seed " << seed << ": "
            << L(w().Text(QStringLiteral("LbDebugInfo0")));
        const std::map<std::string, std::string> shown = Shown();
        for (const auto& [control, text] : shownA)
            ASSERT_EQ(shown.at(control), text)
                << control << ", round " << round << " of seed " << seed;
    }
    const qint64 longest = watch.longestMs();
    std::printf(
        "mutations: %d rounds, %d refused with a warning, %d taken, %.1f s, seed %llu, "
        "longest wait of the event loop %lld ms\n",
        rounds, refused, rounds - refused, clock.elapsed() / 1000.0,
        static_cast<unsigned long long>(seed), static_cast<long long>(longest));
    EXPECT_LT(longest, 5000);
}

}  // namespace
}  // namespace tarmel
