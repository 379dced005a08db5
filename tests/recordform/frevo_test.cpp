// The refurbishment cost lines of a demo used vehicle in the real grid, against the real data
// server: listed, edited, added and deleted line by line, the totals feeding the margins.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QTabWidget>

#include "mainwindow/toolkit/grid.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;

class Frevo : public testsupport::RecordWindowTest {
protected:
    // The demo's first used vehicle of LYO that has cost lines, shown on its costs page.
    std::string OpenCosts() {
        const std::string id =
            Sql("select idTVO from tVehicles v where TypeVO=1 and Concession='LYO' and exists "
                "(select 1 from [tVO - Frevo] f where f.idVO=v.idVO) order by idTVO");
        idVO_ = Sql("select idVO from tVehicles where idTVO=" + id);
        OpenVehicle(id, kSuperAdmin, 1);
        w().show();
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(4);
        return id;
    }
    ui::Grid& grid() { return *w().Ctl<ui::Grid>(QStringLiteral("ngFrevo")); }
    std::string Count() { return Sql("select count(*) from [tVO - Frevo] where idVO=" + idVO_); }
    std::string Sum() {
        return SqlAmount("select coalesce(sum(MontantHT), 0) from [tVO - Frevo] where idVO=" +
                         idVO_);
    }
    int Column(const char* name) { return grid().columnIndex(QString::fromLatin1(name)); }
    void ClickIcon(int row) { testsupport::ClickCell(grid(), row, 0); }
    std::string idVO_;
};

TEST_F(Frevo, TheLinesAndTheirTotalsAreShown) {
    OpenCosts();
    const int lines = std::stoi(Count());
    ASSERT_EQ(grid().rowCount(), lines + 1) << "the lines and the add line";
    EXPECT_EQ(L(w().Text(QStringLiteral("cFrevo"))), Sum());
    EXPECT_EQ(w().Record.FrevoTotal, Sum());
    EXPECT_EQ(L(w().Text(QStringLiteral("cTotFrevo"))), Sum()) << "the margins take the total";
    EXPECT_TRUE(grid().isColumnHidden(1)) << "the identifier column is described with width 0";
    EXPECT_EQ(grid().item(0, 0)->toolTip(), QStringLiteral("pour supprimer ce Frevo"));
    EXPECT_EQ(grid().item(lines, 0)->toolTip(), QStringLiteral("pour ajouter un nouveau Frevo"));
    EXPECT_EQ(grid().cellText(lines, Column("TypeFrevo")), QStringLiteral("interne"));
    EXPECT_FALSE(SaveEnabled()) << "a load leaves nothing pending";

    // One picture per icon, shared by the rows of every fill: Qt's pixmap cache keeps an entry
    // per picture drawn, so a picture per row grows it with every reload.
    const auto picture = [this](int row) {
        return grid().item(row, 0)->data(Qt::DecorationRole).value<QPixmap>().cacheKey();
    };
    const qint64 deleteIcon = picture(0), addIcon = picture(lines);
    OpenCosts();
    EXPECT_EQ(picture(0), deleteIcon);
    EXPECT_EQ(picture(lines), addIcon);
}

TEST_F(Frevo, AnEditedAmountIsSavedAtOnce) {
    OpenCosts();
    const std::string id = L(grid().cellText(0, Column("idFrevo")));
    grid().setCellText(0, Column("MontantHT"), QStringLiteral("12"));
    EXPECT_EQ(SqlAmount("select MontantHT from [tVO - Frevo] where idFrevo=" + id),
              "12.00");
    EXPECT_EQ(L(w().Text(QStringLiteral("LbDebugInfo1"))), "");
    EXPECT_EQ(L(w().Text(QStringLiteral("cFrevo"))), Sum());
    EXPECT_EQ(w().Form.FrevoRows[1].cells[7].storedValue, "12.00");
}

TEST_F(Frevo, AddAndDeleteIconsWithoutQuestion) {
    OpenCosts();
    const int before = std::stoi(Count());
    ClickIcon(grid().rowCount() - 1);
    EXPECT_EQ(std::stoi(Count()), before + 1);
    EXPECT_EQ(
        Sql("select TypeFrevo from [tVO - Frevo] where idVO=" + idVO_ + " order by idFrevo desc"),
        "interne");
    EXPECT_EQ(grid().rowCount(), before + 2) << "reloaded: the new line and a new add line";

    const std::string first = L(grid().cellText(0, Column("idFrevo")));
    ClickIcon(0);
    EXPECT_EQ(std::stoi(Count()), before);
    EXPECT_EQ(Sql("select count(*) from [tVO - Frevo] where idFrevo=" + first), "0");
    EXPECT_TRUE(dialogs_.messages.empty()) << "no confirmation";
}

