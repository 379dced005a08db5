// Starting and stopping pyftpdlib for tests.
#include "tests/support/ftpserverprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/support/childprocess.h"
#include "tests/support/scratchdir.h"

extern char** environ;

namespace tarmel::testsupport {

namespace fs = std::filesystem;

namespace {

std::string RandomHex(size_t length) {
    std::random_device device;
    const char* digits = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < length; ++i) text += digits[device() % 16];
    return text;
}

// Runs args with stdout and stderr into logPath. The child asks for SIGTERM when the thread that
// forked it ends; everything it touches between fork and exec is prepared beforehand.
pid_t SpawnTiedToThread(const std::vector<std::string>& args, const std::string& logPath) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);  // the parent is already gone
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_RDONLY);
        if (log < 0 || null < 0) _exit(127);
        dup2(null, 0);
        dup2(log, 1);
        dup2(log, 2);
        execve(argv[0], argv.data(), environ);
        _exit(127);
    }
    return pid;
}

}  // namespace

std::string FtpServerProcess::python() {
    if (const char* env = std::getenv("TARMEL_FTP_PYTHON"); env != nullptr && *env != '\0')
        return env;
    return "/usr/bin/python3";
}

FtpServerProcess::FtpServerProcess(std::string root)
    : root_(std::move(root)), user_("tarmel" + RandomHex(8)), password_(RandomHex(24)) {
    if (!fs::is_directory(root_)) throw std::runtime_error("no FTP root folder: " + root_);
    std::string pattern = (fs::temp_directory_path() / "tarmel-ftp-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    logFolder_ = pattern;
    // Port 0: the system picks a free port when the server binds, and the server logs it; no
    // other program can take it between the choice and the use.
    pid_ = SpawnTiedToThread({python(), "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-d",
                              root_, "-u", user_, "-P", password_, "-w", "-D"},
                             logFolder_ + "/ftp.log");
    // pyftpdlib logs ">>> starting FTP server on 127.0.0.1:<port>, pid=..." once it listens.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const std::string marker = "starting FTP server on 127.0.0.1:";
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string out = log();
        const size_t at = out.find(marker);
        if (at != std::string::npos && out.find(',', at) != std::string::npos) {
            port_ = std::atoi(out.c_str() + at + marker.size());
            if (port_ > 0) return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            const std::string message = "pyftpdlib ended at start: " + out;
            std::error_code ignored;
            fs::remove_all(logFolder_, ignored);
            throw std::runtime_error(message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::string message = "pyftpdlib did not start in time: " + log();
    stop();
    std::error_code ignored;
    fs::remove_all(logFolder_, ignored);
    throw std::runtime_error(message);
}

FtpServerProcess::~FtpServerProcess() {
    stop();
    std::error_code ignored;
    fs::remove_all(logFolder_, ignored);
}

std::string FtpServerProcess::log() const {
    return readFile(logFolder_ + "/ftp.log");
}

void FtpServerProcess::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    WaitOrKill(pid_);
    pid_ = -1;
    port_ = 0;
}

}  // namespace tarmel::testsupport
