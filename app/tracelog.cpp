// Trace log writing: the existence rule, the line format and the French error report.
#include "app/tracelog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarmel {

namespace {

// "Impossible d'écrire le journal <path> : <reason>", in Latin-1 like every text of the program.
[[noreturn]] void Fail(const std::string& path, int error) {
    throw TraceLogError(
        "Impossible d'\xE9"
        "crire le journal " +
        path + " : " + std::strerror(error));
}

std::string TimeStamp(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    const std::size_t size = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return std::string(text, size);
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail(path, error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace

std::string TraceLog::fileName() const {
    const bool separated = !workDir.empty() && workDir.back() == '/';
    return workDir + (separated ? "" : "/") + "TAXTarmel.log";
}

void TraceLog::Write(std::string_view message) {
    if (!on) return;
    const std::string path = fileName();

    struct stat existing;
    if (::stat(path.c_str(), &existing) != 0) {
        // A missing file (or folder) is the ordinary case; anything else is a real failure.
        if (errno != ENOENT && errno != ENOTDIR) Fail(path, errno);
        message = {};
    }

    int fd;
    if (!message.empty()) {
        // No O_CREAT: the file was just seen, and only an existing log is appended to.
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    } else {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    if (fd < 0) Fail(path, errno);

    if (!message.empty()) {
        std::string line = TimeStamp(clock());
        line.append(" - ").append(message).append("\n");
        // One write call with O_APPEND keeps a line whole even if another process appends too.
        WriteAll(fd, line, path);
    }
    if (::close(fd) != 0) Fail(path, errno);
}

}  // namespace tarmel
