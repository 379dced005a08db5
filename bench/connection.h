// One keep-alive HTTP/1.1 connection to a local server, Nagle's delay off, as the client's
// libcurl handle has it: the benchmarks time requests without a connection set-up each.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace tarmel::bench {

class Connection {
public:
    explicit Connection(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ok_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Connection() { close(fd_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // GET; the body of a 200 answer, or false.
    bool Get(const std::string& target, std::string& body) {
        if (!ok_) return false;
        const std::string request = "GET " + target +
                                    " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                    "Accept: text/html, */*\r\n\r\n";
        if (send(fd_, request.data(), request.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(request.size())) {
            return ok_ = false;
        }
        size_t headEnd;
        while ((headEnd = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (!Fill()) return false;
        }
        const bool success = buffer_.compare(0, 12, "HTTP/1.1 200") == 0;
        size_t lengthAt = buffer_.find("Content-Length: ");
        if (lengthAt == std::string::npos || lengthAt > headEnd) {
            lengthAt = buffer_.find("content-length: ");
        }
        if (lengthAt == std::string::npos || lengthAt > headEnd) return ok_ = false;
        const size_t length = std::stoul(buffer_.substr(lengthAt + 16));
        while (buffer_.size() < headEnd + 4 + length) {
            if (!Fill()) return false;
        }
        body = buffer_.substr(headEnd + 4, length);
        buffer_.erase(0, headEnd + 4 + length);
        return success;
    }

private:
    bool Fill() {
        char chunk[65536];
        ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) return ok_ = false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }
    int fd_ = -1;
    bool ok_ = false;
    std::string buffer_;
};

}  // namespace tarmel::bench
