// Waiting for a server a fixture started: the one way the test servers end.
#pragma once

#include <sys/types.h>

namespace tarmel::testsupport {

// Waits for the child to exit; one still running after ten seconds (a stop that hangs) is ended
// with SIGKILL and waited for.
void WaitOrKill(pid_t pid);

}  // namespace tarmel::testsupport
