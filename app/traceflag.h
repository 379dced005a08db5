// How a trace line writes a yes/no state: "-1" for true and "0" for false, the way the original
// program's traces wrote them, so that old and new trace logs read alike.
#pragma once

namespace tarmel {

inline const char* Flag(bool value) { return value ? "-1" : "0"; }

}  // namespace tarmel
