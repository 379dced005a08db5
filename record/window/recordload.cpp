// Loading a record: the description documents, the record document, the pages, the photo list,
// the reservation and the buttons that follow the record's kind and the user's rights.
#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QTreeWidget>

#include "app/traceflag.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/frenchtexts.h"
#include "record/loadnotice.h"
#include "record/recordplan.h"
#include "record/window/recordheader.h"
#include "record/recordrules.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

void TAxTarmel::UpdateParams() {
    if (Host.BaseHRef.empty()) return;
    // Failures are silent: the pages are built from whatever the result files then hold. An
    // unusable answer is remembered for the splash, should there be nothing to build from.
    Form.DescriptionProblem.clear();
    try {
        const std::pair<const char*, const char*> documents[] = {
            {"AxInfoEquip", "/XmlEquip.xml"}, {"AxInfoStruct", "/XmlStruct.xml"}};
        for (const auto& [endpoint, file] : documents) {
            Server.HttpExecuteCached(Host.BaseHRef + endpoint +
                                         "?XMLC_OutputFormat=XML&UserConcession=" +
                                         Host.UserConcession,
                                     Host.WorkDir + file);
            if (Form.DescriptionProblem.empty()) Form.DescriptionProblem = Server.lastBadAnswer();
        }
    } catch (const std::exception&) {
    }
}

std::string TAxTarmel::VehicleDocumentUrl(const QString& vehicleId) const {
    return Host.BaseHRef + "AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + L(vehicleId) +
           "&UserID=" + Host.idUser;
}

// The client identifier travels as the idClient the exchange adds to every request.
std::string TAxTarmel::ClientDocumentUrl() const {
    return Host.BaseHRef + "AxInfoCL?XMLC_OutputFormat=XML&UserID=" + Host.idUser;
}

bool TAxTarmel::FetchDocument(const std::string& url, const char* resultFile, bool freshConnection) {
    if (freshConnection) Server.IdHTTP1.Disconnect();
    Server.HttpExecute(url, Host.WorkDir + resultFile);
    return Text(QStringLiteral("LbDebugInfo0")).isEmpty();
}

bool TAxTarmel::FetchRecordDocuments() {
    bool fetched = true;
    const QString vehicleId = Text(QStringLiteral("LbIdTVO"));
    const QString customer = Text(QStringLiteral("LbIDCustomer"));
    if (!vehicleId.isEmpty()) {
        Record.RecordUrl = VehicleDocumentUrl(vehicleId);
        SetText(QStringLiteral("LbDebugInfo1"), Q(Record.RecordUrl));
        const int n = form::IdNumber(vehicleId);
        Record.FlagNewEnreg = n <= 0;
        TraceLog(QStringLiteral("UpdateView FlagNewEnreg -> %1 - %2")
                     .arg(Flag(Record.FlagNewEnreg))
                     .arg(n));
        fetched = FetchDocument(Record.RecordUrl, "/XmlVO.xml", false);
    }
    if (!customer.isEmpty()) {
        Record.ClientUrl = ClientDocumentUrl();
        SetText(QStringLiteral("LbDebugInfo1"), Q(Record.ClientUrl));
        const int n = form::IdNumber(customer);
        Record.FlagNewEnreg = n <= 0;
        Record.NewVehicle = false;
        TraceLog(QStringLiteral("UpdateView FlagNewEnreg -> %1 - %2")
                     .arg(Flag(Record.FlagNewEnreg))
                     .arg(n));
        fetched = FetchDocument(Record.ClientUrl, "/XmlCL.xml", false) && fetched;
    }
    return fetched;
}

void TAxTarmel::TellLoadFailure(const QString& askedVehicle, const QString& askedClient) {
    LoadFailure failure;
    failure.client = !askedClient.isEmpty();
    failure.askedId = L(failure.client ? askedClient : askedVehicle);
    // The result file is replaced only by an answer: its time is when the record shown came.
    const QFileInfo file(QString::fromStdString(Host.WorkDir) +
                         (failure.client ? QStringLiteral("/XmlCL.xml") : QStringLiteral("/XmlVO.xml")));
    if (file.exists() && !Form.RecordXml.wholeText().empty()) {
        failure.shownFamily = FamilyName(Record.family());
        failure.shownName = L(Text(failure.client ? QStringLiteral("xcIdentity") : QStringLiteral("xcInfoNVO")));
        const QDateTime received = file.lastModified();
        failure.receivedAt = L(ui::FrenchLocale().toString(received, QStringLiteral("dd/MM/yyyy 'à' HH:mm")));
        failure.earlierRun = received < started_;
    }
    const std::string warning = L(Text(QStringLiteral("LbDebugInfo0")));
    showWarning(warning + (warning.empty() ? "" : " ") + LoadFailureNotice(failure));
}



namespace {

// Marks a load as running for its whole duration, nested or not.
class LoadMark {
public:
    explicit LoadMark(bool& flag) : flag_(flag), outer_(!flag) { flag_ = true; }
    ~LoadMark() {
        if (outer_) flag_ = false;
    }
    LoadMark(const LoadMark&) = delete;
    LoadMark& operator=(const LoadMark&) = delete;

private:
    bool& flag_;
    bool outer_;
};

}  // namespace

