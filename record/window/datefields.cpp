// The date fields checked when the user leaves them, and the date fields whose changes the third
// header field follows.
#include <QTimer>

#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/datecheck.h"

namespace tarmel {

using form::L;
using form::Q;

bool TAxTarmel::TestDateChange(QWidget* control, const Date& upper, const Date& lower) {
    const TsDesc* desc = DescOf(control);
    DateCheck check;
    check.text = form::FieldText(control);
    check.range = {lower, upper};
    if (desc != nullptr) {
        check.described = true;
        check.storedValue = desc->storedValue;
        check.caption = desc->caption;
        check.columnName = desc->columnName;
    }
    TraceLog(QStringLiteral("dans TestDateChange, nom du champ : ") + control->objectName());
    const DateVerdict verdict = CheckDate(check);
    if (!verdict.message.empty()) {
        dialogs().Message(Dialogs::Kind::Warning, QStringLiteral("Contrôle de la date saisie"),
                          Q(verdict.message));
        form::SetFieldText(control, desc->storedValue);
    }
    EditChange(control);
    if (verdict.refused) {
        // The exit runs while the focus is moving to another control; taking it back now would be
        // undone by the move, so it is taken back once the move is over.
        QTimer::singleShot(0, control, [control] { control->setFocus(Qt::OtherFocusReason); });
    }
    return verdict.refused;
}

void TAxTarmel::DateFieldExit(QWidget* control) {
    const DateExitRow* row = FindDateExitRow(L(control->objectName()));
    if (row == nullptr) return;
    DateSources sources;
    sources.limitDeb = Access.Limits.deb;
    sources.limitFin = Access.Limits.fin;
    sources.serverToday = Record.ServerToday;
    sources.today = form::Today();
    sources.orderText = L(Text(QStringLiteral("vDateOrdre")));
    sources.mecText = L(Text(QStringLiteral("vMEC")));
    if (const auto range = ExitRange(*row, sources))
        TestDateChange(control, range->upper, range->lower);
}

void TAxTarmel::cDateEntreeChange(QWidget* control) {
    EditChange(control);
    setInfoField3();
}

}  // namespace tarmel
