// Header and closing phases of a load.
#include "record/window/recordheader.h"

#include <stdexcept>

#include "app/traceflag.h"
#include "formdesc/valuesource.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "record/loaddecision.h"
#include "record/recordplan.h"
#include "record/recordrules.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

TXml UpdateTabDescHeader(TAxTarmel& w, bool reload) {
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 1"));
    w.ApplyPlan(ControlPlan().Show("Panel1", false));
    w.Form.RecordXml.setText({});
    const QString customer = w.Text(QStringLiteral("LbIDCustomer"));
    if (!customer.isEmpty() && customer != QLatin1String("-1")) {
        if (auto client = LoadTextFile(w.Host.WorkDir + "/XmlCL.xml")) {
            w.Form.ClientXml.setText(*client);
            w.Form.RecordXml.setText(*client);
        }
    } else if (auto vehicle = LoadTextFile(w.Host.WorkDir + "/XmlVO.xml")) {
        w.Form.RecordXml.setText(*vehicle);
    }
    if (reload) {
        auto equip = LoadTextFile(w.Host.WorkDir + "/XmlEquip.xml");
        auto structure = LoadTextFile(w.Host.WorkDir + "/XmlStruct.xml");
        if (!equip || !structure)
            throw MissingDescription();
        w.Form.EquipXml.setText(*equip);
        w.Form.StructXml.setText(*structure);
        w.Form.FirstTab = 0;
    }

    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 2"));
    LoadRequest request;
    request.customerShown = !customer.isEmpty();
    request.idTypeVO = w.Host.idTypeVO;
    request.idUser = w.Host.idUser;
    request.newRecord = w.Record.FlagNewEnreg;
    LoadDecision load = DecideLoad(w.Form.RecordXml, request, w.Access.Limits);
    w.Host.UserConcession = load.user.concession;
    w.Host.UserSite = load.user.site;
    w.Record.UserName = load.user.name;
    w.Record.LastSite = load.user.lastSite;
    w.Record.ServerToday = w.Access.Limits.serverToday;
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Début : ") +
               Q(LimitText(w.Access.Limits.deb)));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Fin   : ") +
               Q(LimitText(w.Access.Limits.fin)));

    w.Record.RecordKind = load.kind.kind;
    w.Record.RecordTable = load.kind.table;
    if (customer.isEmpty()) w.Record.RecordTypeCode = load.kind.typeCode;
    w.SetText(QStringLiteral("JvXPBtnNewVO"), Q(load.kind.family()));

    // Header edits: cleared, coloured by family.
    for (const char* name :
         {"xcInfoTitre", "xcIdentity", "xcInfoNVO", "xcInfoField1", "xcInfoField2", "xcInfoField3"})
        w.SetText(QString::fromLatin1(name), {});
    w.ApplyPlan(PlanHeader(w.Record.family(), w.Record.FlagNewEnreg));

    w.Record.FrevoTotal = load.frevoTotal;
    if (!load.vehicleId.empty()) w.SetText(QStringLiteral("LbIdTVO"), Q(load.vehicleId));
    // The client whose document is shown, also when another one was asked and did not come: an
    // edit must go to the client the pages show. A client not yet inserted keeps its mark.
    if (!load.clientId.empty() && form::IdNumber(customer) > 0)
        w.SetText(QStringLiteral("LbIDCustomer"), Q(load.clientId));
    w.ApplyPlan(
        PlanRecordCommands(w.Record.family(), form::IdNumber(customer), !load.vehicleId.empty()));
    w.TraceLog(QStringLiteral("on UpdateTabDesc : %1 - ").arg(w.Host.idTypeVO) +
               w.Text(QStringLiteral("LbIdTVO")));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 3"));

    w.Record.RecordSite = load.site;
    w.Record.RecordOwner = load.owner;
    w.Access.GroupNames = load.groupNames;
    w.Access.SetRights(load.rights);
    if (load.emptyPages) {
        w.Form.RecordXml.setText({});
        w.Form.ClientXml.setText({});
    }
    return load.recordSource;
}

void UpdateTabDescClosing(TAxTarmel& w) {
    w.UpdateTVAetMarges();
    w.ApplyPlan(PlanWarranty(w.Access.RightCompta, w.GetDataRights(";SVO;RVO;"),
                             !w.Text(QStringLiteral("cDateValidationGarantie")).isEmpty()));

    const QString customer = w.Text(QStringLiteral("LbIDCustomer"));
    if (customer == QLatin1String("-1"))
        w.Record.FlagNewEnreg = w.Text(QStringLiteral("xcInfoNVO")).isEmpty();
    w.TraceLog(QStringLiteral("UpdateTabDesc FlagNewEnreg -> ") +
               QLatin1String(Flag(w.Record.FlagNewEnreg)) + QStringLiteral(" - ") +
               w.Text(QStringLiteral("xcInfoNVO")) + QStringLiteral(" - ") + customer);

    QWidget* identity = w.Control(QStringLiteral("xcIdentity"));
    if (identity != nullptr && !identity->isHidden()) {
        w.ShowIdentity();
    } else {
        w.setInfoTitre();
        w.setInfoNVO();
    }
    w.setInfoField1();
    w.setInfoField2();
    w.setInfoField3();

    w.HideSplash();
    if (w.Record.family() == RecordFamily::VD)
        w.Form.TypeVersion = L(w.Text(QStringLiteral("cVDInfoTypeVersion")));
    if (w.Record.family() == RecordFamily::VN)
        w.Form.TypeVersion = L(w.Text(QStringLiteral("cVNInfoTypeVersion")));
}

}  // namespace tarmel
