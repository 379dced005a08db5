// Leaving a record with changes pending (closing the window, the reload button, a reload asked
// by the launcher): the user chooses to save them, to drop them, or to stay.
#include <QCloseEvent>

#include "mainwindow/axtarmelimpl1.h"

namespace tarmel {

bool TAxTarmel::MayLeaveRecord() {
    QWidget* save = Control(QStringLiteral("JvXPBtnSave"));
    if (save == nullptr || !save->isEnabled()) return true;
    switch (dialogs().Ask(QStringLiteral("Tarmel"),
                          QStringLiteral("Enregistrer les modifications ?"))) {
        case Dialogs::Answer::Yes:
            return SaveChanges();
        case Dialogs::Answer::No:
            return true;
        case Dialogs::Answer::Cancel:
            return false;
    }
    return false;
}

void TAxTarmel::JvXPBtnActualizeAsk() {
    if (MayLeaveRecord()) JvXPBtnActualizeClick();
}

void TAxTarmel::closeEvent(QCloseEvent* event) {
    bool leave = false;
    Guarded([&] { leave = MayLeaveRecord(); });
    if (leave)
        event->accept();
    else
        event->ignore();
}

}  // namespace tarmel
