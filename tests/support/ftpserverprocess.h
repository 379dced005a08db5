// A real FTP server for tests: Debian's pyftpdlib on a free loopback port, serving a given root
// folder to one throwaway account with write access, stopped at the end. Plain C++. Like the data
// server fixture, the server ends with the thread that started it (no server outlives a crashed
// test): start it from a thread that outlives it.
#pragma once

#include <sys/types.h>

#include <string>

namespace tarmel::testsupport {

class FtpServerProcess {
public:
    // Serves root (an existing folder) to a fresh random account on 127.0.0.1. Throws
    // std::runtime_error when the server cannot be started.
    explicit FtpServerProcess(std::string root);
    // Stops the server (SIGTERM, then waits) and removes its log folder; root is left as it is.
    ~FtpServerProcess();
    FtpServerProcess(const FtpServerProcess&) = delete;
    FtpServerProcess& operator=(const FtpServerProcess&) = delete;

    std::string host() const { return "127.0.0.1"; }
    int port() const { return port_; }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }
    const std::string& root() const { return root_; }
    // What the server logged so far: every command received ("<- EPRT ...", the password
    // masked), every reply ("-> 226 ...") and one line per session event and file stored.
    std::string log() const;

    void stop();
    bool running() const { return pid_ > 0; }

    // The Python that has pyftpdlib: TARMEL_FTP_PYTHON, else Debian's /usr/bin/python3 (not the
    // first python3 on the PATH, which may be another installation without it).
    static std::string python();

private:
    std::string root_;
    std::string logFolder_;
    std::string user_;
    std::string password_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace tarmel::testsupport
