// A demo client's vehicles in the real grid against the real data server: listed, chosen into
// the detail page, added at the top and saved, deleted after the question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>

#include "mainwindow/toolkit/grid.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSalesperson;
using testsupport::kSuperAdmin;

constexpr int kIcon = 0, kId = 1, kPlate = 2, kVehicle = 3;

class Vehicles : public testsupport::RecordWindowTest {
protected:
    // A client of LYON-SUD with exactly `count` vehicles, opened on the vehicles page.
    void OpenVehicles(int count, const char* user = kSuperAdmin) {
        client_ =
            Sql("select c.idClient from tClients c where c.Concession='LYO' and c.Site='LYON-SUD' "
                "and (select count(*) from TVehiclesClarum v where v.idClient=c.idClient) = " +
                std::to_string(count) + " order by c.idClient");
        ASSERT_FALSE(client_.empty());
        OpenClient(client_, user);
        w().show();
        QApplication::setActiveWindow(&w());
        w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(7);
        QApplication::processEvents();
    }
    ui::Grid& grid() { return *w().Ctl<ui::Grid>(QStringLiteral("ngVehicles")); }
    std::string Cell(int row, int column) { return L(grid().cellText(row, column)); }
    std::string Shown(const char* control) { return L(w().Text(QString::fromLatin1(control))); }
    int Count() {
        return std::stoi(Sql("select count(*) from TVehiclesClarum where idClient=" + client_));
    }
    bool AddEnabled() { return w().Control(QStringLiteral("JvXPBtnNewVehicle"))->isEnabled(); }
    std::string client_;
};

TEST_F(Vehicles, TheClientsVehiclesAreListedAndChosenIntoThePage) {
    OpenVehicles(3);
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(grid().currentRow(), 0);
    EXPECT_TRUE(grid().isColumnHidden(kId));
    for (int row = 0; row < 3; ++row) {
        const std::string id = Cell(row, kId);
        EXPECT_EQ(Cell(row, kPlate),
                  Sql("select Immatriculation from TVehiclesClarum where idTVO=" + id));
        EXPECT_EQ(Cell(row, kVehicle),
                  Sql("select InfoMarque||' '||InfoModele||' '||InfoVersion from "
                      "TVehiclesClarum where idTVO=" +
                      id));
        EXPECT_EQ(L(grid().item(row, kIcon)->toolTip()), "pour supprimer ce v\xE9hicule");
    }
    EXPECT_EQ(Shown("vImmatriculation"), Cell(0, kPlate)) << "the page shows the first vehicle";
    EXPECT_TRUE(AddEnabled());

    testsupport::ClickCell(grid(), 2, kPlate);
    EXPECT_EQ(grid().currentRow(), 2);
    EXPECT_EQ(w().Record.SelectedVehicle, 2);
    EXPECT_EQ(Shown("vImmatriculation"), Cell(2, kPlate));
    EXPECT_EQ(Field(8, "Immatriculation").storedValue, Cell(2, kPlate));
    EXPECT_FALSE(SaveEnabled()) << "choosing a vehicle changes nothing";

    // An edited vehicle is saved before another one is shown.
    w().SetText(QStringLiteral("vImmatriculation"), QStringLiteral("ZZ-999-ZZ"));
    ASSERT_TRUE(SaveEnabled());
    const std::string edited = Cell(2, kId);
    testsupport::ClickCell(grid(), 0, kPlate);
    EXPECT_EQ(Sql("select Immatriculation from TVehiclesClarum where idTVO=" + edited),
              "ZZ-999-ZZ");
    EXPECT_EQ(Shown("vImmatriculation"), Cell(0, kPlate));
}

TEST_F(Vehicles, LeavingAVehicleWithoutMakeOrModelIsRefused) {
    OpenVehicles(3);
    for (const char* field : {"vInfoMarque", "vInfoModele"}) {
        const QString kept = w().Text(QString::fromLatin1(field));
        w().SetText(QString::fromLatin1(field), {});
        testsupport::ClickCell(grid(), 1, kPlate);
        EXPECT_EQ(grid().currentRow(), 0) << field;
        EXPECT_EQ(w().Record.SelectedVehicle, 0) << field;
        QWidget* control = w().Control(QString::fromLatin1(field));
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == control || control->isAncestorOf(focus)) << field;
        w().SetText(QString::fromLatin1(field), kept);
    }
}

