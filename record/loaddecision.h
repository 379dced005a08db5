// Everything a record document decides when it is loaded, before any field is filled: the user
// block, the record kind, the record's identifiers, dealership, site and owner, the user's groups
// and rights, and whether the record is shown at all. The header phase of a load applies it.
#pragma once

#include <string>
#include <vector>

#include "record/recordrules.h"
#include "server/xml/txml.h"

namespace tarmel {

struct LoadRequest {
    bool customerShown = false;  // the host's client label holds something
    int idTypeVO = 0;
    std::string idUser;
    bool newRecord = false;
};

struct LoadDecision {
    UserBlock user;
    RecordKind kind;
    std::string frevoTotal;  // the record's refurbishment total
    std::string vehicleId;   // idtVO, else idVO; empty for none
    std::string clientId;    // idClient of a client record; empty for none
    std::string concession;  // the record's dealership
    std::string site, owner; // upper-cased
    std::vector<std::string> groupNames;  // emptied for another dealership's record
    Rights rights;
    // Another dealership's record is shown with empty, read-only pages.
    bool emptyPages = false;
    TXml recordSource;  // the record element the pages read; empty with emptyPages
};

// Reads the date limits into limits as well (they keep what an earlier load read).
LoadDecision DecideLoad(const TXml& document, const LoadRequest& request, DateLimits& limits);

}  // namespace tarmel
