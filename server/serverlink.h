// The window's exchanges with the data server: GET with retries on server time-outs and a result
// file (HttpExecute), its 12-hour cached form (HttpExecuteCached) and the multipart upload
// (HttpPost). Problems never reach the caller as errors: they become the warning text, which
// callers test after each request. An answer that is not a whole document of the endpoint asked
// counts as a problem too (see answercheck.h).
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "server/exchangehost.h"
#include "server/httpclient.h"

namespace tarmel {

class ServerLink {
public:
    explicit ServerLink(ExchangeHost& host);

    void HttpExecute(std::string url, const std::string& resultFile);
    void HttpExecuteCached(const std::string& url, const std::string& resultFile);
    void HttpPost(const std::string& url, const std::string& resultFile, const MultipartForm& form);

    // Both clients go through the proxy; an empty host means none.
    void SetProxy(const std::string& host, int port);

    // What was wrong with the last request's answer when one came but could not be used (refused
    // by the answer check, an error status, cut short, too large); "" when it was taken or when
    // the server was not reached at all.
    const std::string& lastBadAnswer() const { return lastBadAnswer_; }

    HttpClient IdHTTP1;  // every exchange of this class: 5000 ms read time-out
    HttpClient IdHTTP2;  // photo downloads only: no read time-out

    // Seconds since the last request, counted by the window's timer; past 300 the kept-alive
    // connection is dropped before the next request.
    int IdleSeconds = 0;
    // The trace log; it may throw, and the exchange then stops there.
    std::function<void(const std::string&)> trace;
    // Whether Ctrl is held (forces HttpExecuteCached to download).
    std::function<bool()> ctrlHeld;
    std::chrono::milliseconds retryPause{250};
    std::chrono::hours cacheAge{12};

private:
    bool refuseWhileBusy();
    void beginRequest();
    // An answer the window cannot use: warned, traced, and the result file left as it was.
    bool refuseAnswer(const std::string& url, const std::string& answer);
    void storeAnswer(const std::string& answer, const std::string& resultFile, std::string warning);
    void pause(std::chrono::milliseconds duration);
    void traceLine(const std::string& text);

    ExchangeHost& host_;
    bool exchanging_ = false;  // also covers the pauses between tries
    std::string lastUrl_;
    std::string lastBadAnswer_;
};

}  // namespace tarmel
