// The texts of the record header and the window caption, decided from plain control texts so
// that the window only gathers and writes back. Text is 8-bit or UTF-8: case changes touch ASCII
// letters only.
#pragma once

#include <string>
#include <string_view>

#include "server/dates.h"

namespace tarmel::header {

// Characters 3 and 4 of the record kind: "_TVO" -> "VO"; empty for a shorter kind.
std::string Family(std::string_view recordKind);

// The controls a vehicle family's header reads: number, make, version, colour, and the fiscal
// power and mileage of the second field (empty: the family shows none).
struct VehicleHeaderControls {
    const char* kind;
    const char* number;
    const char* make;
    const char* version;
    const char* colour;
    const char* cv;
    const char* kms;
};
inline constexpr VehicleHeaderControls kVehicleHeaders[] = {
    {"_TVO", "cNVO", "cInfoMarque", "cInfoVersion", "cInfoCouleur", "cCV", "cKMS"},
    {"_TVD", "cVDNVO", "cVDInfoMarque", "cVDInfoVersion", "cVDInfoCouleur", "cVDCV", "cVDKMS"},
    {"_TVN", "cVNNVO", "cVNInfoMarque", "cVNInfoVersion", "cVNInfoCouleur", "", ""},
};
// The row of a vehicle's record kind, or nullptr (a client, no record).
const VehicleHeaderControls* VehicleHeaderOf(std::string_view recordKind);

// Telephone digits in groups of two separated by "." ("0612345678" -> "06.12.34.56.78"); an odd
// length puts three digits in the first group. A group that is not all digits leaves the text
// unchanged; a one-character text gives the empty text.
std::string PhoneGroups(std::string_view text);

// Font size in points of the client's e-mail in the header, by its length in characters: the
// longer the address, the smaller, so that it fits the field.
int EmailFontPoints(std::size_t length);

// Points on the program's 96 dots-per-inch screen, as pixels (12 points are 16 pixels).
int PointsToPixels(int points);

// "Tarmel - " + family + " N°" + number + " - " + title.
std::string VehicleCaption(std::string_view family, std::string_view number, std::string_view title);

// Upper-cased make + " - " + version.
std::string TitleText(std::string_view make, std::string_view version);

// Civility, a blank when there is one, the upper-cased surname, a blank when anything precedes,
// the first name with its first letter upper-cased and the rest lower-cased.
std::string IdentityText(std::string_view civility, std::string_view surname,
                         std::string_view firstName);

// Absolute difference in days, truncated.
int WholeDaysBetween(const Date& a, const Date& b);

// Days since a used vehicle came in: to its order date when both are filled, else to the server's
// date; 0 without an entry date. A filled date that does not parse counts as today. serverToday
// with year 0 (not read from the server yet) counts as today too.
int UsedVehicleDays(std::string_view orderDate, std::string_view entryDate, const Date& serverToday,
                    const Date& today);

// Days from a new vehicle's order (today when empty or invalid) to its invoice when filled (an
// invalid one counts as today), else to its registration (the start when empty or invalid):
// number + " jours" when more than 0, else empty.
std::string NewVehicleDaysText(std::string_view orderDate, std::string_view invoiceDate,
                               std::string_view registrationDate, const Date& today);

// The hint wording of the record buttons: with a client open every "véhicule" (any case) becomes
// "client", else every "client" becomes "véhicule"; a hint changes only when it holds the word in
// exactly that lower case. UTF-8.
std::string HintFor(std::string_view hint, bool clientOpen);

}  // namespace tarmel::header
