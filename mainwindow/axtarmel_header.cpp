// The record header: number, title, the three information fields, the client's identity, the
// window caption and the wording of the record buttons' hints.
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/header/headertext.h"
#include "mainwindow/toolkit/controls.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

std::string Std(const QString& text) { return text.toStdString(); }
QString Qt8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TAxTarmel::SetWindowCaption(const QString& caption) { setWindowTitle(caption); }

void TAxTarmel::setInfoNVO() {
    if (const auto* vehicle = header::VehicleHeaderOf(Record.RecordKind))
        SetText("xcInfoNVO", Text(vehicle->number));
    SetWindowCaption(Qt8(header::VehicleCaption(header::Family(Record.RecordKind),
                                                Std(Text("xcInfoNVO")), Std(Text("xcInfoTitre")))));
}

void TAxTarmel::setInfoTitre() {
    QString title;
    if (const auto* vehicle = header::VehicleHeaderOf(Record.RecordKind))
        title = Qt8(header::TitleText(Std(Text(vehicle->make)), Std(Text(vehicle->version))));
    SetText("xcInfoTitre", title);
    SetWindowCaption(Qt8(header::VehicleCaption(header::Family(Record.RecordKind),
                                                Std(Text("xcInfoNVO")), Std(Text("xcInfoTitre")))));
}

void TAxTarmel::setInfoField1() {
    QWidget* field = Control("xcInfoField1");
    if (const auto* vehicle = header::VehicleHeaderOf(Record.RecordKind)) {
        SetText("xcInfoField1", Text(vehicle->colour));
        ui::SetFontPx(field, header::PointsToPixels(12));
    } else if (Record.family() == RecordFamily::CL) {
        const QString email = form::Q(LowerAscii(form::L(Text("aCliEmail"))));
        SetText("xcInfoField1", email);
        ui::SetFontPx(field, header::PointsToPixels(header::EmailFontPoints(size_t(email.size()))));
    }
}

void TAxTarmel::setInfoField2() {
    const auto* vehicle = header::VehicleHeaderOf(Record.RecordKind);
    if (vehicle != nullptr && *vehicle->cv)
        SetText("xcInfoField2", Text(vehicle->cv) + " cv - " + Text(vehicle->kms) + " kms");
    else if (Record.family() == RecordFamily::CL)
        SetText("xcInfoField2", Qt8(header::PhoneGroups(Std(Text("aCliMobile")))));
}

void TAxTarmel::setInfoField3() {
    if (Form.Filling) return;
    if (Record.family() == RecordFamily::VO) {
        const int days = header::UsedVehicleDays(Std(Text("cDateOrdre")), Std(Text("cDateEntree")),
                                                 Record.ServerToday, form::Today());
        SetText("xcInfoField3", QString::number(days) + " jours");
    } else if (Record.family() == RecordFamily::VN) {
        SetText("xcInfoField3", Qt8(header::NewVehicleDaysText(
                                    Std(Text("cVNDateOrdre")), Std(Text("cVNDateFacture")),
                                    Std(Text("cVNMEC")), form::Today())));
    } else if (Record.family() == RecordFamily::CL) {
        SetText("xcInfoField3", Qt8(header::PhoneGroups(Std(Text("aCliTelDom")))));
    }
}

void TAxTarmel::ShowIdentity() {
    const QString identity = Qt8(header::IdentityText(
        Std(Text("aCliCivilite")), Std(Text("aCliNom")), Std(Text("aCliPrenom"))));
    SetText("xcIdentity", identity);
    SetWindowCaption("ClarumII - " + identity);
}

void TAxTarmel::UpdateHints(bool clientOpen) {
    for (const char* name :
         {"JvXPBtnActualize", "JvXPBtnNewVO", "JvXPBtnPrint", "JvXPBtnSuppr", "JvXPNext", "JvXPPrev"}) {
        QWidget* button = Control(name);
        ui::SetHint(button, Qt8(header::HintFor(Std(ui::Hint(button)), clientOpen)));
    }
}

}  // namespace tarmel
