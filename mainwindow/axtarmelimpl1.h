// TAxTarmel, the main window: every control of the inventory, the header, the start-up, the
// 250 ms timer and the page rules. The handlers of later subsystems are declared here and defined
// in their own files (see the sections below); their controls are bound by name in handlers.cpp.
#pragma once

#include <QDateTime>
#include <QGuiApplication>
#include <QHash>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/timerclock.h"
#include "app/tracelog.h"
#include "formdesc/descriptors.h"
#include "formdesc/rubrics.h"
#include "formdesc/valuelists.h"
#include "mainwindow/dialogs.h"
#include "photos/listviewsort.h"
#include "record/recordplan.h"
#include "record/recordrules.h"
#include "search/duplicates.h"
#include "server/dates.h"
#include "server/exchangehost.h"
#include "server/serverlink.h"
#include "server/xml/txml.h"

class QComboBox;
class QListWidget;

namespace tarmel {

namespace ui {
struct EventArgs;
}
struct ControlPlan;

// How the tab builder binds a field's control: the handlers it gets follow the role.
enum class FieldRole { Text, Combo, ListBox };

// The host's parameters, as the launcher gave them and the start-up completed them.
struct HostParameters {
    int ParamCount = 0;  // setters run; the start sequence waits for all twelve
    int idTypeVO = 0;
    std::string WorkDir, IniFileName;
    std::string BaseHRef, OCXName, OCXVersion, URLImages, idUser, UserConcession, UserSite,
        WhereClause, OrderClause;
    std::string InstalledVersion, ProxySetting;
};

// The record on screen: its kind and family, its keys and site, and what is new about it.
struct RecordState {
    std::string RecordKind;  // "_TVO", "_TVD", "_TVN", "_TCL"
    RecordFamily family() const { return FamilyOf(RecordKind); }
    std::string RecordTable, RecordTypeCode, RecordSite, RecordOwner;
    std::string UserName, LastSite, FrevoTotal, RecordUrl, ClientUrl;
    bool FlagNewEnreg = false, NewVehicle = false;
    bool NewFrevoRow = false, NewAction = false;  // the pending grid line is an insert
    int SelectedVehicle = 0;
    Date ServerToday;  // year 0 until the server said
    int MaxImageNumber = 0;
};

// What the user may do on the record, and the dates the user may enter.
struct AccessState {
    bool RightSite = false, RightCompta = false, RightClarum = false, RightSuperAdmin = false;
    DateLimits Limits;  // LimitDateDeb, LimitDateDebFrevo, ... ServerToday
    std::vector<std::string> GroupNames;
    Rights rights() const { return {RightSite, RightCompta, RightClarum, RightSuperAdmin}; }
    void SetRights(const Rights& r) {
        RightSite = r.site;
        RightCompta = r.compta;
        RightClarum = r.clarum;
        RightSuperAdmin = r.superAdmin;
    }
};

// The form engine's state: the documents, the pages and their fields, and the editing flags.
struct FormState {
    TsPages Pages;
    TXml RecordXml, ClientXml, StructXml, EquipXml, ListXml;
    // Why the last description request's answer was refused ("" when none was): the splash
    // says it when the window has no description to build from.
    std::string DescriptionProblem;
    int FirstTab = 0;
    int VehicleState = 0;
    std::string TypeVersion, LastModel;
    CascadeMemory ListMemory;  // make and model of one build or refill
    bool BlinkOn = false;      // list maintenance armed on RubricControl
    QWidget* RubricControl = nullptr;
    bool Filling = false;                 // the tab builder fills controls: no statement is built
    bool Building = false;                // the tab builder runs: no sub-list loads yet
    std::array<bool, 9> SubListLoaded{};  // by page position
    // Lines of the refurbishment and the actions grids; element 0 is the column template and
    // element n is grid row n-1.
    std::vector<TsLine> FrevoRows, ActionLines;
    std::vector<int> FrevoIcons;  // by line: 0 deletable, 1 the add line, 2 kept
    std::vector<int> ActionIcons;  // by line: 0 deletable, 1 a new action, 2 kept
    std::vector<int> VehicleIcons;  // by grid row: 0 deletable, 2 kept, -1 the new vehicle
};

namespace photos {
class TFrmBlur;
}

// The photo page: the local folder listed, the order of its list, the blur editor while open.
struct PhotoState {
    QString PhotoFolder;
    photos::ListViewSort LocalSort;
    photos::TFrmBlur* BlurForm = nullptr;
};

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
    // The first load found no server: the splash says so and how to retry.
    void ShowServerDown();
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