TEST_F(Vehicles, ANewClientShowsNoVehicleAndNoAddition) {
    OpenVehicles(2);
    Click("JvXPBtnNewVO");
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(7);
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_FALSE(AddEnabled());
    w().JvXPBtnNewVehicleClick();
    EXPECT_EQ(grid().rowCount(), 0) << "a client not saved yet gets no vehicle";
    EXPECT_FALSE(w().Record.NewVehicle);
}

TEST_F(Vehicles, WithoutTheClarumRightNothingIsAddedOrDeleted) {
    OpenVehicles(2, kSalesperson);
    ASSERT_FALSE(w().Access.RightClarum);
    // The client was reloaded in full: it shows its first page, and its vehicles page lists what
    // is left.
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(7);
    ASSERT_EQ(grid().rowCount(), 2);
    for (int row = 0; row < 2; ++row) EXPECT_EQ(grid().item(row, kIcon)->toolTip(), "");
    EXPECT_EQ(w().Form.VehicleIcons, (std::vector<int>{2, 2}));
    EXPECT_FALSE(AddEnabled());
    testsupport::ClickCell(grid(), 1, kIcon);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(Count(), 2);
}

TEST_F(Vehicles, ANewVehicleComesOnTopAndIsInsertedBySaving) {
    OpenVehicles(2);
    Click("JvXPBtnNewVehicle");
    ASSERT_EQ(grid().rowCount(), 3);
    for (int column = kIcon; column <= kVehicle; ++column) EXPECT_EQ(Cell(0, column), "");
    EXPECT_EQ(grid().currentRow(), 0);
    EXPECT_EQ(w().Record.SelectedVehicle, -1);
    EXPECT_TRUE(w().Record.NewVehicle);
    EXPECT_EQ(Shown("vImmatriculation"), "") << "the page shows a vehicle to enter";
    Click("JvXPBtnNewVehicle");
    EXPECT_EQ(grid().rowCount(), 3) << "one new vehicle at a time";

    w().SetText(QStringLiteral("vImmatriculation"), QStringLiteral("NV-001-AA"));
    Choose("vInfoMarque", 0);
    Choose("vInfoModele", 0);
    const std::string& statement = w().Form.Pages[8].statement;
    EXPECT_EQ(statement.rfind("Insert into TVehiclesClarum (", 0), 0u) << statement;
    EXPECT_NE(statement.find("," + client_ + ", :NewID, :NewIDbis"), std::string::npos)
        << statement;
    ASSERT_TRUE(w().SaveChanges());
    EXPECT_EQ(Count(), 3);
    EXPECT_FALSE(w().Record.NewVehicle);
    ASSERT_EQ(grid().rowCount(), 3) << "the client reloaded with its new vehicle";
    int found = 0;
    for (int row = 0; row < 3; ++row) found += Cell(row, kPlate) == "NV-001-AA";
    EXPECT_EQ(found, 1);
}

TEST_F(Vehicles, ADeletionIsAskedAndSentOnlyOnYes) {
    OpenVehicles(3);
    const std::string id = Cell(1, kId);
    const std::string question =
        "Confirmation de Suppression? Veuillez confirmer la suppression de \"" + Cell(1, kPlate) +
        "\" - \"" + Cell(1, kVehicle) + "\"";
    dialogs_.confirm = false;
    testsupport::ClickCell(grid(), 1, kIcon);
    ASSERT_EQ(dialogs_.messages, std::vector<std::string>{question});
    EXPECT_EQ(Count(), 3) << "No sends nothing";
    EXPECT_EQ(L(Statement()), "");

    dialogs_.confirm = true;
    testsupport::ClickCell(grid(), 1, kIcon);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Sql("select count(*) from TVehiclesClarum where idTVO=" + id), "0");
    EXPECT_EQ(L(Statement()), "");
    // The client was reloaded in full: it shows its first page, and its vehicles page lists what
    // is left.
    w().Ctl<QTabWidget>(QStringLiteral("Tabs"))->setCurrentIndex(7);
    ASSERT_EQ(grid().rowCount(), 2);
    for (int row = 0; row < 2; ++row) EXPECT_NE(Cell(row, kId), id);
}

}  // namespace
}  // namespace tarmel
