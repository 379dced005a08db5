// A loopback proxy in front of the real data server that spoils the answers of one endpoint: the
// window's requests reach the real server, and what comes back is what the case asks for.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "tests/support/loopbackresponder.h"

namespace tarmel::testsupport {

class FaultyProxy {
public:
    // server: the real server's root, "http://127.0.0.1:<port>/".
    explicit FaultyProxy(std::string server);

    // The proxy's address for a path of the server ("tarmel/" gives the BaseHRef to use).
    std::string url(const std::string& path) const { return responder_.baseUrl() + path; }

    // Every answer of the endpoint (the last path segment, "AxInfoVO"; a method of "POST" or
    // "GET" when given) goes through spoil from now on; the other endpoints pass unchanged.
    using Spoiler = std::function<ScriptedAnswer(const std::string& realAnswer)>;
    void spoil(const std::string& endpoint, Spoiler spoiler, const std::string& method = {});
    void heal();

    // Answers spoiled since the last spoil().
    int spoiled() const { return spoiled_; }

private:
    ScriptedAnswer forward(const RecordedRequest& request);

    std::string server_;
    mutable std::mutex mutex_;
    std::string endpoint_, method_;
    Spoiler spoiler_;
    std::atomic<int> spoiled_{0};
    LoopbackResponder responder_;  // last: its threads stop before the rest goes
};

}  // namespace tarmel::testsupport
