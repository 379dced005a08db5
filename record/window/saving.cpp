// SaveChanges: the mandatory checks, then at most one refurbishment line, one action line and
// the active page's statement, each as one request, and the used vehicle's fixed fees.
#include <QApplication>
#include <QWidget>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "record/fixedfees.h"
#include "record/savechecks.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

namespace {

constexpr const char* kFrevoResult = "/XmlAXSQLFrevo.xml";
constexpr const char* kActionResult = "/XmlAXSQLAction.xml";
constexpr const char* kPageResult = "/XmlAXSQLVO.xml";

// The first pending line of a grid, from line 1 on; 0 when none.
size_t FirstPendingLine(const std::vector<TsLine>& lines) {
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i].statement.empty()) return i;
    }
    return 0;
}

bool StartsWithDelete(const std::string& statement) {
    return UpperAscii(statement.substr(0, 6)) == "DELETE";
}

// One save's requests: the hourglass, whether anything was sent, and the first failure, which
// decides the result and stays in the band even when a later request of the save succeeds.
class SaveRun {
public:
    explicit SaveRun(TAxTarmel& w)
        : w_(w), defaultCursor_(QApplication::overrideCursor() == nullptr) {}

    // Sends a statement of the save; `marked` requests decide the result, and show the
    // hourglass when `hourglass` is set.
    bool Send(const char* endpoint, const std::string& statement, const char* file, bool marked,
              bool hourglass = true) {
        if (marked) {
            if (hourglass && defaultCursor_ && !hourglass_) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                hourglass_ = true;
            }
            sent_ = true;
        }
        const bool taken = w_.SendStatement(endpoint, statement, file);
        if (!taken && firstFailure_.empty()) {
            firstFailure_ = L(w_.Text(QStringLiteral("LbDebugInfo0")));
            failedMarked_ = marked;
        } else if (!taken && marked) {
            failedMarked_ = true;
        }
        return taken;
    }
    bool sentBefore() const { return sent_; }

    // The result of the save; the first failure is shown again if a later request cleared it.
    bool Finish() {
        if (!firstFailure_.empty() && w_.Text(QStringLiteral("LbDebugInfo0")).isEmpty())
            w_.showWarning(firstFailure_);
        const bool result = !sent_ || !failedMarked_;
        EndHourglass();
        return result;
    }
    void EndHourglass() {
        if (hourglass_) QApplication::restoreOverrideCursor();
        hourglass_ = false;
    }

private:
    TAxTarmel& w_;
    const bool defaultCursor_;
    bool hourglass_ = false, sent_ = false, failedMarked_ = false;
    std::string firstFailure_;
};

void Focus(TAxTarmel& w, const std::string& control) {
    if (QWidget* c = w.Control(Q(control))) c->setFocus();
}

int ActiveTab(TAxTarmel& w) {
    const auto* tabs = w.Ctl<ui::PageControl>(QStringLiteral("Tabs"));
    return tabs ? tabs->currentIndex() : 0;
}

// The new identifier an insert answered, under OutParams.
std::string NewIdOf(const TXml& answer) {
    TXml out = answer;
    XmlFind(out, "OutParams");
    return XmlValueOf(out, "NewID");
}

}  // namespace

bool TAxTarmel::SendStatement(const char* endpoint, const std::string& statement,
                              const char* resultFile) {
    Server.HttpExecute(Host.BaseHRef + endpoint + "?XMLC_OutputFormat=XML&SQLExecute=" + statement,
                       Host.WorkDir + resultFile);
    return Text(QStringLiteral("LbDebugInfo0")).isEmpty();
}

