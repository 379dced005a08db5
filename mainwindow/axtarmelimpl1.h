// TAxTarmel, the main window: every control of the inventory, the header, the start-up, the
// 250 ms timer and the page rules. The handlers of later subsystems are declared here and defined
// in their own files (see the sections below); their controls are bound by name in handlers.cpp.
#pragma once

#include <QHash>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/timerclock.h"
#include "app/tracelog.h"
#include "mainwindow/dialogs.h"
#include "server/dates.h"
#include "server/exchangehost.h"
#include "server/serverlink.h"

namespace tarmel {

class TAxTarmel : public QWidget, public ExchangeHost {
    Q_OBJECT
public:
    struct Options {
        bool startTimer = true;      // tests drive Timer1Timer themselves
        Dialogs* dialogs = nullptr;  // the message boxes when null
    };
    TAxTarmel();
    explicit TAxTarmel(const Options& options);
    ~TAxTarmel() override;

    // ---- Controls, by object name (axtarmel_build.cpp) ----
    QWidget* Control(const QString& name) const;
    template <class T>
    T* Ctl(const QString& name) const { return qobject_cast<T*>(Control(name)); }
    // The shown text of a control of a text kind (ui::ControlText), and writing it.
    QString Text(const QString& name) const;
    void SetText(const QString& name, const QString& text);
    Dialogs& dialogs() { return *dialogs_; }

    // ---- ExchangeHost: the open client and the warning band ----
    std::string openClientId() const override;
    void showWarning(const std::string& text) override;

    // ---- Start-up, settings, timer, trace (axtarmel_start.cpp) ----
    void OnStart();
    void ShowSplash();
    void HideSplash();
    void Timer1Timer();
    void StartSequence();
    void OnMsgActualize();
    // A line from a later start ("show") or the launcher ("reload").
    void OnInstanceMessage(const QString& message);
    void GestionHints(const QString& hint);
    // Appends to the trace log (8-bit text) while the trace is on; throws TraceLogError.
    void TraceLog(const QString& message);

    // The twelve host-parameter setters: store, count in ParamCount, trace their word.
    void SetHttpRoot(const std::string& value);
    void SetBaseHRef(const std::string& value);
    void SetidTVO(const std::string& value);
    void SetOCXName(const std::string& value);
    void SetOCXVersion(const std::string& value);
    void SetURLImages(const std::string& value);
    void SetidUser(const std::string& value);
    void SetUserConcession(const std::string& value);
    void SetUserSite(const std::string& value);
    void SetWhereClause(const std::string& value);
    void SetOrderClause(const std::string& value);
    void SetidClient(const std::string& value);
    std::string idClient() const;

    int ParamCount = 0;
    int idTypeVO = 0;
    std::string WorkDir, IniFileName;
    std::string BaseHRef, OCXName, OCXVersion, URLImages, idUser, UserConcession, UserSite,
        WhereClause, OrderClause;
    std::string InstalledVersion, ProxySetting;
    TimerState Ticks;             // TickCount, countdowns, blink, StartLatch
    tarmel::TraceLog Trace;       // Trace.on is TraceOn
    QTimer Timer1;
    ServerLink Server{*this};

    // ---- Record header (axtarmel_header.cpp) ----
    void setInfoNVO();
    void setInfoTitre();
    void setInfoField1();
    void setInfoField2();
    void setInfoField3();
    void ShowIdentity();
    void UpdateHints(bool clientOpen);

    // ---- Page rules (axtarmel_pages.cpp) ----
    // True when the page may change: unsaved changes are saved first and must succeed.
    bool TabsChanging();
    void TabsChange();
    // The tab builder calls this whenever it builds the pages: every sub-list loads again.
    void ForgetLoadedSubLists() { SubListLoaded.fill(false); }
    std::array<bool, 9> SubListLoaded{};  // by page position

    // ---- Record state, filled by the record loading ----
    std::string RecordKind;  // "_TVO", "_TVD", "_TVN", "_TCL"
    Date ServerToday;        // year 0 until the server said
    bool Filling = false;
    int SelectedVehicle = 0;

    // ---- Operations of later subsystems ----
    // Placeholders in axtarmel_later.cpp do only what their callers need now; each subsystem
    // replaces its placeholder with its own definition in its folder.
    virtual void UpdateParams();             // structure description and value lists
    virtual void UpdateView(bool reload);    // record document and pages
    virtual bool SaveChanges();              // true when everything pending was saved
    virtual void HttpGetSearchInfo(int step);
    virtual void HttpGetDblInfo();
    virtual void GetInfoReservation();       // page 3: reservation labels
    virtual void LoadInfoFrevo();            // page 5: refurbishment costs
    virtual void LoadInfoCliche();           // page 6: local photo folder
    virtual void GetDataImages();            // page 6: the record's photos
    virtual void LoadInfoAction();           // page 7: client actions
    virtual void LoadInfoVehicle();          // page 8: client vehicles

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();   // axtarmel_build.cpp
    void BindHandlers();    // handlers.cpp
    void WriteStartLabels();
    void HostParameterSetter(int index, const std::string& value);
    void LoadSubList(int page);
    void LoadPhotoPage();
    void LoadVehiclePage();
    void SetWindowCaption(const QString& caption);
    // Runs a handler; an error reaches the user in an error box, as the platform's would.
    template <class F>
    void Guarded(F&& handler);

    QHash<QString, QWidget*> controls_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
    bool busyCursor_ = false;
    bool hintsInstalled_ = false;

};

template <class F>
void TAxTarmel::Guarded(F&& handler) {
    try {
        handler();
    } catch (const TraceLogError& error) {
        dialogs_->Message(Dialogs::Kind::Error, QStringLiteral("Tarmel"),
                          QString::fromLatin1(error.what()));
    } catch (const std::exception& error) {
        dialogs_->Message(Dialogs::Kind::Error, QStringLiteral("Tarmel"),
                          QString::fromUtf8(error.what()));
    }
}

}  // namespace tarmel
