// A demo client's follow-up actions in the real grid against the real data server: listed with
// their texts, a new action added at the top with the remembered values, saved, deleted.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>

#include "app/settingsfile.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

class Actions : public testsupport::RecordWindowTest {
protected:
    void OpenActions() {
        client_ =
            Sql("select c.idClient from tClients c where c.Concession='LYO' and exists "
                "(select 1 from tActions a where a.idClient=c.idClient) order by idClient");
        w().Host.IniFileName = dir_.file("tarmel.ini");
        OpenClient(client_, kSuperAdmin);
        w().show();
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(6);
    }
    ui::Grid& grid() { return *w().Ctl<ui::Grid>(QStringLiteral("ngAction")); }
    int Column(const char* name) { return grid().columnIndex(QString::fromLatin1(name)); }
    std::string Count() { return Sql("select count(*) from tActions where idClient=" + client_); }
    void ClickIcon(int row) { testsupport::ClickCell(grid(), row, 0); }
    std::string client_;
};

TEST_F(Actions, TheClientsActionsAreListedWithTheirTexts) {
    OpenActions();
    ASSERT_EQ(grid().rowCount(), std::stoi(Count()));
    const std::string id = L(grid().cellText(0, Column("idAction")));
    const std::string staff =
        Sql("select s.cNom from tActions a join tStaff s on "
            "s.idCom=a.idCom where a.idAction=" +
            id);
    EXPECT_EQ(L(grid().cellText(0, Column("idCom"))), staff);
    EXPECT_EQ(L(grid().cellText(0, Column("CommentaireAction"))),
              Sql("select CommentaireAction from tActions where idAction=" + id));
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(w().Control(QStringLiteral("JvXPBtnNewAction"))->isEnabled());
}

TEST_F(Actions, NoActionsNoRowsAndAtMost99) {
    const std::string none =
        Sql("select c.idClient from tClients c where c.Concession='LYO' and not exists "
            "(select 1 from tActions a where a.idClient=c.idClient) order by idClient");
    ASSERT_FALSE(none.empty());
    w().Host.IniFileName = dir_.file("tarmel.ini");
    OpenClient(none, kSuperAdmin);
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(6);
    EXPECT_EQ(grid().rowCount(), 0);

    OpenActions();
    Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120) "
         "INSERT INTO tActions (idClient, DateAction, idCom, TypeAction, CommentaireAction) "
         "SELECT " + client_ + ", DateAction, idCom, TypeAction, 'copie ' || n.i FROM n, "
         "(SELECT * FROM tActions WHERE idClient = " + client_ + " LIMIT 1)");
    OpenClient(client_, kSuperAdmin);
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(6);
    EXPECT_EQ(grid().rowCount(), 99);
    EXPECT_EQ(w().Form.ActionLines.size(), 100u);
}

