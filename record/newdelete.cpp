#include "record/newdelete.h"

#include "server/xml/texttools.h"

namespace tarmel {

int NewRecordTab(RecordFamily family) {
    switch (family) {
        case RecordFamily::VO:
            return 0;
        case RecordFamily::VD:
            return 1;
        case RecordFamily::VN:
            return 2;
        case RecordFamily::CL:
            return 6;
        case RecordFamily::None:
            return 0;
    }
    return 0;
}

const char* SiteControl(RecordFamily family) {
    switch (family) {
        case RecordFamily::VO:
            return "cSite";
        case RecordFamily::VD:
            return "cVDSite";
        case RecordFamily::VN:
            return "cVNSite";
        case RecordFamily::CL:
            return "aSite";
        case RecordFamily::None:
            return "cSite";
    }
    return "cSite";
}

int PreselectedSite(const std::vector<std::string>& items, const std::string& lastSite,
                    const std::string& userSite) {
    int chosen = -1;
    if (!lastSite.empty()) {
        for (size_t i = 0; i < items.size(); ++i) {
            if (EqualsNoCase(items[i], lastSite)) chosen = int(i);
        }
        return chosen;
    }
    if (userSite == "#") return -1;
    const std::string sites = UpperAscii(userSite);
    size_t bound = 2327;  // positions count from 1; beyond any real list of sites
    for (size_t i = 0; i < items.size() && bound > 1; ++i) {
        if (items[i].empty()) continue;  // an empty item would be found at once
        const size_t found = sites.find(UpperAscii(items[i]));
        if (found != std::string::npos && found + 1 < bound) {
            bound = found + 1;
            chosen = int(i);
        }
    }
    return chosen;
}

std::string VehicleDeleteQuestion(const std::string& family, const std::string& number) {
    return "Veuillez confirmer la suppression du " + family + " n\xB0" + number;
}

std::string ClientDeleteQuestion(const std::string& name, const std::string& firstName) {
    return "Veuillez confirmer la suppression du client \"" + name + " " + firstName + "\"";
}

std::vector<std::string> VehicleDeleteStatements(const std::string& idVO) {
    return {"Delete * From [tVO - Liens Images] where idVO=" + idVO,
            "Delete * From [tVO - Frevo] where idVO=" + idVO,
            "Delete * From [tVehicles] where idVO=" + idVO};
}

std::string ClientDeleteStatement(const std::string& idClient) {
    return "Delete * From [tClients] where idClient=" + idClient;
}

}  // namespace tarmel