    HostParameters Host;
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
    // The tab builder calls this whenever it builds the pages: every sub-list loads again, and
    // no line of the record before stays to be saved against the one shown now.
    void ForgetLoadedSubLists();

    // ---- Form description engine (formdesc/window/) ----
    FormState Form;
    PhotoState Photos;

    void UpdateTabDesc(bool reload, bool applyPages);
    // List maintenance (formdesc/window/rubricmaintenance.cpp): armed on entering a combo, run by
    // its keys, carried out by ActionInfoRubrique.
    void ArmListMaintenance(QComboBox* combo, const TsDesc& desc);
    void ListMaintenanceKey(ui::EventArgs& key, bool keyUp);
    void ActionInfoRubrique(QWidget* control, RubricAction action);
    // The keys held now (a test may stand in for the keyboard).
    std::function<Qt::KeyboardModifiers()> HeldKeys = [] {
        return QGuiApplication::keyboardModifiers();
    };
    // The handlers the tab builder gives a field's control for its role (rows of handlers.cpp).
    void BindFieldHandlers(QWidget* control, FieldRole role);
    void EditChange(QWidget* control);
    void CBoxChange(QWidget* combo);
    void CBoxEnter(QWidget* combo);
    void CBoxExit(QWidget* combo);
    void CBoxKeyDown(ui::EventArgs& key);  // refuses (consumes) the key it acted on
    void cBoxKeyUp(ui::EventArgs& key);
    void LBoxChange(QWidget* listBox);
    // The form's own change handlers: the field's handling, then a follow-up.
    void cNVOChange(QWidget* control);
    void cInfoCouleurChange(QWidget* combo);
    void cCVKMSChange(QWidget* control);
    void cSiteChange(QWidget* combo);
    void aSiteChange(QWidget* combo);
    void cDestinationChange(QWidget* combo);
    void CascadeChange(QWidget* control);  // make, model and version controls
    // Option lists of the demonstration and new vehicle pages, opened by their button.
    void czOptionsClick(QWidget* button);
    void cInfoOptionsEnter(QWidget* list);
    void cInfoOptionsExit(QWidget* list);
    // The current value of the page's last field of that column; value unchanged when none.
    void GetValue(int page, std::string_view column, std::string& value) const;
    void LoadInfoNxComboBox(std::string_view name, QComboBox* combo);
    void LoadInfoNxComboBoxColumn(std::string_view name, const QString& grid, const QString& column);
    void SetInfoComboBoxIdCom(std::string_view identifier, QComboBox* combo);
    std::string GetInfoComboBoxIdCom(std::string_view name, std::string_view text) const;
    void UpdateCBox(QComboBox* combo, std::string_view key, std::string_view item,
                    std::string_view keyElement, std::string_view list);
    void UpdateLBox(QListWidget* listBox, bool inSite);
    void UpdateVersion(QWidget* memo, QComboBox* model, QComboBox* type);
    TsDesc* DescOf(const QObject* control);  // the field a bound control shows, or nullptr

    // ---- Record loading and change detection (record/window/) ----
    RecordState Record;
    AccessState Access;
    // A load is running: its requests turn the event loop, and a reload asked meanwhile waits.
    bool LoadRunning = false;

    void JvXPBtnActualizeClick();
    bool GetDataRights(std::string_view groups) const;
    std::string GetIdVO(bool showError);
    std::string GetIdClient(bool showError);
    bool TestPageUpdate(int page);

