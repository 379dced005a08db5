// The vehicles of a client: the grid rows read from the client document, the field a move away
// from a vehicle still needs, and the question and statement of a vehicle's deletion.
#pragma once

#include <string>
#include <vector>

#include "server/xml/txml.h"

namespace tarmel {

// Image 0 may be clicked to delete the vehicle; image 2 may not.
enum class VehicleIcon { Delete = 0, Kept = 2 };

struct VehicleRow {
    std::string id, plate, vehicle;  // columns 1 to 3
    VehicleIcon icon = VehicleIcon::Kept;
};

// The "TVeh" elements under "TVehS", in document order; none for a client not yet saved.
std::vector<VehicleRow> LoadVehicleRows(const TXml& client, bool newRecord, bool rightClarum);

// The detail field that must be filled before another vehicle is chosen ("vInfoMarque", then
// "vInfoModele"); empty when the vehicle may be left.
std::string VehicleFieldToFill(const std::string& make, const std::string& model);

inline constexpr const char* kVehicleDeleteHint = "pour supprimer ce v\xE9hicule";

// `Veuillez confirmer la suppression de "AB-123-CD" - "Peugeot 308 Active"` (Latin-1).
std::string ClientVehicleDeleteQuestion(const std::string& plate, const std::string& vehicle);
std::string ClientVehicleDeleteStatement(const std::string& id);

}  // namespace tarmel
