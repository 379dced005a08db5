// Header and closing phases of a load.
#include "record/window/recordheader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>

#include <stdexcept>

#include "formdesc/valuesource.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "record/recordplan.h"
#include "record/recordrules.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

const char* Flag(bool value) { return value ? "-1" : "0"; }

std::string ElementValue(const TXml& element, std::string_view name) {
    std::string value;
    XmlValue(element, name, value);
    return value;
}


}  // namespace

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
    const UserBlock user = ReadUserBlock(w.RecordXml);
    w.UserConcession = user.concession;
    w.UserSite = user.site;
    w.UserName = user.name;
    w.LastSite = user.lastSite;

    ReadDateLimits(w.RecordXml, w.Limits);
    w.ServerToday = w.Limits.serverToday;
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Début : ") + Q(LimitText(w.Limits.deb)));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : OptDate Fin   : ") + Q(LimitText(w.Limits.fin)));

    // Record kind, from the vehicle element when no client is shown.
    const TXml vehicle = RecordElementSource(w.RecordXml, "tVO");
    const RecordKind kind =
        DecideRecordKind(!customer.isEmpty(), ElementValue(vehicle, "TypeVO"),
                         ElementValue(vehicle, "StatutVD"), w.idTypeVO);
    w.RecordKind = kind.kind;
    w.RecordTable = kind.table;
    if (customer.isEmpty()) w.RecordTypeCode = kind.typeCode;
    TXml record = RecordElementSource(w.RecordXml, w.RecordTable);
    const QString family = Q(kind.family());
    if (auto* newButton = w.Ctl<QAbstractButton>(QStringLiteral("JvXPBtnNewVO")))
        newButton->setText(family);

    // Header edits: cleared, coloured by family.
    for (const char* name :
         {"xcInfoTitre", "xcIdentity", "xcInfoNVO", "xcInfoField1", "xcInfoField2", "xcInfoField3"})
        w.SetText(QString::fromLatin1(name), {});
    w.ApplyPlan(PlanHeader(FamilyOf(w.RecordKind), w.FlagNewEnreg));

    w.FrevoTotal = ElementValue(record, "Frevo");
    std::string id = ElementValue(record, "idVO");
    XmlValue(record, "idtVO", id);
    if (!id.empty()) w.SetText(QStringLiteral("LbIdTVO"), Q(id));
    const std::string concession = ElementValue(record, "Concession");

    w.ApplyPlan(PlanRecordCommands(FamilyOf(w.RecordKind), form::IdNumber(customer), !id.empty()));
    w.TraceLog(QStringLiteral("on UpdateTabDesc : %1 - ").arg(w.idTypeVO) +
               w.Text(QStringLiteral("LbIdTVO")));
    w.TraceLog(QStringLiteral("dans UpdateTabDesc : 3"));

    w.RecordSite = UpperAscii(ElementValue(record, "Site"));
    w.RecordOwner = UpperAscii(ElementValue(record, "idOwner"));
    w.GroupNames = ReadGroupNames(w.RecordXml);
    const Rights rights = DecideRights(
        w.GroupNames, SiteRight(w.UserSite, w.RecordSite, w.RecordOwner, w.idUser, w.FlagNewEnreg),
        w.FlagNewEnreg);
    w.RightSite = rights.site;
    w.RightCompta = rights.compta;
    w.RightClarum = rights.clarum;
    w.RightSuperAdmin = rights.superAdmin;

    if (ShowsEmptyPages(concession, w.UserConcession, w.FlagNewEnreg)) {
        w.RecordXml.setText({});
        w.ClientXml.setText({});
        record.setText({});
        // The fields' rights are then read from an empty document: every field is read-only.
        w.GroupNames.clear();
    }
    return record;
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