void TAxTarmel::UpdateView(bool reload) {
    const LoadMark running(LoadRunning);
    // Any failure (a missing description, the trace log) ends the update silently: the window
    // keeps what it showed.
    try {
        SetText(QStringLiteral("LbDebugInfo3"),
                QStringLiteral("[%1]").arg(Host.ParamCount) + Text(QStringLiteral("LbHttpRoot")) +
                    QStringLiteral(" - ") + Q(Host.BaseHRef) + QStringLiteral(" - ") +
                    Text(QStringLiteral("LbIdTVO")));
        const QString askedVehicle = Text(QStringLiteral("LbIdTVO"));
        const QString askedClient = Text(QStringLiteral("LbIDCustomer"));
        const bool fetched = FetchRecordDocuments();
        UpdateHints(!askedClient.isEmpty());
        UpdateTabDesc(reload, true);
        GetDataImages();
        GetInfoReservation();
        TabsChange();
        ApplyRecordButtons();
        if (!fetched) TellLoadFailure(askedVehicle, askedClient);
    } catch (const MissingDescription&) {
        ShowServerDown();
    } catch (const std::exception&) {
    }
}

void TAxTarmel::ApplyRecordButtons() {
    RecordButtonsInput input;
    input.family = Record.family();
    input.rights = Access.rights();
    input.userName = Record.UserName;
    input.clientSite = L(Text(QStringLiteral("aSite")));
    input.clientStaff = L(Text(QStringLiteral("aidCom")));
    ApplyPlan(PlanRecordButtons(input));

    QWidget* next = Control(QStringLiteral("JvXPNext"));
    QWidget* debug0 = Control(QStringLiteral("LbDebugInfo0"));
    if (Access.RightSuperAdmin) {
        if (next != nullptr) {
            // The window's height is fixed otherwise; it grows for the diagnostic labels.
            const int height = next->geometry().bottom() + 1 + 75;
            setMinimumHeight(height);
            setMaximumHeight(height);
            resize(width(), height);
        }
    } else if (next != nullptr && debug0 != nullptr) {
        // The warning takes the free line beside the record buttons, two lines high.
        debug0->setGeometry(debug0->x(), next->y() - 3, next->x() - debug0->x() - 70,
                            next->height() + 4);
    }
}

void TAxTarmel::JvXPBtnActualizeClick() {
    // A window that never received its description (it started while the server was down)
    // reloads everything: the description and lists first, then the record.
    if (Form.StructXml.wholeText().empty() || Form.EquipXml.wholeText().empty()) {
        ShowSplash();
        Server.IdHTTP1.Disconnect();
        UpdateParams();
        UpdateView(true);
        return;
    }
    const LoadMark running(LoadRunning);
    ShowSplash();
    const QString vehicleId = Text(QStringLiteral("LbIdTVO"));
    const QString customer = Text(QStringLiteral("LbIDCustomer"));
    bool fetched = true;
    if (!vehicleId.isEmpty()) {
        Record.RecordUrl = VehicleDocumentUrl(vehicleId);
        fetched = FetchDocument(Record.RecordUrl, "/XmlVO.xml", true);
    }
    if (!customer.isEmpty()) {
        Record.ClientUrl = ClientDocumentUrl();
        fetched = FetchDocument(Record.ClientUrl, "/XmlCL.xml", true) && fetched;
    }
    Record.FlagNewEnreg = false;
    Record.NewVehicle = false;
    UpdateTabDesc(false, true);
    TabsChange();
    if (!fetched) TellLoadFailure(vehicleId, customer);
}

bool TAxTarmel::GetDataRights(std::string_view groups) const {
    return tarmel::GetDataRights(groups, Access.GroupNames, Access.rights(), Record.FlagNewEnreg);
}

std::string TAxTarmel::RecordIdentifier(const char* element, const char* idName, bool showError,
                                        const QString& message) {
    XmlFind(Form.RecordXml, element);
    std::string id;
    XmlValue(Form.RecordXml, idName, id);
    if (id.empty() && showError)
        dialogs().Message(Dialogs::Kind::Warning, QStringLiteral("Action Annulée"), message);
    return id;
}

std::string TAxTarmel::GetIdVO(bool showError) {
    return RecordIdentifier("tVO", "idVO", showError,
                            QStringLiteral("L'identifiant du véhicule demandé n'a pas pu être restitué... "));
}

std::string TAxTarmel::GetIdClient(bool showError) {
    return RecordIdentifier("TVC", "idClient", showError,
                            QStringLiteral("L'identifiant du client demandé n'a pas pu être restitué... "));
}

void TAxTarmel::GetDataImages() {
    TXml record = Form.RecordXml;
    XmlFind(record, Record.RecordTable);
    std::string defaultPhoto;
    XmlValue(record, "NomImage", defaultPhoto);
    auto* list = Ctl<QTreeWidget>(QStringLiteral("cListImageVO"));
    if (list != nullptr) list->clear();
    Record.MaxImageNumber = 0;
    TXml images = Form.RecordXml;
    XmlFind(images, "ImageS");
    std::string name, number, date;  // a child missing from an item keeps the previous value
    while (XmlNext(images, "Image") > 0) {
        XmlValue(images, "NomImage", name);
        XmlValue(images, "NumImage", number);
        XmlValue(images, "DateImage", date);
        if (list != nullptr) {
            auto* row = new ui::ListViewItem(list);
            row->setText(0, Q(name));
            row->setText(1, Q(date));
            if (name == defaultPhoto) row->setText(2, QStringLiteral("***"));
        }
        bool ok = false;
        const int n = Q(number).toInt(&ok);
        Record.MaxImageNumber = std::max(Record.MaxImageNumber, ok ? n : 0);
    }
}

void TAxTarmel::GetInfoReservation() {
    const std::optional<ReservationTexts> texts = ReadReservation(Form.RecordXml);
    ControlPlan plan;
    for (size_t i = 0; i < kReservationLabels.size(); ++i) {
        if (texts) SetText(QString::fromLatin1(kReservationLabels[i]), Q((*texts)[i]));
        plan.Show(kReservationLabels[i], texts.has_value());
    }
    ApplyPlan(plan);
}

}  // namespace tarmel