TEST_F(Frevo, AtMost99LinesAreShownBeforeTheAddLine) {
    const std::string id = OpenCosts();
    Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120) "
         "INSERT INTO [tVO - Frevo] (idVO, DateFrevo, LibelleFrevo, TypeFrevo, MontantHT) "
         "SELECT " + idVO_ + ", DateFrevo, 'copie ' || n.i, TypeFrevo, 1 FROM n, "
         "(SELECT * FROM [tVO - Frevo] WHERE idVO = " + idVO_ + " LIMIT 1)");
    ASSERT_GT(std::stoi(Count()), 120);
    OpenVehicle(id, kSuperAdmin, 1);
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(4);
    ASSERT_EQ(grid().rowCount(), 100);
    EXPECT_EQ(grid().item(99, 0)->toolTip(), QStringLiteral("pour ajouter un nouveau Frevo"));
    EXPECT_EQ(w().Form.FrevoRows.size(), 101u) << "the template, 99 lines, the add line";
}

TEST_F(Frevo, ALineWithAnAccountNumberIsLockedWithoutTheAccountingRight) {
    // A used vehicle of the salesperson's own site, its first line booked to an account.
    const std::string id =
        Sql("select idTVO from tVehicles v where TypeVO=1 and upper(Site)='LYON-SUD' and exists "
            "(select 1 from [tVO - Frevo] f where f.idVO=v.idVO) order by idTVO");
    ASSERT_FALSE(id.empty());
    idVO_ = Sql("select idVO from tVehicles where idTVO=" + id);
    Exec("UPDATE [tVO - Frevo] SET NComptable = '411000' WHERE idFrevo = (SELECT min(idFrevo) "
         "FROM [tVO - Frevo] WHERE idVO = " + idVO_ + ")");
    auto editable = [this](int row) {
        return (grid().item(row, Column("MontantHT"))->flags() & Qt::ItemIsEditable) != 0;
    };
    const char* users[] = {testsupport::kSalesperson, kSuperAdmin};
    for (const char* user : users) {
        OpenVehicle(id, user, 1);
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(4);
        ASSERT_GE(grid().rowCount(), 2) << user;
        int booked = -1;
        for (int r = 0; r + 1 < grid().rowCount(); ++r)
            if (grid().cellText(r, Column("NComptable")) == QStringLiteral("411000")) booked = r;
        ASSERT_GE(booked, 0) << user;
        const bool accountant = user == kSuperAdmin;
        EXPECT_EQ(editable(booked), accountant) << user;
        EXPECT_EQ(grid().item(booked, Column("MontantHT"))->background().color() == Qt::white,
                  accountant)
            << user;
        if (grid().rowCount() > 2) {
            EXPECT_TRUE(editable(booked == 0 ? 1 : 0)) << user;
        }
    }
}

TEST_F(Frevo, ALineDateOutOfTheLimitsIsRefused) {
    OpenCosts();
    const QString stored = grid().cellText(0, Column("DateFrevo"));
    grid().storeEdit(grid().model()->index(0, Column("DateFrevo")), QStringLiteral("01/01/1990"));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].rfind("Contr\xF4le de la date Frevo: La valeur du champ "
                                         "\"DateFrevo\" doit \xEAtre comprise entre le \"",
                                         0),
              0u)
        << dialogs_.messages[0];
    EXPECT_EQ(grid().cellText(0, Column("DateFrevo")), stored);
}

}  // namespace
}  // namespace tarmel

namespace tarmel {
namespace {

TEST_F(Frevo, APrivateBuyersVehicleGetsItsFileFeeOnce) {
    const std::string id =
        Sql("select v.idTVO from tVehicles v join tSites s on upper(s.Site)=upper(v.Site) where "
            "v.TypeVO=1 and v.Concession='LYO' and s.MontantFraisDossier>0 order by v.idTVO");
    ASSERT_FALSE(id.empty());
    idVO_ = Sql("select idVO from tVehicles where idTVO=" + id);
    // Sold to a private buyer, without a fee line yet.
    ASSERT_TRUE(w().SendStatement("AxUpdate",
                                  "Update tVehicles set Destination='PARTICULIERS' "
                                  "where idTVO=" +
                                      id,
                                  "/x.xml"));
    ASSERT_TRUE(w().SendStatement("AxUpdate",
                                  "Delete * from [tVO - Frevo] where TypeFrevo='fixe'"
                                  " and idVO=" +
                                      idVO_,
                                  "/x.xml"));
    const std::string fee =
        SqlAmount("select s.MontantFraisDossier from tSites s join "
            "tVehicles v on upper(s.Site)=upper(v.Site) where v.idTVO=" +
            id);
    const auto fixed = [&] {
        return Sql("select count(*) from [tVO - Frevo] where upper(TypeFrevo)='FIXE' and idVO=" +
                   idVO_);
    };
    OpenVehicle(id, kSuperAdmin, 1);
    w().SetText(QStringLiteral("cPrixVente"), QStringLiteral("9999.00"));
    ASSERT_TRUE(w().SaveChanges());
    EXPECT_EQ(fixed(), "1");
    EXPECT_EQ(SqlAmount("select MontantHT from [tVO - Frevo] where "
                  "upper(TypeFrevo)='FIXE' and idVO=" +
                  idVO_),
              fee);
    w().SetText(QStringLiteral("cPrixVente"), QStringLiteral("9998.00"));
    ASSERT_TRUE(w().SaveChanges());
    EXPECT_EQ(fixed(), "1") << "the reloaded record holds its fee";
}

}  // namespace
}  // namespace tarmel
