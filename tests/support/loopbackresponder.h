// A scripted HTTP/1.1 server on 127.0.0.1 for tests: records every raw request and answers from a
// queue (status, body, delay, dropped connection), keeping connections alive like a real server.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarmel::testsupport {

struct ScriptedAnswer {
    int status = 200;
    std::string body;
    std::chrono::milliseconds delay{0};
    bool dropConnection = false;  // close the socket without answering
    std::string headers;          // extra header lines, each ending with CR LF
    // Sends the head with the whole body's length, then this many bytes of the body, and closes.
    size_t cutAfter = std::string::npos;
};

inline ScriptedAnswer Answer(std::string body, int status = 200) {
    ScriptedAnswer answer;
    answer.body = std::move(body);
    answer.status = status;
    return answer;
}
inline ScriptedAnswer SlowAnswer(std::string body, std::chrono::milliseconds delay) {
    ScriptedAnswer answer = Answer(std::move(body));
    answer.delay = delay;
    return answer;
}
// libcurl retries a request once on a fresh connection when a kept-alive one dies before any
// answer, so a test that wants a dropped request enqueues this twice.
inline ScriptedAnswer DroppedConnection() {
    ScriptedAnswer answer;
    answer.dropConnection = true;
    return answer;
}

struct RecordedRequest {
    std::string method;
    std::string target;  // raw bytes of the request target, as received
    std::string head;    // the whole request head
    std::string body;
    int connection = 0;  // 1-based number of the TCP connection that carried it
    std::chrono::steady_clock::time_point at;
};

class LoopbackResponder {
public:
    LoopbackResponder();
    ~LoopbackResponder();
    LoopbackResponder(const LoopbackResponder&) = delete;
    LoopbackResponder& operator=(const LoopbackResponder&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>/"
    std::string baseUrl() const;

    // Answers are used in order; when the queue is empty the fallback answers.
    void enqueue(ScriptedAnswer answer);
    void setFallback(ScriptedAnswer answer);
    // Answers every request from now on, in place of the queue (called on the connection's
    // thread; several connections may call it at once).
    void setHandler(std::function<ScriptedAnswer(const RecordedRequest&)> handler);

    std::vector<RecordedRequest> requests() const;
    int connections() const { return connections_; }

private:
    void acceptLoop();
    void serve(int socket, int connection);
    ScriptedAnswer nextAnswer();

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::deque<ScriptedAnswer> queue_;
    ScriptedAnswer fallback_;
    std::function<ScriptedAnswer(const RecordedRequest&)> handler_;
    std::vector<RecordedRequest> requests_;
    std::vector<int> sockets_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace tarmel::testsupport
