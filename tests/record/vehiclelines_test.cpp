// A client's vehicles: the grid rows of the client document, the fields needed before another
// vehicle is chosen, and the deletion's question and statement.
#include "sublists/vehiclelines.h"

#include <gtest/gtest.h>

namespace tarmel {
namespace {

TXml Client(const std::string& vehicles) {
    TXml client;
    client.setText("<AxInfoCL><TActS></TActS><TVehS>" + vehicles + "</TVehS></AxInfoCL>");
    return client;
}

const char* kTwoVehicles =
    "<TVeh><idtVO>7</idtVO><Immatriculation>AB-123-CD</Immatriculation>"
    "<InfoMarque>Peugeot</InfoMarque><InfoModele>308</InfoModele>"
    "<InfoVersion>Active &amp; Pack</InfoVersion></TVeh>"
    "<TVeh><idtVO>9</idtVO><Immatriculation></Immatriculation>"
    "<InfoMarque>Renault</InfoMarque><InfoModele></InfoModele><InfoVersion></InfoVersion></TVeh>";

TEST(VehicleLines, RowsFollowTheDocumentAndTheRights) {
    const std::vector<VehicleRow> rows = LoadVehicleRows(Client(kTwoVehicles), false, true);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, "7");
    EXPECT_EQ(rows[0].plate, "AB-123-CD");
    EXPECT_EQ(rows[0].vehicle, "Peugeot 308 Active & Pack");
    EXPECT_EQ(rows[1].vehicle, "Renault  ") << "each part joined by one blank, empty or not";
    for (const VehicleRow& row : rows) EXPECT_EQ(row.icon, VehicleIcon::Delete);

    for (const VehicleRow& row : LoadVehicleRows(Client(kTwoVehicles), false, false))
        EXPECT_EQ(row.icon, VehicleIcon::Kept) << "without the Clarum right nothing is deleted";
    EXPECT_TRUE(LoadVehicleRows(Client(kTwoVehicles), true, true).empty())
        << "a new client shows no vehicle";
    EXPECT_TRUE(LoadVehicleRows(Client(""), false, true).empty());
    TXml vehicleDocument;
    vehicleDocument.setText("<AxInfoVO><TVO><idtVO>3</idtVO></TVO></AxInfoVO>");
    EXPECT_TRUE(LoadVehicleRows(vehicleDocument, false, true).empty());
}

TEST(VehicleLines, MakeThenModelMustBeFilledBeforeLeaving) {
    struct Case {
        const char *make, *model, *field;
    } cases[] = {
        {"", "", "vInfoMarque"},
        {"", "308", "vInfoMarque"},
        {"Peugeot", "", "vInfoModele"},
        {"Peugeot", "308", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VehicleFieldToFill(c.make, c.model), c.field) << c.make << "/" << c.model;
}

TEST(VehicleLines, DeletionQuestionAndStatement) {
    EXPECT_EQ(ClientVehicleDeleteQuestion("AB-123-CD", "Peugeot 308 Active"),
              "Veuillez confirmer la suppression de \"AB-123-CD\" - \"Peugeot 308 Active\"");
    EXPECT_EQ(ClientVehicleDeleteStatement("42"), "Delete * From tVehiclesClarum where idTVo=42");
}

}  // namespace
}  // namespace tarmel
