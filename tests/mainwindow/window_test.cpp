// The live window offscreen: header setters, hints, page rules, the warning band, the splash and
// the start-up run by the timer.
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>

#include <filesystem>

#include "mainwindow/bindings.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"
#include "tests/mainwindow/windowfixture.h"

namespace tarmel::testsupport {
namespace {

using Texts = std::vector<std::pair<const char*, const char*>>;

void Fill(TAxTarmel& w, const Texts& texts) {
    for (const auto& [name, text] : texts) w.SetText(name, QString::fromUtf8(text));
}

int FontPx(const TAxTarmel& w, const char* name) { return w.Control(name)->font().pixelSize(); }

TEST_F(WindowTest, HeaderSettersSummariseEachKindOfRecord) {
    struct Case {
        const char* kind;
        Texts texts;
        const char *number, *title, *caption, *field1, *field2, *field3;
    } cases[] = {
        {"_TVO",
         {{"cNVO", "1234"}, {"cInfoMarque", "peugeot"}, {"cInfoVersion", "308 SW 1.6 HDi"},
          {"cInfoCouleur", "Gris Artense"}, {"cCV", "6"}, {"cKMS", "45000"},
          {"cDateEntree", "01/03/2024"}},
         "1234", "PEUGEOT - 308 SW 1.6 HDi", "Tarmel - VO N°1234 - PEUGEOT - 308 SW 1.6 HDi",
         "Gris Artense", "6 cv - 45000 kms", "10 jours"},
        {"_TVD",
         {{"cVDNVO", "88"}, {"cVDInfoMarque", "renault"}, {"cVDInfoVersion", "Clio V"},
          {"cVDInfoCouleur", "Rouge"}, {"cVDCV", "5"}, {"cVDKMS", "120"}},
         "88", "RENAULT - Clio V", "Tarmel - VD N°88 - RENAULT - Clio V", "Rouge", "5 cv - 120 kms",
         "avant"},
        {"_TVN",
         {{"cVNNVO", "501"}, {"cVNInfoMarque", "volkswagen"}, {"cVNInfoVersion", "Golf"},
          {"cVNInfoCouleur", "Noir"}, {"cVNDateOrdre", "01/02/2024"}, {"cVNDateFacture", "11/02/2024"}},
         "501", "VOLKSWAGEN - Golf", "Tarmel - VN N°501 - VOLKSWAGEN - Golf", "Noir", "avant",
         "10 jours"},
        {"_TCL",
         {{"aCliEmail", "Jean@Garage.FR"}, {"aCliMobile", "0612345678"}, {"aCliTelDom", "123456789"}},
         "avant", "", "Tarmel - CL N°avant - ", "jean@garage.fr", "06.12.34.56.78", "123.45.67.89"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CountingWindow& w = Open();
        w.Record.ServerToday = {2024, 3, 11};
        w.Record.RecordKind = c.kind;
        for (const char* field : {"xcInfoNVO", "xcInfoTitre", "xcInfoField1", "xcInfoField2", "xcInfoField3"})
            w.SetText(field, "avant");
        Fill(w, c.texts);
        w.setInfoTitre();
        w.setInfoNVO();
        w.setInfoField1();
        w.setInfoField2();
        w.setInfoField3();
        EXPECT_EQ(w.Text("xcInfoNVO"), QString::fromUtf8(c.number));
        EXPECT_EQ(w.Text("xcInfoTitre"), QString::fromUtf8(c.title));
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(w.Text("xcInfoField1"), QString::fromUtf8(c.field1));
        EXPECT_EQ(w.Text("xcInfoField2"), QString::fromUtf8(c.field2));
        EXPECT_EQ(w.Text("xcInfoField3"), QString::fromUtf8(c.field3));
    }
}

TEST_F(WindowTest, EmailFontShrinksWithItsLength) {
    CountingWindow& w = Open();
    w.Record.RecordKind = "_TCL";
    // Sizes in points: 12, 10, 10, 9, 8, 7.
    const std::pair<int, int> cases[] = {{13, 16}, {14, 13}, {19, 13}, {20, 12}, {31, 11}, {32, 9}};
    for (auto [length, px] : cases) {
        const QString email = QString(length - 5, 'a') + "@x.fr";
        w.SetText("aCliEmail", email);
        w.setInfoField1();
        EXPECT_EQ(w.Text("xcInfoField1"), email);
        EXPECT_EQ(FontPx(w, "xcInfoField1"), px) << length;
    }
    // A vehicle's colour is always shown at 12 points.
    w.Record.RecordKind = "_TVO";
    w.setInfoField1();
    EXPECT_EQ(FontPx(w, "xcInfoField1"), 16);
}

TEST_F(WindowTest, ClientTelephonesAreGroupedOnlyWhenAllDigits) {
    CountingWindow& w = Open();
    w.Record.RecordKind = "_TCL";
    const std::pair<const char*, const char*> cases[] = {
        {"0612345678", "06.12.34.56.78"}, {"612345678", "612.34.56.78"},
        {"06 12345678", "06 12345678"},   {"06AB345678", "06AB345678"},
        {"6", ""},
    };
    for (auto [mobile, shown] : cases) {
        w.SetText("aCliMobile", mobile);
        w.setInfoField2();
        EXPECT_EQ(w.Text("xcInfoField2"), shown) << mobile;
    }
}

TEST_F(WindowTest, IdentityCaptionStartsWithClarumII) {
    CountingWindow& w = Open();
    Fill(w, {{"aCliCivilite", "Mme"}, {"aCliNom", "Lefèvre"}, {"aCliPrenom", "aNNE"}});
    w.ShowIdentity();
    EXPECT_EQ(w.Text("xcIdentity"), QString::fromUtf8("Mme LEFèVRE Anne"));
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("ClarumII - Mme LEFèVRE Anne"));
}

TEST_F(WindowTest, DaysOfAUsedVehicleRunToTheServerDateAndSkipWhileFilling) {
    CountingWindow& w = Open();
    w.Record.RecordKind = "_TVO";
    w.Record.ServerToday = {2024, 3, 11};
    w.SetText("cDateEntree", "01/03/2024");
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "10 jours");
    w.Form.Filling = true;  // the tab builder is filling the page
    w.SetText("cDateOrdre", "05/03/2024");
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "10 jours");
    w.Form.Filling = false;
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "4 jours");
}

