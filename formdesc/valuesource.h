// Where the fields of a page read their values: the record element of the record document, or for
// the client-vehicles page one vehicle of the client document.
#pragma once

#include <string>
#include <string_view>

#include "formdesc/descriptors.h"
#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

// A copy of the document with the record element ("tVO" or "TVC") current.
TXml RecordElementSource(const TXml& document, std::string_view recordTable);

// The vehicle a refill shows on the client-vehicles page: the first "TVeh" of "TVehS" and then
// selectedVehicle more, stopping at the last one. vehicleState: 0 no vehicle, 1 at least one,
// -1 while a new vehicle is entered (selectedVehicle -1).
struct VehicleSource {
    TXml source;
    int vehicleState = 0;
};
VehicleSource SelectedVehicleSource(const TXml& client, int selectedVehicle);
// The first vehicle of the client, which the first build of the page reads.
TXml FirstVehicleSource(const TXml& client);

// The element a field's value is read from. The first build reads the read name whenever vInfo
// holds ';' (so "Col;" reads nothing); later refills fall back to the column name.
std::string ValueElement(const TsDesc& field, bool firstBuild, bool vInfoHasSeparator);

// The value a field shows: its default for a new record, otherwise the element of the source
// (empty when absent), shaped by its kind and type.
std::string FieldValue(const TXml& source, std::string_view element, const TsDesc& field,
                       bool useDefault, const Date& today);

}  // namespace tarmel