    // ---- Saving, creating and deleting (record/window/) ----
    void JvXPBtnSaveClick();
    void JvXPBtnNewVOClick();
    void JvXPBtnSupprClick();
    void JvXPBtnSweepClick();
    // The reload button: pending changes are offered for saving first.
    void JvXPBtnActualizeAsk();
    // Before the record is left (closing, reloading): with a statement pending, asks whether to
    // save it. False when the user cancels or the save failed: the record stays.
    bool MayLeaveRecord();
    // One statement to an endpoint ("AxInsert", "AxUpdate") into a result file under WorkDir;
    // true when the server took it.
    bool SendStatement(const char* endpoint, const std::string& statement, const char* resultFile);
    // The statement of a grid line after an edit (a negative line asks for its deletion); true
    // when one is pending. Save and New follow it.
    bool TestFrevoUpdate(int line);
    bool TestActionUpdate(int line);

    // ---- Dates and keystrokes (record/window/datefields.cpp, keystrokes.cpp) ----
    // Checks the control's date against the limits (year 0: none); a refused date goes back to
    // the stored one with a warning, and the control takes the focus back. True when refused.
    bool TestDateChange(QWidget* control, const Date& upper, const Date& lower);
    // The exit of every date control of DateExitRows() (cMECExit ... aCliDateNaissanceExit): the
    // control's row says its limits.
    void DateFieldExit(QWidget* control);
    // The field's handling, then the third header field.
    // cDateEntree, cDateOrdre, and the new vehicle's cVNDateOrdre and cVNMEC.
    void cDateEntreeChange(QWidget* control);
    // Key-press filters: telephones, registration plates, names and addresses.
    void aCliMobileKeyPress(ui::EventArgs& key);
    void cImmatriculationKeyPress(ui::EventArgs& key);
    void aCliNomKeyPress(ui::EventArgs& key);

    // ---- Margins, VAT and the accounting follow-up (record/window/calculations.cpp) ----
    // Nothing is computed while the tab builder fills the pages; it recomputes once after.
    void UpdateTVAetMarges();  // also the balance and the due dates
    void UpdateSoldeVN();
    void UpdateDateEcheanceTresorerie();
    // The field's own handling, then the date of the last order update when the field changed.
    void cVNControlChange(QWidget* control);
    void cModeTVAChange(QWidget* combo);
    void cPrixVenteChange(QWidget* control);
    void cPrixRepriseChange(QWidget* control);
    void cPrixGarantieChange(QWidget* control);
    void cTPVOChange(QWidget* control);
    void cVNMontantAchatChange(QWidget* control);
    void cVNDateEcheanceChange(QWidget* control);
    void cVNDateDeclareLivreChange(QWidget* control);
    void cVNDateDisponibiliteChange(QWidget* control);
    void cVNDateLivraisonChange(QWidget* control);
    void cVNSituationAchatChange(QWidget* combo);
    void cVNTypeFinancementChange(QWidget* combo);
    void cVNDestinationChange(QWidget* combo);
    void cVNTypeFinancementDelaiChange(QWidget* combo);  // nothing: its exit stores the choice
    void cVNDateAchatChange(QWidget* control);
    void cVNDateFactureChange(QWidget* control);
    void cVNStatutVNChange(QWidget* combo);
    void cVNDateCdeVWChange(QWidget* control);
    void cVNDateDebutGarantieChange(QWidget* control);
    void cVNDateFabricationChange(QWidget* control);
    void LbPanelComptaClick();

    // ---- Refurbishment cost lines (sublists/window/frevogrid.cpp) ----
    // The totals by type and to the end of the delivery month; the margins follow.
    void UpdateCumulFrevo();
    void ngFrevoEdit(ui::EventArgs& cell);
    void ngFrevoChange(ui::EventArgs& cell);         // saves the line at once
    void ngFrevoEditAccept(ui::EventArgs& cell);     // refuses a date out of the limits
    void ngFrevoBeforeSelect(ui::EventArgs& cell);   // another pending line is saved first
    void ngFrevoCellClick(ui::EventArgs& cell);      // the add and delete icons
    void ngFrevoCellFormating(ui::EventArgs& cell);

