// Date texts at the data server's edges: "mm/dd/yyyy" inside the client's SQL, ISO in the
// database, "dd/mm/yyyy" in the answers.
#pragma once

#include <string>
#include <string_view>

namespace tarmel::dataserver {

// "mm/dd/yyyy" (month and day of one or two digits, four-digit year, optionally followed by
// " hh:mm" or " hh:mm:ss") into "yyyy-mm-dd" [" hh:mm:ss"]. False, leaving iso untouched, for
// anything else, impossible dates included (02/29/2023 is not a date, it is not read as 03/01).
bool IsoFromAccessDate(std::string_view text, std::string& iso);

// "yyyy-mm-dd" [followed by a time] into "dd/mm/yyyy" [same time]; false when the text does not
// start with an ISO date.
bool DisplayFromIso(std::string_view iso, std::string& display);

}  // namespace tarmel::dataserver
