// A demo client's follow-up actions in the real grid against the real data server: listed with
// their texts, a new action added at the top with the remembered values, saved, deleted.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTabWidget>

#include "app/settingsfile.h"
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

TEST_F(Actions, ANewActionIsAddedSavedAndDeleted) {
    OpenActions();
    SettingsFile(w().Host.IniFileName).SetTagRegistry("sAct4", "2");
    const int before = std::stoi(Count());
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnNewAction"))->click();
    ASSERT_EQ(grid().rowCount(), before + 1);
    EXPECT_EQ(grid().item(0, 0)->toolTip(),
              QStringLiteral("pour enregistrer cette nouvelle action"));
    EXPECT_EQ(w().Form.ActionLines[1].cells[3].currentValue, "2") << "the remembered type";
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
    grid().setCellText(0, Column("SujetRelance"),
                       grid().column(Column("SujetRelance")).items.first());
    ASSERT_EQ(w().Form.ActionLines[1].missingColumn, 0);
    ASSERT_NE(w().Form.ActionLines[1].statement, "");
    ClickIcon(0);
    EXPECT_EQ(std::stoi(Count()), before + 1);
    const std::string added = Sql("select idAction from tActions where idClient=" + client_ +
                                  " and CommentaireAction='rappeler lundi'");
    ASSERT_FALSE(added.empty());
    EXPECT_EQ(Sql("select TypeAction from tActions where idAction=" + added), "2");
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
