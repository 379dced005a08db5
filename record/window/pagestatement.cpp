// TestPageUpdate: the pending statement of a page after every edit, and the Save and New buttons.
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/recordplan.h"
#include "record/statements.h"

namespace tarmel {

bool TAxTarmel::TestPageUpdate(int page) {
    if (Form.Filling || page < 0 || page >= kPageCount) return false;
    StatementContext context;
    context.page = page;
    context.table = Form.Pages[0].tableTag;
    context.insert = Record.FlagNewEnreg || (Record.NewVehicle && page == 8);
    context.family = form::L(Text(QStringLiteral("JvXPBtnNewVO")));
    context.recordTypeCode = Record.RecordTypeCode;
    context.idTypeVO = Host.idTypeVO;
    context.clientId = form::L(Text(QStringLiteral("LbIDCustomer")));
    context.idUser = Host.idUser;
    context.concession = Host.UserConcession;
    context.today = form::Today();

    const PageStatement result = BuildPageStatement(Form.Pages[page].descriptors, context);
    if (context.insert && result.changed) Record.RecordTypeCode = result.recordTypeCode;
    Form.Pages[page].statement = result.statement;
    if (!result.refusal.empty()) {
        // The page has changes that cannot be written safely: say so, offer no save.
        TraceLog(form::Q(result.refusal));
        SetText(QStringLiteral("LbDebugInfo2"), form::Q(result.refusal));
    } else {
        SetText(QStringLiteral("LbDebugInfo2"), form::Q(result.statement));
    }
    ApplyPlan(PlanPageButtons(!result.statement.empty()));
    return result.changed;
}

}  // namespace tarmel
