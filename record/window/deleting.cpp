// The Delete button (the vehicle with its photo links and cost lines, or the client) and the
// Sweep button (cancelled new vehicles without a buyer).
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/newdelete.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr const char* kDeleteResult = "/XmlAXDelete.xml";

// Each statement shown, then sent, only while the previous ones were taken.
bool SendInTurn(TAxTarmel& w, const std::vector<std::string>& statements) {
    for (const std::string& statement : statements) {
        w.SetText(QStringLiteral("LbDebugInfo2"), Q(statement));
        if (!w.SendStatement("AxUpdate", statement, kDeleteResult)) return false;
    }
    return true;
}

}  // namespace

void TAxTarmel::JvXPBtnSupprClick() {
    const RecordFamily family = Record.family();
    std::vector<std::string> statements;
    if (family != RecordFamily::CL) {
        const std::string idVO = GetIdVO(true);
        if (idVO.empty()) return;
        const std::string question =
            VehicleDeleteQuestion(FamilyName(family), L(Text(QStringLiteral("xcInfoNVO"))));
        if (!dialogs().Confirm(Q(kDeleteTitle), Q(question))) return;
        statements = VehicleDeleteStatements(idVO);
    } else {
        const std::string idClient = GetIdClient(true);
        if (idClient.empty()) return;
        const std::string question = ClientDeleteQuestion(L(Text(QStringLiteral("aCliNom"))),
                                                          L(Text(QStringLiteral("aCliPrenom"))));
        if (!dialogs().Confirm(Q(kDeleteTitle), Q(question))) return;
        statements = {ClientDeleteStatement(idClient)};
    }
    if (!SendInTurn(*this, statements)) return;
    SetText(QStringLiteral("LbDebugInfo2"), {});
    dialogs().Message(Dialogs::Kind::Warning, Q(kDeleteDoneTitle), Q(kDeleteDone));
    // What is left on screen was deleted: nothing of it is pending any more, and nothing may
    // act on its document (the new record's save would add its fixed fees again).
    for (TsPage& page : Form.Pages) page.statement.clear();
    for (auto* lines : {&Form.FrevoRows, &Form.ActionLines}) {
        for (TsLine& line : *lines) line.statement.clear();
    }
    Form.RecordXml.setText({});
    ApplyPlan(PlanPageButtons(false));
    JvXPBtnNewVOClick();
}

void TAxTarmel::JvXPBtnSweepClick() {
    if (Record.family() != RecordFamily::VN) return;
    if (!dialogs().Confirm(Q(kDeleteTitle), Q(kSweepQuestion))) return;
    SendInTurn(*this, {kSweepStatement});
}

}  // namespace tarmel
