// Starting a new record and deleting one: the site a new record preselects, the questions and
// the delete statements.
#pragma once

#include <string>
#include <vector>

#include "record/recordplan.h"

namespace tarmel {

// Tab index of a family's first page when a new record starts.
int NewRecordTab(RecordFamily family);

// The combo item a new record preselects for its site: the last site chosen when there is one
// (the last item equal to it, any case), else the item found earliest in the user's site list
// (the earlier item on a tie); -1 for none, and none when the user's list is exactly "#".
int PreselectedSite(const std::vector<std::string>& items, const std::string& lastSite,
                    const std::string& userSite);

// The site combo of each family.
const char* SiteControl(RecordFamily family);

inline constexpr const char* kDeleteTitle = "Confirmation de Suppression";
inline constexpr const char* kDeleteDoneTitle = "Fin de Suppression";
inline constexpr const char* kDeleteDone = "Suppression termin\351e";

// "Veuillez confirmer la suppression du VO n°123" (Latin-1).
std::string VehicleDeleteQuestion(const std::string& family, const std::string& number);
// The client's name and first name in double quotes.
std::string ClientDeleteQuestion(const std::string& name, const std::string& firstName);

// The vehicle's photo links, its cost lines, then the vehicle: each only after the previous one.
std::vector<std::string> VehicleDeleteStatements(const std::string& idVO);
std::string ClientDeleteStatement(const std::string& idClient);

// Cancelled new vehicles that no buyer holds.
inline constexpr const char* kSweepQuestion =
    "Veuillez confirmer la suppression des VN annul\xE9s sans CTM  ";
inline constexpr const char* kSweepStatement =
    "DELETE * FROM tVehicles WHERE (((TypeVO)=2) AND ((Acheteur) Is Null) AND "
    "((DateAnnulation) Is Not Null));";

}  // namespace tarmel
