// The pending statement of a refurbishment or an action line, rebuilt after each edit and after
// each save of the line. The grids set NewFrevoRow / NewAction from the line's icon.
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/linestatements.h"
#include "record/recordplan.h"

namespace tarmel {

namespace {

// Line |line| of the list, or nullptr when there is none (line 0 is the template).
TsLine* LineAt(std::vector<TsLine>& lines, int line) {
    const size_t n = size_t(line < 0 ? -line : line);
    return n >= 1 && n < lines.size() ? &lines[n] : nullptr;
}

LineMode ModeOf(int line, bool insert) {
    if (line < 0) return LineMode::Delete;
    return insert ? LineMode::Insert : LineMode::Update;
}

}  // namespace

bool TAxTarmel::TestFrevoUpdate(int line) {
    std::string statement;
    const std::string idVO = GetIdVO(false);
    TsLine* row = LineAt(Form.FrevoRows, line);
    const size_t n = size_t(line < 0 ? -line : line);
    if (n < Form.FrevoIcons.size()) Record.NewFrevoRow = Form.FrevoIcons[n] == 1;  // the add line
    if (!Form.Filling && !idVO.empty() && row != nullptr) {
        // Cost lines belong to the refurbishment page, whichever page is shown when they save.
        const LineTarget target{TableInStatement(Form.Pages[5].tableTag), "idVO", idVO, "idFrevo"};
        statement = LineStatement(*row, ModeOf(line, Record.NewFrevoRow), target);
        row->statement = statement;
    }
    UpdateCumulFrevo();
    SetText(QStringLiteral("LbDebugInfo1"), form::Q(statement));
    ApplyPlan(PlanPageButtons(!statement.empty()));
    return !statement.empty();
}

bool TAxTarmel::TestActionUpdate(int line) {
    std::string statement;
    const std::string idClient = GetIdClient(false);
    TsLine* row = LineAt(Form.ActionLines, line);
    const size_t n = size_t(line < 0 ? -line : line);
    if (n < Form.ActionIcons.size()) Record.NewAction = Form.ActionIcons[n] == 1;  // a new action
    if (!Form.Filling && !idClient.empty() && row != nullptr) {
        row->missingColumn = MissingActionColumn(*row);
        const LineTarget target{"tActions", "idClient", idClient, "idAction"};
        statement = LineStatement(*row, ModeOf(line, Record.NewAction), target);
        row->statement = statement;
    }
    SetText(QStringLiteral("LbDebugInfo1"), form::Q(statement));
    ApplyPlan(PlanPageButtons(!statement.empty()));
    return !statement.empty();
}

}  // namespace tarmel
