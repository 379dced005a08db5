// The file-handling fee of a used vehicle sold to a private buyer, added as a cost line once.
#pragma once

#include <string>

#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

struct FixedFeesInput {
    const TXml* record = nullptr;   // the vehicle's record document
    const TXml* equip = nullptr;    // the dealership's value lists (the sites' fees)
    std::string site, destination;  // texts of cSite and cDestination
    Date today;
};

// The INSERT of the fee line, or "" when the vehicle has no idVO yet, already has a fixed fee,
// is not sold to private buyers, or its site charges none.
std::string FixedFeesStatement(const FixedFeesInput& input);

}  // namespace tarmel
