// One HTTP client of the window (IdHTTP1, IdHTTP2): a libcurl handle that keeps its connection
// alive and its cookies between requests, and keeps the Qt event loop running while it waits.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarmel {

struct HttpResponse {
    bool ok = false;       // a 2xx answer was read completely
    bool refused = false;  // not sent: another request of this client was still waiting
    long status = 0;       // HTTP status, 0 when none was received
    std::string body;      // bytes exactly as received
    std::string error;     // when !ok: one French sentence for the warning band, in Latin-1
    std::string detail;    // when !ok: what failed, for the trace log (libcurl's text, code, URL)
};

// A multipart form: text fields and file parts, each in its order on the wire; a file part goes
// after the number of text fields it names (after all of them unless it says otherwise).
struct MultipartForm {
    struct Field {
        std::string name, value;
    };
    static constexpr size_t kAfterAllFields = static_cast<size_t>(-1);
    struct FilePart {
        std::string fieldName, fileName, contentType, bytes;
        size_t afterFields = kAfterAllFields;
    };
    std::vector<Field> fields;
    std::vector<FilePart> files;
};

struct HttpClientSettings {
    std::chrono::milliseconds readTimeout{0};  // 0: wait for ever
    std::string contentType = "text/html";
    std::string accept = "text/html, */*";
    std::string userAgent = "Mozilla/3.0 (compatible; Indy Library)";
};

class HttpClient {
public:
    explicit HttpClient(HttpClientSettings settings = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Sends the URL byte for byte (nothing is encoded again). Only one request at a time: a call
    // made while another waits (from a timer or a click run by the event loop) is refused.
    HttpResponse Get(const std::string& url);
    HttpResponse Post(const std::string& url, const MultipartForm& form);

    // Closes the kept-alive connection; cookies are kept.
    void Disconnect();

    // Empty host: no proxy at all (the environment's proxy variables are not used behind our back).
    void SetProxy(const std::string& host, int port);
    void SetReadTimeout(std::chrono::milliseconds timeout) { settings_.readTimeout = timeout; }
    const HttpClientSettings& settings() const { return settings_; }

    bool busy() const { return busy_; }
    // Connections opened since this client was created (a kept-alive connection counts once).
    long connectionsOpened() const { return connectionsOpened_; }

    // Status and authentication notifications, as short phrases for the trace log.
    std::function<void(const std::string&)> onNotify;
    // Run while a request waits; by default the Qt event loop of the thread, when there is one.
    std::function<void()> processEvents;

private:
    HttpResponse perform(const std::string& url, const MultipartForm* form);
    void notify(const std::string& text);
    struct Handles;
    std::unique_ptr<Handles> handles_;
    HttpClientSettings settings_;
    std::string proxyHost_;
    int proxyPort_ = 0;
    bool busy_ = false;
    long connectionsOpened_ = 0;
};

}  // namespace tarmel
