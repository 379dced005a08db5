// The values pages read from the record and client documents.
#include "formdesc/valuesource.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

const TXml& Client() {
    static const TXml doc(
        "<AxInfoCL><TVC><idClient>250</idClient><Nom>Dupont &amp; fils</Nom><Remise> 1 5,5 </Remise>"
        "</TVC><TVehS>"
        "<TVeh><idtVO>1</idtVO><Immatriculation>AB-123-CD</Immatriculation></TVeh>"
        "<TVeh><idtVO>2</idtVO><Immatriculation>EF-456-GH</Immatriculation></TVeh>"
        "</TVehS></AxInfoCL>");
    return doc;
}

std::string PlateOf(const TXml& source) {
    std::string plate;
    XmlValue(source, "Immatriculation", plate);
    return plate;
}

TEST(ValueSource, VehicleOfTheClientVehiclesPage) {
    const struct {
        int selected;
        const char* plate;
        int state;
    } cases[] = {{0, "AB-123-CD", 1}, {1, "EF-456-GH", 1}, {5, "EF-456-GH", 1}, {-1, "AB-123-CD", -1}};
    for (const auto& c : cases) {
        const VehicleSource v = SelectedVehicleSource(Client(), c.selected);
        EXPECT_EQ(PlateOf(v.source), c.plate) << c.selected;
        EXPECT_EQ(v.vehicleState, c.state) << c.selected;
    }
    const VehicleSource none = SelectedVehicleSource(TXml("<AxInfoCL><TVehS></TVehS></AxInfoCL>"), 0);
    EXPECT_EQ(none.vehicleState, 0);
    EXPECT_EQ(PlateOf(FirstVehicleSource(Client())), "AB-123-CD");
}

TEST(ValueSource, ElementAndValue) {
    TsDesc field;
    field.columnName = "Nom";
    field.controlKind = kind::Text;
    field.dataType = datatype::Text;
    EXPECT_EQ(ValueElement(field, true, false), "Nom");
    field.readName = "";
    EXPECT_EQ(ValueElement(field, true, true), "") << "\"Nom;\" reads nothing when first built";
    EXPECT_EQ(ValueElement(field, false, true), "Nom") << "and the column on later refills";
    field.readName = "LibNom";
    EXPECT_EQ(ValueElement(field, false, true), "LibNom");

    const TXml record = RecordElementSource(Client(), "TVC");
    const Date today{2026, 12, 10};
    field.readName = "";
    EXPECT_EQ(FieldValue(record, "Nom", field, false, today), "Dupont & fils");
    EXPECT_EQ(FieldValue(record, "Absent", field, false, today), "");
    field.defaultValue = "now";
    field.dataType = datatype::Date;
    EXPECT_EQ(FieldValue(record, "Nom", field, true, today), "10/12/2026") << "a new record";
    field.dataType = datatype::Decimal;
    EXPECT_EQ(FieldValue(record, "Remise", field, false, today), "0.00") << "\"155,5\" is no number";
}

}  // namespace
}  // namespace tarmel