TEST_F(WindowTest, DaysOfANewVehicleRunFromOrderToInvoiceOrRegistration) {
    CountingWindow& w = Open();
    w.Record.RecordKind = "_TVN";
    Fill(w, {{"cVNDateOrdre", "01/02/2024"}, {"cVNMEC", "01/03/2024"}});
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "29 jours");
    w.SetText("cVNDateFacture", "11/02/2024");
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "10 jours");
    w.SetText("cVNDateFacture", "01/02/2024");
    w.setInfoField3();
    EXPECT_EQ(w.Text("xcInfoField3"), "");
}

TEST_F(WindowTest, UpdateHintsSwapsVehicleAndClientBothWays) {
    CountingWindow& w = Open();
    const std::pair<const char*, const char*> clientHints[] = {
        {"JvXPBtnActualize", "rechargement des informations du client"},
        {"JvXPBtnNewVO", "nouveau client"},
        {"JvXPBtnPrint", "impression de la fiche du client"},
        {"JvXPBtnSuppr", "suppression de l'enregistrement"},
        {"JvXPNext", "enregistrement suivant"},
        {"JvXPPrev", "enregistrement précédent"},
        {"JvXPBtnSearch", "recherche d'un client ou d'un véhicule"},  // not one of the six
    };
    w.UpdateHints(true);
    for (auto [name, hint] : clientHints) {
        EXPECT_EQ(ui::Hint(w.Control(name)), QString::fromUtf8(hint)) << name;
        EXPECT_EQ(w.Control(name)->toolTip(), QString::fromUtf8(hint)) << name;
    }
    w.UpdateHints(false);
    EXPECT_EQ(ui::Hint(w.Control("JvXPBtnPrint")), QString::fromUtf8("impression de la fiche du véhicule"));
    EXPECT_EQ(ui::Hint(w.Control("JvXPBtnNewVO")), QString::fromUtf8("nouveau véhicule"));
    EXPECT_EQ(ui::Hint(w.Control("JvXPBtnSearch")),
              QString::fromUtf8("recherche d'un client ou d'un véhicule"));
}

