// How a trace line writes a yes/no state: "-1" for true and "0" for false, as every trace log of
// the program has written them, so that old and new logs read alike.
#pragma once

namespace tarmel {

inline const char* Flag(bool value) { return value ? "-1" : "0"; }

}  // namespace tarmel