    // ---- Search panel, its query, its results and the navigation (search/window/) ----
    struct SearchPanelState {
        bool ExactSearch = false;    // "=" instead of "like"; toggled on the label LbSearch
        bool WithFirstName = false;  // the next name search also matches aCliPrenom
        bool PresetSearch = false;   // the settings file's "WhereClause" is the condition
        int SearchMaxRows = 50;      // rows asked for; +50 per "plus+50enrg."
        int SearchColumn = 4;        // the grid column drawn blue
        int Kind = 1;                // the kind of the rows listed
        QWidget* ActiveSearchLabel = nullptr;
    };
    SearchPanelState Search;

    void JvXPBtnSearchClick();  // opens or closes the panel, prepared once per record kind
    // The search kind of the pair: its static text turns blue, only its button is enabled.
    void BtnActivate(QWidget* staticText, QWidget* button);
    void TSLbNVOClick();
    void TSLbImmatClick();
    void TSLbClientClick();
    void TSLbTelephoneClick();
    void TSLbMobileClick();
    void TSVClick();  // a kind button: the typing goes to the search text
    void LbSearchClick();  // exact search on or off, searched again at the next tick
    // Each change of a criterion restarts the delay before the search.
    void ncbSiteChange();
    void ncbTypeVOChange();
    void ncbSearchChange();
    void JvXPBtnSearchPlusClick();
    // Opening a listed record; pending changes are saved first and a failed save stays.
    void ngSearchCellClick(ui::EventArgs& cell);
    void JvXPNextClick();
    void JvXPPrevClick();
    void ngSearchMouseMove(ui::EventArgs& cell);
    void ngSearchCellFormating(ui::EventArgs& cell);

    // ---- Duplicate clients (search/window/duplicates.cpp) ----
    // The kind the next check counts; the timer's DuplicateCheckCountdown runs it.
    DuplicateKind DuplicateCheckKind = DuplicateKind::Nom;
    // Counts that kind about one second from now; a new call restarts the delay.
    void setDblChange(DuplicateKind kind);
    // The field's own handling and the header it feeds, then the count of its kind.
    void aCliNomChange(QWidget* control);
    void aCliPrenomChange(QWidget* control);
    void aCliTelDomChange(QWidget* control);
    void aCliMobileChange(QWidget* control);
    // The header only: these fields start no count.
    void aCliEmailChange(QWidget* control);
    void aCliCiviliteChange(QWidget* combo);
    // A double-click shows the field's indicator and starts its count.
    void aCliNomDblClick();
    void aCliPrenomDblClick();
    void aCliTelDomDblClick();
    void aCliMobileDblClick();
    // A click searches the clients sharing the value: exact, or "like" with Ctrl held.
    void DblNomClick(ui::EventArgs& click);
    void DblIdentClick(ui::EventArgs& click);
    void DblTelDomClick(ui::EventArgs& click);
    void DblMobileClick(ui::EventArgs& click);

    // ---- Client actions (sublists/window/actiongrid.cpp) ----
    std::string ngActionGetInfoCom(std::string_view idCom) const;  // the staff member's name
    void ngActionChange(ui::EventArgs& cell);
    void ngActionEdit(ui::EventArgs& cell);
    void ngActionEditAccept(ui::EventArgs& cell);    // dates in their limits, known staff
    void ngActionBeforeSelect(ui::EventArgs& cell);  // an incomplete or pending line first
    void ngActionCellClick(ui::EventArgs& cell);     // the delete and save icons
    void ngActionCellFormating(ui::EventArgs& cell);
    void ngActionKeyPress(ui::EventArgs& key);
    void JvXPBtnNewActionClick();                    // a new action at the top

    // ---- Client vehicles (sublists/window/vehiclegrid.cpp) ----
    void ngVehiclesBeforeSelect(ui::EventArgs& cell);  // make and model first
    void ngVehiclesSelectCell(ui::EventArgs& cell);    // page 8 shows the vehicle chosen
    void ngVehiclesCellClick(ui::EventArgs& cell);     // the delete icon
    void JvXPBtnNewVehicleClick();                     // a new vehicle at the top

