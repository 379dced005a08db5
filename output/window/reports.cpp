// The print buttons (the client's sheet, a vehicle's commercial and margin sheets, opened as PDF
// in the user's browser) and the test SMS.
#include "output/reports.h"

#include <QEventLoop>
#include <QTimer>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/events.h"
#include "server/openinbrowser.h"

namespace tarmel {

using form::L;
using form::Q;

bool TAxTarmel::SavedBeforeReport() {
    if (!Control(QStringLiteral("JvXPBtnSave"))->isEnabled()) return true;
    if (!SaveChanges()) return false;
    // The server has the saved record in the report it renders.
    QEventLoop pause;
    QTimer::singleShot(300, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void TAxTarmel::JvXPBtnPrintClick(ui::EventArgs& click) {
    if (!SavedBeforeReport()) return;
    if (Record.RecordTable == "TVC") {
        const std::string idClient = GetIdClient(true);
        if (!idClient.empty())
            OpenInBrowser(ReportAddress(Host.BaseHRef, "idClient=" + idClient, kClientSheet));
        return;
    }
    const std::string idVO = GetIdVO(true);
    if (idVO.empty()) return;
    const std::string family =
        L(Control(QStringLiteral("JvXPBtnNewVO"))->property("text").toString());
    const bool ctrl = (click.modifiers & Qt::ControlModifier) != 0;
    OpenInBrowser(ReportAddress(Host.BaseHRef, "idVO=" + idVO,
                                CommercialSheetName(family, Record.RecordKind, ctrl)));
}

void TAxTarmel::czFeuilleMargeClick() {
    if (!SavedBeforeReport()) return;
    const std::string idVO = GetIdVO(true);
    if (!idVO.empty()) OpenInBrowser(ReportAddress(Host.BaseHRef, "idVO=" + idVO, kMarginSheet));
}

void TAxTarmel::JvXPBtnSMSClick() {
    // The service and the test recipient are the dealership's configuration.
    const SettingsFile settings(Host.IniFileName);
    MultipartForm form;
    form.fields = {{"destinataire", settings.GetTagRegistry("SmsTestRecipient")},
                   {"texte", SmsUtf8(SmsTestText(L(Text(QStringLiteral("aSite"))),
                                                 L(Text(QStringLiteral("xcIdentity")))))}};
    if (Server.IdleSeconds > 300) Server.IdHTTP1.Disconnect();
    Server.IdleSeconds = 0;
    const HttpResponse answer =
        Server.IdHTTP1.Post(settings.GetTagRegistry("SmsService") + kSmsPath, form);
    const std::string warning = SmsWarning(answer.ok ? answer.body : std::string(kSmsFailure));
    SetText(QStringLiteral("LbDebugInfo0"), Q(warning));
    ApplyPlan(ControlPlan().Show("PanelWarning", !warning.empty()));
}

}  // namespace tarmel