bool TAxTarmel::SaveChanges() {
    SaveRun run(*this);
    const RecordFamily family = Record.family();
    const ControlTexts text = [this](std::string_view name) {
        return L(Text(QString::fromLatin1(name.data(), qsizetype(name.size()))));
    };
    const int tab = ActiveTab(*this);

    if (family != RecordFamily::CL) {
        TraceLog(QStringLiteral("contrôle info véhicule ") + Text(QStringLiteral("LbIdTVO")));
        const std::string missing = MissingVehicleField(family, text);
        if (!missing.empty()) {
            Focus(*this, missing);
            return Record.FlagNewEnreg;
        }
        if (const size_t line = FirstPendingLine(Form.FrevoRows)) {
            const bool taken = run.Send(Record.NewFrevoRow ? "AxInsert" : "AxUpdate",
                                        Form.FrevoRows[line].statement, kFrevoResult, true);
            if (taken) {
                for (size_t c = 1; c <= 8; ++c) {
                    TsDesc& cell = Form.FrevoRows[line].cells[c];
                    cell.storedValue = cell.currentValue;
                }
            }
            TestFrevoUpdate(int(line));
        }
    } else {
        auto* actions = Ctl<ui::Grid>(QStringLiteral("ngAction"));
        if (tab == 6) {
            const std::string missing = MissingClientField(text);
            if (!missing.empty()) {
                Focus(*this, missing);
                return Record.FlagNewEnreg;
            }
            if (Record.NewAction && actions != nullptr) {
                for (int column : kNewActionMandatoryColumns) {
                    if (actions->cellText(0, column).isEmpty()) {
                        actions->selectCell(0, column);
                        return Record.FlagNewEnreg;
                    }
                }
            }
        }
        auto* vehicles = Ctl<ui::Grid>(QStringLiteral("ngVehicles"));
        if (tab == 7 && vehicles != nullptr && vehicles->rowCount() > 0) {
            const std::string missing = MissingClientVehicleField(text);
            if (!missing.empty()) {
                if (missing != kNoClientYet) Focus(*this, missing);
                return Record.NewVehicle;
            }
        }
        if (const size_t line = FirstPendingLine(Form.ActionLines)) {
            TsLine& pending = Form.ActionLines[line];
            if (pending.missingColumn != 0 && !StartsWithDelete(pending.statement)) {
                if (actions != nullptr) actions->selectCell(int(line) - 1, pending.missingColumn);
                return Record.FlagNewEnreg;
            }
            if (run.Send(Record.NewAction ? "AxInsert" : "AxUpdate", pending.statement,
                         kActionResult, true)) {
                // The next new action starts from what was last entered.
                SettingsFile settings(Host.IniFileName);
                for (size_t c = 0; c < pending.cells.size(); ++c) {
                    TsDesc& cell = pending.cells[c];
                    if (cell.storedValue == cell.currentValue) continue;
                    const int column = int(c) + 1;
                    if (column >= 2 && column != 6)
                        settings.SetTagRegistry("sAct" + std::to_string(column), cell.currentValue);
                    cell.storedValue = cell.currentValue;
                }
            }
            TestActionUpdate(int(line));
        }
    }
    TraceLog(QStringLiteral("Save Changes -1-"));

    const int page = tab + 1;
    if (tab >= 0 && tab < 9 && !Form.Pages[size_t(page)].statement.empty()) {
        const bool insert = Record.FlagNewEnreg || (Record.NewVehicle && page == 8);
        // The page's request alone shows no hourglass.
        if (run.Send(insert ? "AxInsert" : "AxUpdate", Form.Pages[size_t(page)].statement,
                     kPageResult, true, run.sentBefore())) {
            if (insert) {
                if (auto answer = LoadTextFile(Host.WorkDir + kPageResult))
                    Form.RecordXml.setText(*answer);
                const QString newId = Q(NewIdOf(Form.RecordXml));
                const QString customer = Text(QStringLiteral("LbIDCustomer"));
                if (customer == QLatin1String("-1") || customer == QLatin1String("-2"))
                    SetText(QStringLiteral("LbIDCustomer"), newId);
                else if (family != RecordFamily::CL)
                    SetText(QStringLiteral("LbIdTVO"), newId);
                // A client's new vehicle is found again by reloading the client.
                Record.FlagNewEnreg = false;
                Record.NewVehicle = false;
                JvXPBtnActualizeClick();
            } else {
                for (TsDesc& d : Form.Pages[size_t(page)].descriptors)
                    d.storedValue = d.currentValue;
            }
            TestPageUpdate(page);
        }
    }
    TraceLog(QStringLiteral("Save Changes -2-"));

    if (family == RecordFamily::VO && !Text(QStringLiteral("LbIdTVO")).isEmpty()) {
        FixedFeesInput fees;
        fees.record = &Form.RecordXml;
        fees.equip = &Form.EquipXml;
        fees.site = text("cSite");
        fees.destination = text("cDestination");
        fees.today = form::Today();
        const std::string statement = FixedFeesStatement(fees);
        if (!statement.empty() && run.Send("AxInsert", statement, kFrevoResult, false))
            UpdateView(false);
    }
    TraceLog(QStringLiteral("Save Changes -1-"));
    return run.Finish();
}

void TAxTarmel::JvXPBtnSaveClick() {
    if (Control(QStringLiteral("JvXPBtnSave"))->isEnabled()) SaveChanges();
}

}  // namespace tarmel
