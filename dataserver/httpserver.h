// The HTTP front of the data server: libmicrohttpd with a thread pool, raw request targets, bounded
// bodies, a route table of handler(const Request&, Response&) and one error path.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dataserver/querystring.h"

struct MHD_Daemon;

namespace tarmel::dataserver {

struct Request {
    std::string method;
    std::string path;    // raw path of the target, not decoded
    QueryParams params;  // parsed from the raw query string
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // at most the configured body limit

    // First header of that name (ASCII case-insensitive), empty when absent.
    std::string header(std::string_view name) const;
};

struct Response {
    int status = 200;
    std::string contentType = "text/xml; charset=ISO-8859-1";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

using Handler = std::function<void(const Request&, Response&)>;
// Writes the error document for a refusal (a Latin-1 message) into the response.
using ErrorWriter = std::function<void(const Request&, Response&, const std::string& message)>;

struct HttpOptions {
    std::string address = "127.0.0.1";
    uint16_t port = 8642;  // 0 picks a free port (see boundPort)
    unsigned threads = 4;
    size_t maxBody = 9 * 1024 * 1024;
    // All request bodies being received at one time together stay under this: a body is refused
    // before it is read when its announced length does not fit.
    size_t maxBodiesInFlight = 64 * 1024 * 1024;
    // Per-connection memory: the whole request head (request line included) must fit; the client
    // sends its statements in the request line, and a long memo must still save.
    size_t connectionMemory = 2 * 1024 * 1024;
    bool logRequests = true;
};

class HttpServer {
public:
    explicit HttpServer(HttpOptions options);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Exact path (case-insensitive) for one method ("GET", "POST").
    void Route(std::string method, std::string path, Handler handler);
    // Any path starting with prefix, for one method.
    void RoutePrefix(std::string method, std::string prefix, Handler handler);
    void SetErrorWriter(ErrorWriter writer) { errorWriter_ = std::move(writer); }

    bool Start(std::string& error);
    void Stop();
    uint16_t boundPort() const { return boundPort_; }

    // Dispatches a complete request (used by the libmicrohttpd glue).
    void Dispatch(const Request& request, Response& response) const;
    void Refuse(const Request& request, Response& response, const std::string& message) const;
    const HttpOptions& options() const { return options_; }
    // Reserves room for a body of that length among the bodies in flight; false when it does not
    // fit.
    bool ReserveBody(size_t length);
    void ReleaseBody(size_t length);

private:
    struct Route_ {
        std::string method;
        std::string path;
        bool prefix;
        Handler handler;
    };
    HttpOptions options_;
    std::vector<Route_> routes_;
    ErrorWriter errorWriter_;
    MHD_Daemon* daemon_ = nullptr;
    uint16_t boundPort_ = 0;
    std::atomic<size_t> bodiesInFlight_{0};
};

}  // namespace tarmel::dataserver
