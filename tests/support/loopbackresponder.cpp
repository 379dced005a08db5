// Scripted loopback HTTP responder: one thread accepts, one thread per connection answers.
#include "tests/support/loopbackresponder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace tarmel::testsupport {

namespace {

const char* reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 401: return "Unauthorized";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        case 502: return "Bad Gateway";
        default: return "Status";
    }
}

bool sendAll(int socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

LoopbackResponder::LoopbackResponder() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0)
        throw std::runtime_error("loopback responder: cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackResponder::~LoopbackResponder() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    {
        std::lock_guard lock(mutex_);
        for (int socket : sockets_) ::shutdown(socket, SHUT_RDWR);
    }
    for (auto& thread : threads_) thread.join();
    for (int socket : sockets_) ::close(socket);
}

std::string LoopbackResponder::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void LoopbackResponder::enqueue(ScriptedAnswer answer) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(answer));
}

void LoopbackResponder::setFallback(ScriptedAnswer answer) {
    std::lock_guard lock(mutex_);
    fallback_ = std::move(answer);
}

void LoopbackResponder::setHandler(std::function<ScriptedAnswer(const RecordedRequest&)> handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<RecordedRequest> LoopbackResponder::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

ScriptedAnswer LoopbackResponder::nextAnswer() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return fallback_;
    ScriptedAnswer answer = std::move(queue_.front());
    queue_.pop_front();
    return answer;
}

void LoopbackResponder::acceptLoop() {
    while (!stopping_) {
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket < 0) return;
        int yes = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        const int connection = ++connections_;
        std::lock_guard lock(mutex_);
        sockets_.push_back(socket);
        threads_.emplace_back([this, socket, connection] { serve(socket, connection); });
    }
}

void LoopbackResponder::serve(int socket, int connection) {
    std::string buffer;
    char chunk[65536];
    for (;;) {
        size_t headEnd;
        while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(socket, chunk, sizeof chunk, 0);
            if (n <= 0) return;
            buffer.append(chunk, static_cast<size_t>(n));
        }
        RecordedRequest request;
        request.head = buffer.substr(0, headEnd + 4);
        request.at = std::chrono::steady_clock::now();
        request.connection = connection;
        const size_t space1 = request.head.find(' ');
        const size_t space2 = request.head.find(' ', space1 + 1);
        request.method = request.head.substr(0, space1);
        request.target = request.head.substr(space1 + 1, space2 - space1 - 1);
        size_t length = 0;
        for (const char* name : {"\r\nContent-Length:", "\r\ncontent-length:"}) {
            const size_t at = request.head.find(name);
            if (at != std::string::npos) length = std::strtoul(request.head.c_str() + at + 17, nullptr, 10);
        }
        while (buffer.size() < headEnd + 4 + length) {
            const ssize_t n = ::recv(socket, chunk, sizeof chunk, 0);
            if (n <= 0) return;
            buffer.append(chunk, static_cast<size_t>(n));
        }
        request.body = buffer.substr(headEnd + 4, length);
        buffer.erase(0, headEnd + 4 + length);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }

        std::function<ScriptedAnswer(const RecordedRequest&)> handler;
        {
            std::lock_guard lock(mutex_);
            handler = handler_;
        }
        const ScriptedAnswer answer = handler ? handler(request) : nextAnswer();
        const auto until = std::chrono::steady_clock::now() + answer.delay;
        while (!stopping_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (stopping_ || answer.dropConnection) {
            ::shutdown(socket, SHUT_RDWR);
            return;
        }
        const std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " +
                                     reason(answer.status) +
                                     "\r\nContent-Type: text/xml\r\n" + answer.headers + "Content-Length: " +
                                     std::to_string(answer.body.size()) + "\r\n\r\n" +
                                     answer.body.substr(0, answer.cutAfter);
        if (!sendAll(socket, response)) return;
        if (answer.cutAfter < answer.body.size()) {
            ::shutdown(socket, SHUT_RDWR);
            return;
        }
    }
}

}  // namespace tarmel::testsupport