TEST_F(Actions, AnEditTakenBackLeavesNothingToSave) {
    OpenActions();
    const int comment = Column("CommentaireAction");
    const QString stored = grid().cellText(0, comment);
    grid().setCellText(0, comment, stored + QStringLiteral(" (rappel)"));
    EXPECT_NE(w().Form.ActionLines[1].statement, "");
    EXPECT_TRUE(SaveEnabled());
    grid().setCellText(0, comment, stored);
    EXPECT_EQ(w().Form.ActionLines[1].statement, "");
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(Actions, ANewActionIsAddedSavedAndDeleted) {
    OpenActions();
    SettingsFile(w().Host.IniFileName).SetTagRegistry("sAct4", "3");
    const int before = std::stoi(Count());
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnNewAction"))->click();
    ASSERT_EQ(grid().rowCount(), before + 1);
    EXPECT_EQ(grid().item(0, 0)->toolTip(),
              QStringLiteral("pour enregistrer cette nouvelle action"));
    EXPECT_EQ(w().Form.ActionLines[1].cells[3].currentValue, "3") << "the remembered type";
    const QStringList types = grid().column(Column("TypeAction")).items;
    ASSERT_GE(types.size(), 3);
    EXPECT_EQ(grid().cellText(0, Column("TypeAction")), types[2]);
    EXPECT_EQ(L(grid().cellText(0, Column("DateAction"))), FormatDate(form::Today()));

    // The user picks a salesman and writes a comment; the follow-up date follows.
    const QStringList staff = grid().column(Column("idCom")).items;
    ASSERT_FALSE(staff.isEmpty());
    grid().setCellText(0, Column("idCom"), staff.first());
    grid().setCellText(0, Column("CommentaireAction"), QStringLiteral("rappeler lundi"));
    grid().setCellText(0, Column("DateRelance"), Q(FormatDate(form::Today())));
    EXPECT_EQ(w().Form.ActionLines[1].missingColumn, Column("SujetRelance"))
        << "nothing remembered for the follow-up subject";
    EXPECT_FALSE(w().SaveChanges()) << "an incomplete action is not sent";
    EXPECT_EQ(std::stoi(Count()), before);
    EXPECT_EQ(grid().currentRow(), 0);
    EXPECT_EQ(grid().currentColumn(), Column("SujetRelance")) << "the first cell to fill";
    grid().setCellText(0, Column("SujetRelance"),
                       grid().column(Column("SujetRelance")).items.first());
    ASSERT_EQ(w().Form.ActionLines[1].missingColumn, 0);
    const std::string insert = w().Form.ActionLines[1].statement;
    EXPECT_EQ(insert.rfind("Insert into tActions (DateAction,idCom,TypeAction,", 0), 0u) << insert;
    EXPECT_NE(insert.find(",'rappeler lundi',"), std::string::npos) << insert;
    EXPECT_TRUE(insert.ends_with(", " + client_ + ", :NewID)")) << insert;
    ClickIcon(0);
    EXPECT_EQ(std::stoi(Count()), before + 1);
    const std::string added = Sql("select idAction from tActions where idClient=" + client_ +
                                  " and CommentaireAction='rappeler lundi'");
    ASSERT_FALSE(added.empty());
    EXPECT_EQ(Sql("select TypeAction from tActions where idAction=" + added), "3");
    EXPECT_EQ(SettingsFile(w().Host.IniFileName).GetTagRegistry("sAct3"),
              w().GetInfoComboBoxIdCom("InfoCom", L(staff.first())));

    // Reloaded: the row is a stored one, and its icon deletes it without a question.
    int row = -1;
    for (int r = 0; r < grid().rowCount(); ++r)
        if (L(grid().cellText(r, Column("idAction"))) == added) row = r;
    ASSERT_GE(row, 0);
    dialogs_.messages.clear();
    ClickIcon(row);
    EXPECT_EQ(Sql("select count(*) from tActions where idAction=" + added), "0");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(Actions, EnterTypedInACommentIsDropped) {
    OpenActions();
    const int comment = Column("CommentaireAction");
    grid().setCurrentCell(0, comment);
    grid().editItem(grid().item(0, comment));
    auto* memo = grid().viewport()->findChild<ui::Memo*>();
    ASSERT_NE(memo, nullptr);
    const QString before = memo->text();
    auto type = [memo](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(memo, &press);
    };
    type(Qt::Key_Return, QStringLiteral("\r"));
    type(Qt::Key_Enter, QStringLiteral("\r"));
    EXPECT_EQ(memo->text(), before) << "no line break";
    type(Qt::Key_X, QStringLiteral("x"));
    EXPECT_NE(memo->text(), before) << "other keys are typed";
}

TEST_F(Actions, AFollowUpBeforeTheActionIsRefused) {
    OpenActions();
    const std::string action = L(grid().cellText(0, Column("DateAction")));
    const auto date = ParseShortDate(action);
    ASSERT_TRUE(date) << action;
    Date before = *date;
    before.year -= 1;
    grid().storeEdit(grid().model()->index(0, Column("DateRelance")), Q(FormatDate(before)));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0],
              "Contr\xF4le de la date Relance: La valeur du champ "
              "\"DateRelance\" doit \xEAtre sup\xE9rieure au \"" +
                  FormatDate(*date) + "\"");
}

}  // namespace
}  // namespace tarmel
