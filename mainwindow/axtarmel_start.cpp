// Window creation, OnStart and the host parameters, the splash, the 250 ms timer with its start
// latch and start sequence, the reload message, hints and the trace log.
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QProxyStyle>
#include <QStyle>
#include <clocale>
#include <cstdlib>
#include <stdexcept>

#include "app/hostparams.h"
#include "app/settingsfile.h"
#include "app/startchecks.h"
#include "app/startparams.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/frenchtexts.h"
#include "record/controlplan.h"
#include "record/loadnotice.h"

#ifndef TARMEL_VERSION
#define TARMEL_VERSION "0.0.0.0"
#endif

namespace tarmel {

namespace {

// Tool tips appear after half a second, as the start sequence asks.
class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

void UseComicFont(QWidget* window) {
    // Debian has no Comic Sans MS; Comic Neue is drawn in its spirit.
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(11);
    window->setFont(font);
}

}  // namespace

TAxTarmel::TAxTarmel() : TAxTarmel(Options{}) {}

TAxTarmel::TAxTarmel(const Options& options) {
    if (options.dialogs) {
        dialogs_ = options.dialogs;
    } else {
        ownDialogs_ = MessageBoxDialogs(this);
        dialogs_ = ownDialogs_.get();
    }
    Trace.on = false;
    Host.ParamCount = 0;
    // Numbers with "." whatever the machine's locale (Qt's and the C library's, which Qt set
    // from the desktop); dates are always formatted dd/mm/yyyy.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    // The toolkit's own words (dialog buttons, calendars) in French whatever the machine says.
    ui::UseFrenchToolkitTexts();
    setLocale(ui::FrenchLocale());
    // The exchanges write to the trace log, and Ctrl held forces a fresh description download.
    Server.trace = [this](const std::string& line) { Trace.Write(line); };
    Server.ctrlHeld = [] {
        return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
    };

    setObjectName(QStringLiteral("AxTarmel"));
    setWindowTitle(QStringLiteral("Tarmel "));
    UseComicFont(this);
    setFixedSize(825, 596);
    BuildControls();
    BindHandlers();
    WriteStartLabels();

    Timer1.setInterval(250);
    connect(&Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    if (options.startTimer) Timer1.start();

    Guarded([this] {
        Host.IniFileName = tarmel::IniFileName();
        SettingsFile settings(Host.IniFileName);
        const std::pair<const char*, std::string> published[] = {
            {"FirstApplicationHandle", std::to_string(getpid())},
            {"FirstFormHandle", std::to_string(quintptr(winId()))},
            {"Application", QCoreApplication::applicationFilePath().toStdString()},
            {"Version", TARMEL_VERSION},
        };
        for (const auto& [key, value] : published)
            if (!settings.SetTagRegistry(key, value))
                throw std::runtime_error("Écriture impossible dans " + settings.path());
        OnStart();
    });
}

TAxTarmel::~TAxTarmel() {
    if (hintsInstalled_) qApp->removeEventFilter(this);
}

void TAxTarmel::WriteStartLabels() {
    SetText("LbDebugInfo3", QStringLiteral("Démarrage de AxTarmel... [%1]").arg(Host.ParamCount) +
                                Text("LbHttpRoot") + " - " + form::Q(Host.BaseHRef) + " - " +
                                Text("LbIdTVO"));
    SetText("LbDebugInfo1", QStringLiteral("Démarrage de AxTarmel..."));
}

void TAxTarmel::TraceLog(const QString& message) { Trace.Write(message.toLatin1().toStdString()); }

void TAxTarmel::OnStart() {
    Trace.on = false;
    Host.WorkDir = WorkDirFromEnvironment();
    Host.IniFileName = tarmel::IniFileName();
    const SettingsFile settings(Host.IniFileName);
    Trace.on = ParseTraceSwitch(settings.GetTagRegistry("Trace"));
    // Settings values are Latin-1 text; a folder name is handed to the file system in its own
    // encoding.
    if (std::string folder = settings.GetTagRegistry("TraceRepTemp"); !folder.empty())
        Host.WorkDir =
            QFile::encodeName(QString::fromLatin1(folder.data(), qsizetype(folder.size())))
                .toStdString();
    Trace.workDir = Host.WorkDir;
    const std::string family = settings.GetTagRegistry("idTypeVO");
    const std::optional<int> code = ParseIdTypeVO(family);
    if (!code) throw std::runtime_error("'0" + family + "' n'est pas une valeur entière correcte");
    Host.idTypeVO = *code;
    for (size_t i = 0; i < kHostParameters.size(); ++i)
        HostParameterSetter(int(i), settings.GetTagRegistry(kHostParameters[i].key));
    ShowSplash();
}

void TAxTarmel::HostParameterSetter(int index, const std::string& value) {
    switch (index) {
        case 0:
            SetText("LbHttpRoot", form::Q(value));
            break;
        case 1:
            Host.BaseHRef = value;
            SetText("LbBaseHRef", form::Q(value));
            break;
        case 2:
            SetText("LbIdTVO", form::Q(value));
            break;
        case 3:
            Host.OCXName = value;
            break;
        case 4:
            Host.OCXVersion = value;
            break;
        case 5:
            Host.URLImages = value;
            break;
        case 6:
            Host.idUser = value;
            break;
        case 7:
            Host.UserConcession = value;
            break;
        case 8:
            Host.UserSite = value;
            break;
        case 9:
            Host.WhereClause = value;
            break;
        case 10:
            Host.OrderClause = value;
            break;
        case 11:
            SetText("LbIDCustomer", form::Q(value));
            break;
        default:
            Q_ASSERT(false);
            return;
    }
    ++Host.ParamCount;
    const std::string_view word = kHostParameters[size_t(index)].traceWord;
    TraceLog(QString::fromLatin1(word.data(), qsizetype(word.size())));
}

void TAxTarmel::SetHttpRoot(const std::string& value) { HostParameterSetter(0, value); }
void TAxTarmel::SetBaseHRef(const std::string& value) { HostParameterSetter(1, value); }
void TAxTarmel::SetidTVO(const std::string& value) { HostParameterSetter(2, value); }
void TAxTarmel::SetOCXName(const std::string& value) { HostParameterSetter(3, value); }
void TAxTarmel::SetOCXVersion(const std::string& value) { HostParameterSetter(4, value); }
void TAxTarmel::SetURLImages(const std::string& value) { HostParameterSetter(5, value); }
void TAxTarmel::SetidUser(const std::string& value) { HostParameterSetter(6, value); }
void TAxTarmel::SetUserConcession(const std::string& value) { HostParameterSetter(7, value); }
void TAxTarmel::SetUserSite(const std::string& value) { HostParameterSetter(8, value); }
void TAxTarmel::SetWhereClause(const std::string& value) { HostParameterSetter(9, value); }
void TAxTarmel::SetOrderClause(const std::string& value) { HostParameterSetter(10, value); }
void TAxTarmel::SetidClient(const std::string& value) { HostParameterSetter(11, value); }

std::string TAxTarmel::idClient() const { return Text("LbIDCustomer").toLatin1().toStdString(); }

std::string TAxTarmel::openClientId() const { return idClient(); }

void TAxTarmel::showWarning(const std::string& text) {
    SetText("LbDebugInfo0", form::Q(text));
    // Whole in the tool tip, wherever the label is too small for it.
    Control("LbDebugInfo0")->setToolTip(form::Q(text));
    ApplyPlan(ControlPlan().Show("PanelWarning", !text.empty()));
}

void TAxTarmel::ShowSplash() {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    QWidget* splash = Control("PanelSplash");
    splash->raise();
    SetText("LbSplash", QStringLiteral("Tarmel - Version ") +
                            QString::fromStdString(CommaVersion(TARMEL_VERSION)));
    SetText("LbConcession", form::Q(Host.UserConcession));
    SetText("LbSplashState", form::Q(SplashConnecting()));
    // The group's own logo, or the dealership's name.
    const bool logo = Host.UserConcession == "QUINTAR";
    ApplyPlan(ControlPlan().Show("ImageSplash", logo).Show("LbConcession", !logo));
    QCoreApplication::processEvents();
    ApplyPlan(ControlPlan().Show("Panel1", false).Show("PanelSplash", true));
    QCoreApplication::processEvents();
}

void TAxTarmel::ShowServerDown() {
    SetText("LbSplashState", form::Q(SplashServerDown(Form.DescriptionProblem)));
    EndBusyCursor();
    // The reload button stays within reach above the splash.
    Control("JvXPBtnActualize")->raise();
}

void TAxTarmel::EndBusyCursor() {
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
}

void TAxTarmel::HideSplash() {
    ApplyPlan(ControlPlan().Show("PanelSplash", false));
    EndBusyCursor();
}

void TAxTarmel::Timer1Timer() {
    const TickServices services = TickCounters(Ticks);
    if (services.secondPassed) ++Server.IdleSeconds;
    if (services.duplicateCheck) HttpGetDblInfo();
    if (services.search) HttpGetSearchInfo(0);
    if (services.toggleShape)
        ApplyPlan(ControlPlan().Show("Shape1", Control("Shape1")->isHidden()));
    SetText("LbDebugInfo3", QStringLiteral("[%1]").arg(Host.ParamCount) + Text("LbHttpRoot") +
                                " - " + form::Q(Host.BaseHRef) + " - " + Text("LbIdTVO") + " - " +
                                form::Q(Host.URLImages));
    if (AdvanceStartLatch(Ticks, Host.ParamCount)) StartSequence();
}

void TAxTarmel::StartSequence() {
    TraceLog(QStringLiteral("on TimerOK : "));
    Host.InstalledVersion = CommaVersion(TARMEL_VERSION);
    QString version = "TAxTarmel-" + form::Q(Host.InstalledVersion) + "-";
    const char* lower = std::getenv("http_proxy");
    const char* upper = std::getenv("HTTP_PROXY");
    Host.ProxySetting = ProxySettingFrom(lower ? lower : "", upper ? upper : "");
    if (!Host.ProxySetting.empty()) {
        const ProxyAddress proxy = SplitProxySetting(Host.ProxySetting);
        Server.SetProxy(proxy.host, proxy.port);
        const std::string line = proxy.host + " - " + std::to_string(proxy.port) + " - ";
        TraceLog("Connexion Proxy : " + form::Q(line));
        SetText("LbDebugInfo1", form::Q(line));
        version += form::Q(Host.ProxySetting) + "-";
    }
    SetText("LbVersion", version);
    if (Host.InstalledVersion != Host.OCXVersion) {
        QWidget* label = Control("LbVersion");
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, QColor(255, 0, 0));
        label->setPalette(p);
    }
    UpdateParams();
    UpdateView(true);
    // Hints: shown after 500 ms, for 3 s; their long part goes to the status line.
    if (!hintsInstalled_) {
        if (!dynamic_cast<HintStyle*>(QApplication::style()))
            QApplication::setStyle(new HintStyle(QApplication::style()->name()));
        for (QWidget* control : std::as_const(controls_))
            if (!ui::Hint(control).isEmpty()) control->setToolTipDuration(3000);
        qApp->installEventFilter(this);
        hintsInstalled_ = true;
    }
}

void TAxTarmel::OnMsgActualize() {
    OnStart();
    Server.IdHTTP1.Disconnect();
    UpdateParams();
    UpdateView(true);
}

void TAxTarmel::OnInstanceMessage(const QString& message) {
    Guarded([&] {
        TraceLog(QStringLiteral("Message reçu : ") + message);
        if (message == QLatin1String("show")) {
            showNormal();
            raise();
            activateWindow();
        } else if (message == QLatin1String("reload")) {
            // A reload asked while a load waits on the server runs once that load is over;
            // running it inside the load would mix the two records.
            if (LoadRunning || Server.IdHTTP1.busy()) {
                QTimer::singleShot(100, this, [this] { OnInstanceMessage(QStringLiteral("reload")); });
                return;
            }
            // The record asked for replaces the one shown only once its changes are settled.
            if (MayLeaveRecord()) OnMsgActualize();
        }
    });
}

void TAxTarmel::GestionHints(const QString& hint) { SetText("LbDebugInfo3", ui::LongHint(hint)); }

bool TAxTarmel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
        const QString hint = ui::Hint(static_cast<QWidget*>(watched));
        if (!hint.isEmpty()) GestionHints(hint);
    }
    return QWidget::eventFilter(watched, event);
}

bool TAxTarmel::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) WriteStartLabels();
    // The window itself (no control focused) claims the Tab key.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab &&
        (!focusWidget() || focusWidget() == this)) {
        Guarded([this] {
            TraceLog(QStringLiteral("CMWantSpecialKey : Key TAB détecté"));
            dialogs_->Message(Dialogs::Kind::Information, QStringLiteral("Tarmel"),
                              QStringLiteral("Tab intercepté!"));
        });
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tarmel
