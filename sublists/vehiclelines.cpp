#include "sublists/vehiclelines.h"

#include "formdesc/fieldentry.h"

namespace tarmel {

std::vector<VehicleRow> LoadVehicleRows(const TXml& client, bool newRecord, bool rightClarum) {
    std::vector<VehicleRow> rows;
    if (newRecord) return rows;
    TXml walk = client;
    XmlFind(walk, "TVehS");
    while (XmlNext(walk, "TVeh") > 0) {
        const auto value = [&walk](const char* element) {
            return DecodeTextEntities(XmlValueOf(walk, element));
        };
        VehicleRow row;
        row.id = value("idtVO");
        row.plate = value("Immatriculation");
        row.vehicle = value("InfoMarque") + " " + value("InfoModele") + " " + value("InfoVersion");
        row.icon = rightClarum ? VehicleIcon::Delete : VehicleIcon::Kept;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string VehicleFieldToFill(const std::string& make, const std::string& model) {
    if (make.empty()) return "vInfoMarque";
    if (model.empty()) return "vInfoModele";
    return {};
}

std::string ClientVehicleDeleteQuestion(const std::string& plate, const std::string& vehicle) {
    return "Veuillez confirmer la suppression de \"" + plate + "\" - \"" + vehicle + "\"";
}

std::string ClientVehicleDeleteStatement(const std::string& id) {
    return "Delete * From tVehiclesClarum where idTVo=" + id;
}

}  // namespace tarmel
