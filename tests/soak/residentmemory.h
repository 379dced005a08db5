// Resident set sizes read from /proc, and the heap glibc has handed out, in kB.
#pragma once

#include <sys/types.h>

#include <string>

namespace tarmel::testsupport {

// Of the process (this one for 0); -1 when it cannot be read.
long ResidentKb(pid_t pid = 0);

// Bytes the program holds from malloc (every arena, large blocks included): what a leak grows
// whatever the allocator keeps resident beside it.
long HeapInUseKb();

// The first child of this process whose command name (as /proc shows it, cut at 15 characters)
// is the one given; -1 when there is none.
pid_t ChildNamed(const std::string& command);

}  // namespace tarmel::testsupport
