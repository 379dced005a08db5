// Value sources of the pages and the value of one field.
#include "formdesc/valuesource.h"

#include "formdesc/fieldrules.h"

namespace tarmel {

TXml RecordElementSource(const TXml& document, std::string_view recordTable) {
    TXml source = document;
    XmlFind(source, recordTable);
    return source;
}

VehicleSource SelectedVehicleSource(const TXml& client, int selectedVehicle) {
    VehicleSource out;
    out.source = client;
    XmlFind(out.source, "TVehS");
    if (XmlNext(out.source, "TVeh") > 0) {
        out.vehicleState = 1;
        for (int step = 0; step < selectedVehicle; ++step) {
            if (XmlNext(out.source, "TVeh") == 0) break;
        }
    }
    if (selectedVehicle == -1) out.vehicleState = -1;
    return out;
}

TXml FirstVehicleSource(const TXml& client) {
    TXml source = client;
    XmlFind(source, "TVeh");
    return source;
}

std::string ValueElement(const TsDesc& field, bool firstBuild, bool vInfoHasSeparator) {
    if (firstBuild) return vInfoHasSeparator ? field.readName : field.columnName;
    return field.readName.empty() ? field.columnName : field.readName;
}

std::string FieldValue(const TXml& source, std::string_view element, const TsDesc& field,
                       bool useDefault, const Date& today) {
    std::string raw;
    if (useDefault) {
        raw = field.defaultValue;
    } else if (!element.empty()) {
        XmlValue(source, element, raw);
    }
    return FieldValueFromRecord(raw, field.controlKind, field.dataType, today);
}

}  // namespace tarmel
