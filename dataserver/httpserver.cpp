// libmicrohttpd glue: raw targets from the URI log callback, bounded bodies, TCP_NODELAY, one log
// line per request.
#include "dataserver/httpserver.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "dataserver/logline.h"
#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

// Per-request state, created by the URI log callback (which sees the raw target before
// libmicrohttpd decodes anything) and freed by the completion callback.
struct Exchange {
    std::string target;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool headersChecked = false;
    bool answered = false;
    std::string refusal;  // set when the body is refused; the body is then discarded
    size_t declared = 0;  // Content-Length of the body
    size_t reserved = 0;  // bytes of it received, reserved among the bodies in flight
    Request request;
    int status = 0;
};

void* OnUri(void* /*cls*/, const char* uri, MHD_Connection* /*connection*/) {
    auto* exchange = new Exchange();
    exchange->target = uri ? uri : "";
    return exchange;
}

MHD_Result CollectHeader(void* cls, MHD_ValueKind /*kind*/, const char* key, const char* value) {
    auto* request = static_cast<Request*>(cls);
    request->headers.emplace_back(key ? key : "", value ? value : "");
    return MHD_YES;
}

MHD_Result Queue(MHD_Connection* connection, Exchange& exchange, const Response& response) {
    MHD_Response* r = MHD_create_response_from_buffer(
        response.body.size(), const_cast<char*>(response.body.data()), MHD_RESPMEM_MUST_COPY);
    if (r == nullptr) return MHD_NO;
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, response.contentType.c_str());
    for (const auto& [name, value] : response.headers) {
        MHD_add_response_header(r, name.c_str(), value.c_str());
    }
    exchange.status = response.status;
    exchange.answered = true;
    MHD_Result rc = MHD_queue_response(connection, static_cast<unsigned>(response.status), r);
    MHD_destroy_response(r);
    return rc;
}

// A body is accepted only with a Content-Length within the limit, without transfer or content
// encoding: chunked and compressed bodies have no bound known before reading them.
std::string BodyRefusal(const Request& request, size_t maxBody) {
    const std::string te = request.header("Transfer-Encoding");
    if (!te.empty() && !EqualsNoCase(te, "identity")) {
        return tarmel::Latin1FromUtf8("Requête refusée : corps en transfert « ") + te +
               tarmel::Latin1FromUtf8(" » non accepté");
    }
    const std::string ce = request.header("Content-Encoding");
    if (!ce.empty() && !EqualsNoCase(ce, "identity")) {
        return tarmel::Latin1FromUtf8("Requête refusée : corps compressé non accepté");
    }
    const std::string length = request.header("Content-Length");
    if (request.method == "POST" || request.method == "PUT") {
        if (length.empty())
            return tarmel::Latin1FromUtf8("Requête refusée : longueur du corps manquante");
    }
    if (!length.empty()) {
        size_t value = 0;
        for (char c : length) {
            if (c < '0' || c > '9' || value > maxBody) {
                return tarmel::Latin1FromUtf8("Requête refusée : corps trop volumineux");
            }
            value = value * 10 + static_cast<size_t>(c - '0');
        }
        if (value > maxBody)
            return tarmel::Latin1FromUtf8("Requête refusée : corps trop volumineux");
    }
    return std::string();
}

MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* /*url*/, const char* method,
                     const char* /*version*/, const char* uploadData, size_t* uploadSize,
                     void** state) {
    auto* server = static_cast<HttpServer*>(cls);
    auto* exchange = static_cast<Exchange*>(*state);
    if (exchange == nullptr) return MHD_NO;
    Request& request = exchange->request;
    if (!exchange->headersChecked) {
        exchange->headersChecked = true;
        request.method = method ? method : "";
        auto [path, query] = SplitTarget(exchange->target);
        request.path = std::string(path);
        request.params = ParseQuery(query);
        MHD_get_connection_values(connection, MHD_HEADER_KIND, &CollectHeader, &request);
        exchange->refusal = BodyRefusal(request, server->options().maxBody);
        if (exchange->refusal.empty()) {
            exchange->declared =
                std::strtoull(request.header("Content-Length").c_str(), nullptr, 10);
        }
        if (!exchange->refusal.empty()) {
            // Answered before the body is read; libmicrohttpd then closes the connection.
            Response response;
            server->Refuse(request, response, exchange->refusal);
            return Queue(connection, *exchange, response);
        }
        return MHD_YES;
    }
    if (*uploadSize > 0) {
        // Memory is reserved as the body arrives, not when it is announced: connections that
        // announce large bodies and then stall hold nothing.
        if (exchange->refusal.empty() && request.body.size() + *uploadSize > exchange->declared) {
            exchange->refusal = tarmel::Latin1FromUtf8("Requête refusée : corps trop volumineux");
        } else if (exchange->refusal.empty() && !server->ReserveBody(*uploadSize)) {
            exchange->refusal =
                tarmel::Latin1FromUtf8("Requête refusée : serveur occupé, réessayez");
        } else if (exchange->refusal.empty()) {
            exchange->reserved += *uploadSize;
            request.body.append(uploadData, *uploadSize);
        }
        *uploadSize = 0;
        return MHD_YES;
    }
    if (exchange->answered) return MHD_YES;
    Response response;
    if (!exchange->refusal.empty()) {
        server->Refuse(request, response, exchange->refusal);
    } else {
        server->Dispatch(request, response);
    }
    return Queue(connection, *exchange, response);
}