// Presses the mouse on a tab, as the user does.
void ClickTab(ui::PageControl* tabs, int index) {
    QTabBar* bar = tabs->tabBar();
    const QPointF at = bar->tabRect(index).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
}

TEST_F(WindowTest, LeavingAPageWhoseChangesCannotBeSavedKeepsIt) {
    CountingWindow& w = Open();
    auto* tabs = w.Ctl<ui::PageControl>("Tabs");
    w.resize(825, 596);
    tabs->tabBar()->resize(tabs->tabBar()->sizeHint());

    // Nothing unsaved: no save, the page changes.
    ClickTab(tabs, 2);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(w.saves, 0);

    w.Control("JvXPBtnSave")->setEnabled(true);  // unsaved changes
    w.saveSucceeds = false;
    ClickTab(tabs, 3);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_FALSE(tabs->selectPage(0));
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(w.saves, 2);

    // The keyboard is asked the same: arrows on the tabs, Ctrl+Tab anywhere on the pages.
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(tabs->tabBar(), &right);
    QKeyEvent ctrlTab(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
    QApplication::sendEvent(tabs, &ctrlTab);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(w.saves, 4);

    w.saveSucceeds = true;
    ClickTab(tabs, 3);
    EXPECT_EQ(tabs->currentIndex(), 3);
    EXPECT_EQ(w.saves, 5);
    QApplication::sendEvent(tabs, &ctrlTab);
    EXPECT_EQ(tabs->currentIndex(), 4);
    QApplication::sendEvent(tabs->tabBar(), &right);
    EXPECT_EQ(tabs->currentIndex(), 5);
    EXPECT_EQ(w.saves, 7);
}

TEST_F(WindowTest, ArrowsAndWheelStepOverTheHiddenPages) {
    CountingWindow& w = Open();
    auto* tabs = w.Ctl<ui::PageControl>("Tabs");
    // A used vehicle shows pages 1, 4, 5 and 6.
    for (int index : {1, 2, 6, 7, 8}) tabs->setTabVisible(index, false);
    tabs->setCurrentIndex(0);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(tabs->tabBar(), &right);
    EXPECT_EQ(tabs->currentIndex(), 3);
    QApplication::sendEvent(tabs->tabBar(), &right);
    EXPECT_EQ(tabs->currentIndex(), 4);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(tabs->tabBar(), &left);
    QApplication::sendEvent(tabs->tabBar(), &left);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(WindowTest, TypingLimitsNeverCutWhatTheProgramShows) {
    CountingWindow& w = Open();
    // An edit limited to 5 characters keeps a longer record value, can shorten it, and refuses
    // to grow past the limit.
    auto* postcode = w.Ctl<QLineEdit>("cCP");
    ASSERT_EQ(ui::TypingLimit(postcode), 5);
    postcode->setText("690070");
    EXPECT_EQ(postcode->text(), "690070");
    postcode->end(false);
    postcode->backspace();
    EXPECT_EQ(postcode->text(), "69007");
    postcode->insert("1");
    EXPECT_EQ(postcode->text(), "69007");
    postcode->clear();
    postcode->insert("123");
    EXPECT_EQ(postcode->text(), "123");

    // A combo limited to 5 characters shows a long item whole.
    auto* combo = new ui::Combo(&w);
    combo->makeEditable();
    combo->setMaxLength(5);
    combo->addItems({"EX : Extension de garantie", "RE : Reprise"});
    combo->setCurrentIndex(0);
    EXPECT_EQ(combo->currentText(), "EX : Extension de garantie");
    EXPECT_EQ(combo->findText(combo->currentText()), 0);
}

TEST_F(WindowTest, AnAccentedTraceFolderIsTheFolderOnDisk) {
    // The settings file holds Latin-1 ("jos\xE9"); the folder on disk is named in UTF-8.
    std::filesystem::create_directories(dir.path() / "appdata/Tarmel");
    writeFile(ini, "[Options]\nTrace=1\nTraceRepTemp=" + dir.str() + "/jos\xE9\n");
    std::filesystem::create_directories(dir.file("jos\xC3\xA9"));
    CountingWindow& w = Open();
    EXPECT_EQ(w.Host.WorkDir, dir.file("jos\xC3\xA9"));
    w.TraceLog("essai");
    EXPECT_EQ(w.Trace.fileName(), dir.file("jos\xC3\xA9") + "/TAXTarmel.log");
    EXPECT_TRUE(std::filesystem::exists(w.Trace.fileName()));
}

TEST_F(WindowTest, AReloadAskedDuringALoadWaitsForIt) {
    CountingWindow& w = Open();
    const int before = w.Host.ParamCount;
    w.LoadRunning = true;  // as while a load waits on the server
    w.OnInstanceMessage("reload");
    EXPECT_EQ(w.Host.ParamCount, before) << "not inside the running load";
    w.LoadRunning = false;
    QEventLoop wait;
    QTimer::singleShot(400, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(w.Host.ParamCount, before + 12) << "run once the load is over";
}

TEST_F(WindowTest, APageSubListLoadsOnceUntilThePagesAreBuiltAgain) {
    CountingWindow& w = Open();
    auto* tabs = w.Ctl<ui::PageControl>("Tabs");
    w.ShowSplash();
    ASSERT_TRUE(tabs->selectPage(4));
    EXPECT_EQ(w.loads, std::vector<std::string>{"LoadInfoFrevo"});
    EXPECT_TRUE(w.Control("PanelSplash")->isHidden());
    tabs->selectPage(0);
    tabs->selectPage(4);
    EXPECT_EQ(w.loads, std::vector<std::string>{"LoadInfoFrevo"});

    w.loads.clear();
    w.ForgetLoadedSubLists();  // a record was loaded: the pages were built again
    tabs->selectPage(0);       // no sub-list on the first page
    tabs->selectPage(4);
    EXPECT_EQ(w.loads, std::vector<std::string>{"LoadInfoFrevo"});

    w.loads.clear();
    w.Record.SelectedVehicle = 3;
    for (int page : {2, 5, 6, 7, 8, 3, 1}) tabs->selectPage(page);
    const std::vector<std::string> expected = {"GetInfoReservation", "LoadInfoCliche", "GetDataImages",
                                               "LoadInfoAction", "LoadInfoVehicle"};
    EXPECT_EQ(w.loads, expected);
    EXPECT_EQ(w.Record.SelectedVehicle, 0);
}

TEST_F(WindowTest, TheWarningBandShowsExactlyWhileThereIsAWarning) {
    CountingWindow& w = Open();
    EXPECT_TRUE(w.Control("PanelWarning")->isHidden());
    w.showWarning("Erreur de connexion au serveur");
    EXPECT_EQ(w.Text("LbDebugInfo0"), "Erreur de connexion au serveur");
    EXPECT_FALSE(w.Control("PanelWarning")->isHidden());
    w.showWarning("");
    EXPECT_EQ(w.Text("LbDebugInfo0"), "");
    EXPECT_TRUE(w.Control("PanelWarning")->isHidden());
}

TEST_F(WindowTest, CreationPublishesTheWindowAndShowsTheSplash) {
    WriteSettings("UserConcession=QUINTAR\nidClient=-1\n");
    CountingWindow& w = Open();
    const std::string settings = readFile(ini);
    for (const char* key : {"FirstApplicationHandle=", "FirstFormHandle=", "Application=", "Version=" TARMEL_VERSION})
        EXPECT_NE(settings.find(key), std::string::npos) << key;
    EXPECT_EQ(w.windowTitle(), "Tarmel ");
    EXPECT_EQ(w.size(), QSize(825, 596));
    EXPECT_FALSE(w.Control("PanelSplash")->isHidden());
    EXPECT_TRUE(w.Control("Panel1")->isHidden());
    EXPECT_EQ(w.Text("LbSplash"), "Tarmel - Version " + QString(TARMEL_VERSION).replace('.', ','));
    EXPECT_FALSE(w.Control("ImageSplash")->isHidden());
    EXPECT_TRUE(w.Control("LbConcession")->isHidden());
    EXPECT_EQ(w.idClient(), "-1");
    EXPECT_EQ(w.openClientId(), "-1");

    WriteSettings("UserConcession=quintar\n");  // the logo is QUINTAR's alone, exact case
    w.OnMsgActualize();
    w.ShowSplash();
    EXPECT_TRUE(w.Control("ImageSplash")->isHidden());
    EXPECT_FALSE(w.Control("LbConcession")->isHidden());
    EXPECT_EQ(w.Text("LbConcession"), "quintar");
}

TEST_F(WindowTest, AnInvalidFamilyCodeStopsReadingTheSettings) {
    WriteSettings("idTypeVO=-1\nidTVO=12\n");
    CountingWindow& w = Open();
    EXPECT_EQ(w.Host.ParamCount, 0);
    EXPECT_EQ(w.Text("LbIdTVO"), "");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains("'0-1'")) << dialogs.messages[0].toStdString();
    w.Timer1Timer();
    EXPECT_EQ(w.updateParams, 0);  // never all twelve parameters: no start
}

TEST_F(WindowTest, TheLongPartOfAHintShowsInTheStatusLineUntilTheNextTick) {
    WriteSettings("HttpRoot=http://srv/\nBaseHRef=http://srv/tarmel/\nidTVO=12\nURLImages=http://srv/img/\n");
    CountingWindow& w = Open();
    w.GestionHints(QString::fromUtf8("Enregistrer|enregistrement des modifications"));
    EXPECT_EQ(w.Text("LbDebugInfo3"), "enregistrement des modifications");
    w.GestionHints("sans partie longue");
    EXPECT_EQ(w.Text("LbDebugInfo3"), "sans partie longue");
    w.Timer1Timer();
    EXPECT_EQ(w.Text("LbDebugInfo3"), "[12]http://srv/ - http://srv/tarmel/ - 12 - http://srv/img/");
}

TEST_F(WindowTest, AHintUnderTheMouseReachesTheStatusLineOnceStarted) {
    CountingWindow& w = Open();
    w.Timer1Timer();  // the start sequence installs the hint notification
    QWidget* print = w.Control("JvXPBtnPrint");
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), print->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(print, &tip);
    EXPECT_EQ(w.Text("LbDebugInfo3"), QString::fromUtf8("impression de la fiche du véhicule"));
    EXPECT_EQ(print->toolTipDuration(), 3000);
}

TEST_F(WindowTest, TheWindowItselfClaimsTheTabKey) {
    CountingWindow& w = Open();
    ASSERT_EQ(w.focusWidget(), nullptr);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&w, &tab);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], QString::fromUtf8("Tarmel: Tab intercepté!"));
    EXPECT_TRUE(tab.isAccepted());
}

