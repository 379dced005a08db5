// What a record's state decides of the window beyond its fields: the header's colours, the record
// buttons that are offered, the warranty fields, the Save and New buttons, and whether a record
// is shown at all. Pure functions returning plans; the window applies them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "record/controlplan.h"
#include "record/recordrules.h"

namespace tarmel {

// The record families, the characters 3 and 4 of the record kind.
enum class RecordFamily { None, VO, VD, VN, CL };
RecordFamily FamilyOf(std::string_view recordKind);
// "VO", "VD", "VN", "CL"; empty for none.
std::string FamilyName(RecordFamily family);

// The header's edits coloured by family, the duplicate-client indicators shown while a record is
// new, the client's identity line shown for a client.
ControlPlan PlanHeader(RecordFamily family, bool newRecord);

// The commands that need the record: a vehicle for a client being known (customerNumber > 0),
// printing for a client or an existing used or demonstration vehicle.
ControlPlan PlanRecordCommands(RecordFamily family, int customerNumber, bool hasVehicleId);

struct RecordButtonsInput {
    RecordFamily family = RecordFamily::None;
    Rights rights;
    std::string userName;
    // A client's site and salesperson are chosen once; then only a super-administrator changes
    // them.
    std::string clientSite, clientStaff;
};
ControlPlan PlanRecordButtons(const RecordButtonsInput& input);

// The warranty fields: the accountants, or the sales managers until the warranty is validated.
ControlPlan PlanWarranty(bool compta, bool salesManager, bool warrantyValidated);

// Save while the page has a statement to send; New only when nothing is pending.
ControlPlan PlanPageButtons(bool savable);

// A record of another dealership is shown with empty, read-only pages.
bool ShowsEmptyPages(std::string_view recordConcession, std::string_view userConcession,
                     bool newRecord);

// The labels of a new vehicle's reservation, and their texts (Latin-1) from the first reservation
// of the record document; none when it has no reservation.
inline constexpr std::array<const char*, 4> kReservationLabels = {"LbResa1", "LbResa2", "LbResa3",
                                                                  "LbResa4"};
using ReservationTexts = std::array<std::string, 4>;
std::optional<ReservationTexts> ReadReservation(const TXml& document);

// The user for whom the test SMS button shows (a part of the user's display name).
inline constexpr const char* kSmsTestUserName = "Test SMS";

}  // namespace tarmel