void OnCompleted(void* cls, MHD_Connection* /*connection*/, void** state,
                 MHD_RequestTerminationCode /*code*/) {
    auto* server = static_cast<HttpServer*>(cls);
    auto* exchange = static_cast<Exchange*>(*state);
    if (exchange == nullptr) return;
    if (server->options().logRequests) {
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                              exchange->start)
                        .count();
        // The method and the path are the client's bytes: escaped so that one request stays one
        // plain line of the journal.
        std::string path = LogText(exchange->request.path);
        std::string method = LogText(exchange->request.method);
        std::fprintf(stderr, "%s %s %d %.2f ms\n", method.empty() ? "-" : method.c_str(),
                     path.c_str(), exchange->status, ms);
    }
    if (exchange->reserved > 0) server->ReleaseBody(exchange->reserved);
    delete exchange;
    *state = nullptr;
}

void OnConnection(void* /*cls*/, MHD_Connection* connection, void** /*socketContext*/,
                  MHD_ConnectionNotificationCode code) {
    if (code != MHD_CONNECTION_NOTIFY_STARTED) return;
    // Small answers must not wait for Nagle's delay on keep-alive connections.
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (info != nullptr) {
        int one = 1;
        setsockopt(info->connect_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
}

}  // namespace

std::string Request::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (EqualsNoCase(key, name)) return value;
    }
    return std::string();
}

bool HttpServer::ReserveBody(size_t length) {
    size_t current = bodiesInFlight_.load();
    do {
        if (current + length > options_.maxBodiesInFlight) return false;
    } while (!bodiesInFlight_.compare_exchange_weak(current, current + length));
    return true;
}

void HttpServer::ReleaseBody(size_t length) {
    bodiesInFlight_.fetch_sub(length);
}

HttpServer::HttpServer(HttpOptions options) : options_(std::move(options)) {}

HttpServer::~HttpServer() {
    Stop();
}

void HttpServer::Route(std::string method, std::string path, Handler handler) {
    routes_.push_back({std::move(method), std::move(path), false, std::move(handler)});
}

void HttpServer::RoutePrefix(std::string method, std::string prefix, Handler handler) {
    routes_.push_back({std::move(method), std::move(prefix), true, std::move(handler)});
}

void HttpServer::Refuse(const Request& request, Response& response,
                        const std::string& message) const {
    if (errorWriter_) {
        errorWriter_(request, response, message);
    } else {
        response.status = 200;
        response.contentType = "text/plain; charset=ISO-8859-1";
        response.body = message;
    }
}

void HttpServer::Dispatch(const Request& request, Response& response) const {
    for (const Route_& route : routes_) {
        if (route.method != request.method) continue;
        bool match = route.prefix ? StartsWithNoCase(request.path, route.path)
                                  : EqualsNoCase(request.path, route.path);
        if (!match) continue;
        try {
            route.handler(request, response);
        } catch (const std::exception& e) {
            response = Response();
            Refuse(request, response,
                   tarmel::Latin1FromUtf8("Erreur interne du serveur : ") + e.what());
        }
        return;
    }
    Refuse(request, response,
           tarmel::Latin1FromUtf8("Adresse inconnue : ") + request.method + " " + request.path);
    response.status = 404;
}

bool HttpServer::Start(std::string& error) {
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    const sockaddr* address = nullptr;
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL;
    if (inet_pton(AF_INET, options_.address.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(options_.port);
        address = reinterpret_cast<const sockaddr*>(&v4);
    } else if (inet_pton(AF_INET6, options_.address.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(options_.port);
        address = reinterpret_cast<const sockaddr*>(&v6);
        flags |= MHD_USE_IPv6;
    } else {
        error = "not a numeric IPv4 or IPv6 address: " + options_.address;
        return false;
    }
    daemon_ = MHD_start_daemon(
        flags, options_.port, nullptr, nullptr, &OnRequest, this, MHD_OPTION_SOCK_ADDR, address,
        MHD_OPTION_THREAD_POOL_SIZE, static_cast<unsigned>(std::max(1u, options_.threads)),
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, options_.connectionMemory,
        MHD_OPTION_CONNECTION_MEMORY_INCREMENT, static_cast<size_t>(64 * 1024),
        MHD_OPTION_CONNECTION_LIMIT, 512u, MHD_OPTION_CONNECTION_TIMEOUT, 60u,
        MHD_OPTION_URI_LOG_CALLBACK, &OnUri, this, MHD_OPTION_NOTIFY_COMPLETED, &OnCompleted, this,
        MHD_OPTION_NOTIFY_CONNECTION, &OnConnection, this, MHD_OPTION_END);
    if (daemon_ == nullptr) {
        // No SO_REUSEPORT: a second server on a port already taken must fail here, not share
        // the port with the first and answer half of its requests.
        const int cause = errno;
        error = "cannot listen on " + options_.address + ":" + std::to_string(options_.port) +
                ": " + std::strerror(cause);
        if (cause == EADDRINUSE) error += " (another server already listens there)";
        return false;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    boundPort_ = info ? info->port : options_.port;
    return true;
}

void HttpServer::Stop() {
    if (daemon_ != nullptr) {
        MHD_stop_daemon(daemon_);
        daemon_ = nullptr;
    }
}

}  // namespace tarmel::dataserver