// ---- The timer ----

TEST_F(WindowTest, ACountdownRunsItsActionOnceAfterItsTicksAndRestartsWhenSetAgain) {
    CountingWindow& w = Open();
    w.Ticks.SearchCountdown = 3;
    w.Timer1Timer();
    w.Timer1Timer();
    EXPECT_TRUE(w.searches.empty());
    w.Timer1Timer();
    EXPECT_EQ(w.searches, std::vector<int>{0});
    for (int i = 0; i < 5; ++i) w.Timer1Timer();
    EXPECT_EQ(w.searches, std::vector<int>{0});

    w.Ticks.DuplicateCheckCountdown = 2;
    w.Timer1Timer();
    w.Ticks.DuplicateCheckCountdown = 2;  // typing again restarts the delay
    w.Timer1Timer();
    EXPECT_EQ(w.duplicateChecks, 0);
    w.Timer1Timer();
    EXPECT_EQ(w.duplicateChecks, 1);
}

TEST_F(WindowTest, TheMarkerShapeBlinksWhileBlinkIsOn) {
    CountingWindow& w = Open();
    QWidget* shape = w.Control("Shape1");
    std::vector<bool> shown;
    w.Ticks.BlinkOn = true;
    for (int i = 0; i < 7; ++i) {
        w.Timer1Timer();
        shown.push_back(!shape->isHidden());
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, false, false, false, true}));
    w.Ticks.BlinkOn = false;
    w.Timer1Timer();
    EXPECT_FALSE(shape->isHidden());
}

