// What must be filled before a record is sent: the first empty mandatory field gets the focus
// and nothing is sent. The window passes the texts of its controls through a lookup.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "record/recordplan.h"

namespace tarmel {

// The shown text of a control, by name (Latin-1).
using ControlTexts = std::function<std::string(std::string_view control)>;

// The control that takes the focus when a vehicle record of the family may not be saved; empty
// when it may. A client record has no vehicle checks.
std::string MissingVehicleField(RecordFamily family, const ControlTexts& text);

// Page 7: the first empty of the site, the salesman and the name; empty when all are filled.
std::string MissingClientField(const ControlTexts& text);

// Columns of a new action's first row that must be filled, in the order they are tested.
inline constexpr int kNewActionMandatoryColumns[] = {2, 7, 6};

// Page 8 with vehicles: "" when the vehicle may be saved, kNoClientYet when the client itself
// is not on the server yet (no focus moves), else the control that takes the focus.
inline constexpr const char* kNoClientYet = "#client";
std::string MissingClientVehicleField(const ControlTexts& text);

}  // namespace tarmel