    // ---- Local photo folder and previews (photos/window/photofolder.cpp) ----
    void ShowListeImages(const QString& folder);  // the folder's photos, newest first
    void ResortLocalPhotos();
    void cListImageSourceColumnClick(ui::EventArgs& click);
    void czCmdSelPathListImageClick();  // the folder dialog; the folder chosen is remembered
    void czCmdRefreshListImageClick();
    void cListImageSourceSelectItem();  // the local preview
    void cListImageVOSelectItem();      // the linked photo's previews, downloaded
    void DownloadPicture(const char* image, const std::string& address);
    void ShowNoPhoto(const char* image);

    // ---- Linked photos (photos/window/photolink.cpp) ----
    void czCmdAssociateImageClick();
    void czCmdAssociateImageBlurClick();
    void ProcAssociateImage(bool blur);
    // The photo and its miniature made in the working folder from the source file (or the blur
    // editor's picture when source is empty), uploaded when transfer; false, the user told, when
    // a picture could not be read or written or the upload failed.
    bool ReductionJPG(const QString& source, const std::string& target, bool transfer);
    // Both files to the photo server; the French reason when they are not all there.
    std::string UploadPhotoFiles(const std::vector<std::string>& files);
    void AddPhotoLine(const QString& line);
    bool SetDefaultImageVO(const std::string& name);  // true when the server took it
    void czCmdDefaultImageVOClick();
    void czCmdDeleteImageVOClick();

    // ---- Printed forms and the test SMS (output/window/reports.cpp) ----
    // Pending changes saved first (and a moment for the server); false when the save failed.
    bool SavedBeforeReport();
    void JvXPBtnPrintClick(ui::EventArgs& click);  // Ctrl: a demonstration vehicle's second form
    void czFeuilleMargeClick();
    void JvXPBtnSMSClick();

    // ---- Operations a test may replace (each defined in its subsystem's folder) ----
    virtual void UpdateParams();             // structure description and value lists
    virtual void UpdateView(bool reload);    // record document and pages
    virtual bool SaveChanges();              // true when everything pending was saved
    virtual void HttpGetSearchInfo(int step);  // search/window/searchrun.cpp
    virtual void HttpGetDblInfo();
    virtual void GetInfoReservation();       // page 3: reservation labels
    virtual void LoadInfoFrevo();            // page 5: refurbishment costs
    virtual void LoadInfoCliche();           // page 6: local photo folder
    virtual void GetDataImages();            // page 6: the record's photos
    virtual void LoadInfoAction();           // page 7: client actions
    virtual void LoadInfoVehicle();          // page 8: client vehicles

    // What a decision planned for the named controls: enabled, shown, colours (applyplan.cpp).
    void ApplyPlan(const ControlPlan& plan);

    // Runs a handler; an error reaches the user in an error box, as the platform's would.
    template <class F>
    void Guarded(F&& handler);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();   // axtarmel_build.cpp
    // Record loading and field editing helpers (record/window/, formdesc/window/).
    // The record documents asked by the host labels; false when a request failed (the result
    // file then still holds the record received before).
    bool FetchRecordDocuments();
    std::string VehicleDocumentUrl(const QString& vehicleId) const;
    std::string ClientDocumentUrl() const;
    // One record document into its result file (a name under the working folder); false when
    // the request failed. A fresh connection drops the kept-alive one first.
    bool FetchDocument(const std::string& url, const char* resultFile, bool freshConnection);
    // The band says which record was asked and which one the window still shows.
    void TellLoadFailure(const QString& askedVehicle, const QString& askedClient);
    void EndBusyCursor();
    void ApplyRecordButtons();
    std::string RecordIdentifier(const char* element, const char* idName, bool showError,
                                 const QString& message);
    int ComboCheck(QWidget* combo);  // the page it accepted, 0 when it refused
    void BindHandlers();    // handlers.cpp
    void WriteStartLabels();
    void HostParameterSetter(int index, const std::string& value);
    void LoadSubList(int page);
    void LoadPhotoPage();
    void LoadVehiclePage();
    void SetWindowCaption(const QString& caption);

    // Search panel helpers (search/window/).
    void PrepareSearchPanel();
    void OpenSearchRow(int row);

    QHash<QString, QWidget*> controls_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
    bool busyCursor_ = false;
    // When this window started: a result file older than this came from an earlier run.
    const QDateTime started_ = QDateTime::currentDateTime();
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