TEST_F(WindowTest, TheStartSequenceRunsOnceAlsoWhenTicksArriveDuringItsRequests) {
    WriteSettings("idTVO=12\n");
    CountingWindow& w = Open();
    w.duringUpdateParams = [&] {
        w.Timer1Timer();  // the request lets window messages run
        w.Timer1Timer();
    };
    w.Timer1Timer();
    EXPECT_EQ(w.updateParams, 1);
    EXPECT_EQ(w.updateView, 1);
    for (int i = 0; i < 4; ++i) w.Timer1Timer();
    EXPECT_EQ(w.updateParams, 1);
    EXPECT_EQ(w.Ticks.StartLatch, 7);
    EXPECT_TRUE(w.Control("PanelSplash")->isHidden());
}

TEST_F(WindowTest, WithoutASettingsFileTheTwelveSettersRunAndTheFirstTickStarts) {
    ASSERT_FALSE(std::filesystem::exists(ini));
    CountingWindow& w = Open();
    EXPECT_EQ(w.Host.ParamCount, 12);
    EXPECT_EQ(w.Text("LbIdTVO"), "");
    EXPECT_EQ(w.idClient(), "");
    w.Timer1Timer();
    EXPECT_EQ(w.updateParams, 1);
    EXPECT_EQ(w.updateView, 1);
    // The settings file now holds what the window published, nothing else.
    EXPECT_NE(readFile(ini).find("FirstFormHandle="), std::string::npos);
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(WindowTest, AReloadRereadsTheSettingsWithoutRepeatingTheVersionAndProxyChecks) {
    WriteSettings("Trace=1\nidTVO=12\nOCXVersion=" + QString(TARMEL_VERSION).replace('.', ',').toStdString() + "\n");
    writeFile(log, "");  // an existing log keeps every line
    setenv("http_proxy", "http://proxy.garage.fr:3128/", 1);
    CountingWindow& w = Open();
    w.Timer1Timer();
    const QString version = "TAxTarmel-" + QString(TARMEL_VERSION).replace('.', ',') + "-proxy.garage.fr:3128-";
    EXPECT_EQ(w.Text("LbVersion"), version);
    EXPECT_EQ(w.Text("LbDebugInfo1"), "proxy.garage.fr - 3128 - ");
    EXPECT_NE(w.Control("LbVersion")->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    WriteSettings("Trace=1\nidTVO=99\nidClient=5\n");
    w.OnMsgActualize();
    EXPECT_EQ(w.Host.ParamCount, 24);
    EXPECT_EQ(w.Text("LbIdTVO"), "99");
    EXPECT_EQ(w.idClient(), "5");
    EXPECT_EQ(w.updateParams, 2);
    EXPECT_EQ(w.updateView, 2);
    for (int i = 0; i < 3; ++i) w.Timer1Timer();
    EXPECT_EQ(w.updateParams, 2);

    const std::string trace = readFile(log);
    EXPECT_EQ(Occurrences(trace, "on TimerOK : "), 1u) << trace;
    EXPECT_EQ(Occurrences(trace, "Connexion Proxy : proxy.garage.fr - 3128 - "), 1u) << trace;
    EXPECT_EQ(Occurrences(trace, " - idtvo\n"), 2u) << trace;
    EXPECT_EQ(Occurrences(trace, " - idClient\n"), 2u) << trace;
    unsetenv("http_proxy");
}

TEST_F(WindowTest, AnInstalledVersionOtherThanTheExpectedOneTurnsTheVersionRed) {
    WriteSettings(std::string("OCXVersion=") + TARMEL_VERSION + "\n");  // dots: not the comma form
    CountingWindow& w = Open();
    w.Timer1Timer();
    EXPECT_EQ(w.Control("LbVersion")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.Text("LbDebugInfo1"), QString::fromUtf8("Démarrage de AxTarmel..."));  // no proxy
}

TEST_F(WindowTest, EveryRowOfTheBindingTableBindsALiveControl) {
    CountingWindow& w = Open();
    for (const Binding& row : Bindings()) {
        for (std::string_view name : row.controls) {
            if (name == kTextField || name == kComboField || name == kListBoxField) continue;
            SCOPED_TRACE(std::string(name) + " " + ui::EventName(row.event));
            QWidget* control = w.Control(QString::fromLatin1(name.data(), qsizetype(name.size())));
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(ui::HasHandler(control, row.event));
        }
    }
}

TEST_F(WindowTest, AFieldRoleKeepsTheChangeHandlerTheFormGaveTheControl) {
    CountingWindow& w = Open();
    // cNVO has its own change handler; a created edit has none and gets EditChange.
    QWidget* number = w.Control("cNVO");
    auto* created = new ui::NumberEdit(w.Control("Sheet01"));
    w.BindFieldHandlers(number, FieldRole::Text);
    w.BindFieldHandlers(created, FieldRole::Text);
    w.Record.RecordKind = "_TVO";
    w.SetText("cNVO", "4321");
    EXPECT_EQ(w.Text("xcInfoNVO"), "4321") << "cNVOChange still runs, not EditChange alone";
    EXPECT_TRUE(ui::HasChangeHandler(created));
    EXPECT_TRUE(ui::HasHandler(created, ui::Event::KeyDown));
    EXPECT_FALSE(ui::HasHandler(created, ui::Event::Enter)) << "entry and exit are for combos";
    auto* combo = new ui::Combo(w.Control("Sheet01"));
    w.BindFieldHandlers(combo, FieldRole::Combo);
    for (ui::Event e : {ui::Event::Change, ui::Event::Enter, ui::Event::Exit, ui::Event::KeyDown,
                        ui::Event::KeyUp})
        EXPECT_TRUE(ui::HasHandler(combo, e)) << ui::EventName(e);
}

TEST_F(WindowTest, OptionListsOpenFromTheirButtonAndCloseWhenLeft) {
    CountingWindow& w = Open();
    for (const auto& [buttonName, listName] :
         {std::pair{"czVDOptions", "cVDInfoOptions"}, std::pair{"czVNOptions", "cVNInfoOptions"}}) {
        SCOPED_TRACE(listName);
        auto* button = w.Ctl<QAbstractButton>(buttonName);
        QWidget* list = w.Control(listName);
        ASSERT_NE(button, nullptr);
        list->hide();
        button->click();
        EXPECT_FALSE(list->isHidden());
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(list, &in);
        EXPECT_EQ(list->size(), QSize(200, 480));
        EXPECT_TRUE(button->isHidden());
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(list, &out);
        EXPECT_TRUE(list->isHidden());
        EXPECT_FALSE(button->isHidden());
        button->click();
        button->click();
        EXPECT_TRUE(list->isHidden()) << "a second click closes it";
    }
}

TEST_F(WindowTest, APageThatCannotBeSavedSaysWhyInFrenchAndOffersNoSave) {
    CountingWindow& w = Open();
    QWidget* control = w.Control("cPrixVente");
    ASSERT_NE(control, nullptr);
    auto field = [&](const char* column, const char* stored, const char* current, QWidget* bound) {
        TsDesc d;
        d.columnName = column;
        d.dataType = datatype::Integer;
        d.storedValue = stored;
        d.currentValue = current;
        d.boundControl = bound;
        return d;
    };
    w.Form.Pages[0].tableTag = "tVehicles";
    const struct {
        std::vector<TsDesc> fields;
        const char* message;
    } cases[] = {
        {{field("PrixVente", "1", "2", control)},
         "Enregistrement impossible : la description de la page ne donne aucune clé"},
        {{field("idVO", "", "", nullptr), field("PrixVente", "1", "2", control)},
         "Enregistrement impossible : l'enregistrement affiché n'a pas d'identifiant"},
    };
    for (const auto& c : cases) {
        w.Form.Pages[1].descriptors = c.fields;
        w.TestPageUpdate(1);
        EXPECT_EQ(w.Text("LbDebugInfo2"), QString::fromUtf8(c.message));
        EXPECT_FALSE(w.Control("JvXPBtnSave")->isEnabled());
    }
}

}  // namespace
}  // namespace tarmel::testsupport
