// How OnStart reads the two numeric keys of the settings file, "Trace" and "idTypeVO".
#pragma once

#include <optional>
#include <string_view>

namespace tarmel {

// Both keys are read as "0" + value parsed as a whole integer. The prepended "0" makes an empty
// value 0 and makes any sign or leading blank invalid ("0-1", "0 1"). A value starting with "x" or
// "X" becomes "0x…" and is read as hexadecimal, as the original integer parser did ("x1F" is 31);
// "0x1F" itself becomes "00x1F" and is invalid. Values above 2147483647, in either base, are
// invalid.

// "Trace": on when the value parses to a non-zero integer; an invalid value means off.
bool ParseTraceSwitch(std::string_view value);

// "idTypeVO": the family code of the vehicle to open; nullopt when the value is not an integer.
std::optional<int> ParseIdTypeVO(std::string_view value);

}  // namespace tarmel
