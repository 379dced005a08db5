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
    w.RecordXml.setText({});
    const QString customer = w.Text(QStringLiteral("LbIDCustomer"));
    if (!customer.isEmpty() && customer != QLatin1String("-1")) {
        if (auto client = LoadTextFile(w.WorkDir + "/XmlCL.xml")) {
            w.ClientXml.setText(*client);
            w.RecordXml.setText(*client);
        }
    } else if (auto vehicle = LoadTextFile(w.WorkDir + "/XmlVO.xml")) {
        w.RecordXml.setText(*vehicle);
    }
    if (reload) {
        auto equip = LoadTextFile(w.WorkDir + "/XmlEquip.xml");
        auto structure = LoadTextFile(w.WorkDir + "/XmlStruct.xml");
        if (!equip || !structure)
            throw std::runtime_error("Description de la structure ou des listes introuvable");
        w.EquipXml.setText(*equip);
        w.StructXml.setText(*structure);
        w.FirstTab = 0;
    }

    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 2"));
    LoadRequest request;
    request.customerShown = !customer.isEmpty();
    request.idTypeVO = w.idTypeVO;
    request.idUser = w.idUser;
    request.newRecord = w.FlagNewEnreg;
    LoadDecision load = DecideLoad(w.RecordXml, request, w.Limits);
    w.UserConcession = load.user.concession;
    w.UserSite = load.user.site;
    w.UserName = load.user.name;
    w.LastSite = load.user.lastSite;
    w.ServerToday = w.Limits.serverToday;
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Début : ") + Q(LimitText(w.Limits.deb)));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Fin   : ") + Q(LimitText(w.Limits.fin)));

    w.RecordKind = load.kind.kind;
    w.RecordTable = load.kind.table;
    if (customer.isEmpty()) w.RecordTypeCode = load.kind.typeCode;
    w.SetText(QStringLiteral("JvXPBtnNewVO"), Q(load.kind.family()));

    // Header edits: cleared, coloured by family.
    for (const char* name :
         {"xcInfoTitre", "xcIdentity", "xcInfoNVO", "xcInfoField1", "xcInfoField2", "xcInfoField3"})
        w.SetText(QString::fromLatin1(name), {});
    const RecordFamily family = FamilyOf(w.RecordKind);
    w.ApplyPlan(PlanHeader(family, w.FlagNewEnreg));

    w.FrevoTotal = load.frevoTotal;
    if (!load.vehicleId.empty()) w.SetText(QStringLiteral("LbIdTVO"), Q(load.vehicleId));
    w.ApplyPlan(PlanRecordCommands(family, form::IdNumber(customer), !load.vehicleId.empty()));
    w.TraceLog(QStringLiteral("on UpdateTabDesc : %1 - ").arg(w.idTypeVO) +
               w.Text(QStringLiteral("LbIdTVO")));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 3"));

    w.RecordSite = load.site;
    w.RecordOwner = load.owner;
    w.GroupNames = load.groupNames;
    w.RightSite = load.rights.site;
    w.RightCompta = load.rights.compta;
    w.RightClarum = load.rights.clarum;
    w.RightSuperAdmin = load.rights.superAdmin;
    if (load.emptyPages) {
        w.RecordXml.setText({});
        w.ClientXml.setText({});
    }
    return load.recordSource;
}

void UpdateTabDescClosing(TAxTarmel& w) {
    w.ApplyPlan(PlanWarranty(w.RightCompta, w.GetDataRights(";SVO;RVO;"),
                             !w.Text(QStringLiteral("cDateValidationGarantie")).isEmpty()));

    const QString customer = w.Text(QStringLiteral("LbIDCustomer"));
    if (customer == QLatin1String("-1")) w.FlagNewEnreg = w.Text(QStringLiteral("xcInfoNVO")).isEmpty();
    w.TraceLog(QStringLiteral("UpdateTabDesc FlagNewEnreg -> ") + QLatin1String(Flag(w.FlagNewEnreg)) +
               QStringLiteral(" - ") + w.Text(QStringLiteral("xcInfoNVO")) + QStringLiteral(" - ") +
               customer);

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
    if (w.RecordKind == "_TVD") w.TypeVersion = L(w.Text(QStringLiteral("cVDInfoTypeVersion")));
    if (w.RecordKind == "_TVN") w.TypeVersion = L(w.Text(QStringLiteral("cVNInfoTypeVersion")));
}

}  // namespace tarmel
