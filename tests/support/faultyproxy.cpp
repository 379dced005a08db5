// The faulty proxy: each request forwarded with libcurl, the answer spoiled when it is one of the
// endpoint asked.
#include "tests/support/faultyproxy.h"

#include <curl/curl.h>

#include <cctype>

namespace tarmel::testsupport {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::string lower;
    for (char c : head) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find("\r\n" + name + ":");
    if (at == std::string::npos) return {};
    size_t start = at + name.size() + 3;
    while (start < head.size() && head[start] == ' ') ++start;
    return head.substr(start, head.find("\r\n", start) - start);
}

std::string EndpointOf(const std::string& target) {
    const std::string path = target.substr(0, target.find('?'));
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

FaultyProxy::FaultyProxy(std::string server) : server_(std::move(server)) {
    if (!server_.empty() && server_.back() == '/') server_.pop_back();
    responder_.setHandler([this](const RecordedRequest& request) { return forward(request); });
}

void FaultyProxy::spoil(const std::string& endpoint, Spoiler spoiler, const std::string& method) {
    std::lock_guard lock(mutex_);
    endpoint_ = endpoint;
    method_ = method;
    spoiler_ = std::move(spoiler);
    spoiled_ = 0;
}

void FaultyProxy::heal() {
    spoil({}, {});
}

ScriptedAnswer FaultyProxy::forward(const RecordedRequest& request) {
    CURL* curl = curl_easy_init();
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, (server_ + request.target).c_str());
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_slist* headers = nullptr;
    if (request.method == "POST") {
        headers = curl_slist_append(
            headers, ("Content-Type: " + HeaderValue(request.head, "content-type")).c_str());
        headers = curl_slist_append(headers, "Expect:");
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    }
    long status = 0;
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK) return DroppedConnection();

    Spoiler spoiler;
    {
        std::lock_guard lock(mutex_);
        if (!endpoint_.empty() && EndpointOf(request.target) == endpoint_ &&
            (method_.empty() || method_ == request.method))
            spoiler = spoiler_;
    }
    if (!spoiler) return Answer(std::move(body), static_cast<int>(status));
    ++spoiled_;
    return spoiler(body);
}

}  // namespace tarmel::testsupport
