// /proc/<pid>/statm for the resident pages, /proc/<pid>/stat for the parent and the name,
// mallinfo2 for the heap.
#include "tests/soak/residentmemory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarmel::testsupport {

long ResidentKb(pid_t pid) {
    const std::string path =
        pid == 0 ? std::string("/proc/self/statm") : "/proc/" + std::to_string(pid) + "/statm";
    std::ifstream statm(path);
    long size = 0, resident = -1;
    if (!(statm >> size >> resident)) return -1;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long HeapInUseKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

pid_t ChildNamed(const std::string& command) {
    const pid_t self = getpid();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // "pid (name) state ppid ...": the name may hold blanks and parentheses.
        const size_t open = line.find('('), close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        std::istringstream rest(line.substr(close + 1));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == self && line.substr(open + 1, close - open - 1) == command)
            return static_cast<pid_t>(std::atol(name.c_str()));
    }
    return -1;
}

}  // namespace tarmel::testsupport
