// HttpExecute, HttpExecuteCached and HttpPost over the main client.
#include "server/serverlink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <thread>

#include "server/answercheck.h"
#include "server/exchangerules.h"
#include "server/resultfile.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

constexpr int kTries = 5;
constexpr int kIdleLimitSeconds = 300;

HttpClientSettings mainClientSettings() {
    HttpClientSettings settings;
    settings.readTimeout = std::chrono::milliseconds(5000);
    return settings;
}

// Sets a flag for the lifetime of one exchange.
struct Busy {
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    bool& flag_;
};

}  // namespace

ServerLink::ServerLink(ExchangeHost& host) : IdHTTP1(mainClientSettings()), host_(host) {
    IdHTTP1.onNotify = [this](const std::string& text) { traceLine(text); };
}

void ServerLink::SetProxy(const std::string& host, int port) {
    IdHTTP1.SetProxy(host, port);
    IdHTTP2.SetProxy(host, port);
}

void ServerLink::traceLine(const std::string& text) {
    if (trace) trace(text);
}

bool ServerLink::refuseWhileBusy() {
    if (!exchanging_) return false;
    const std::string text =
        Latin1FromUtf8("Requête refusée : une autre requête au serveur est en cours");
    host_.showWarning(text);
    traceLine(text);
    return true;
}

void ServerLink::beginRequest() {
    lastBadAnswer_.clear();
    if (IdleSeconds > kIdleLimitSeconds) IdHTTP1.Disconnect();
    IdleSeconds = 0;
}

void ServerLink::pause(std::chrono::milliseconds duration) {
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    QEventLoop loop;  // the window keeps answering during the pause
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

void ServerLink::HttpExecute(std::string url, const std::string& resultFile) {
    if (refuseWhileBusy()) return;
    Busy busy(exchanging_);
    url = EncodeUrlBlanks(url + "&idClient=" + host_.openClientId());
    beginRequest();
    traceLine("HttpExecute : " + url + " -> " + resultFile);

    std::string answer;
    bool timedOut = false;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        if (attempt > 1) pause(retryPause);
        HttpResponse response = IdHTTP1.Get(url);
        lastUrl_ = url;
        if (!response.ok) {  // the previous result file stays as it was
            if (response.status != 0) lastBadAnswer_ = response.error;
            host_.showWarning("Exception : " + response.error);
            traceLine("HttpExecute Exception : " + response.error + " [" + response.detail + "]");
            return;
        }
        answer = std::move(response.body);
        timedOut = HasTimeoutMarker(answer);
        if (!timedOut) break;
    }
    // Five time-outs keep their own rule: the last answer is stored and is the warning.
    if (!timedOut && refuseAnswer(url, answer)) return;
    storeAnswer(answer, resultFile, timedOut ? answer : std::string());
}

void ServerLink::HttpExecuteCached(const std::string& url, const std::string& resultFile) {
    lastBadAnswer_.clear();
    const bool forced = ctrlHeld && ctrlHeld();
    std::error_code error;
    const auto written = std::filesystem::last_write_time(resultFile, error);
    if (!forced && !error &&
        written > std::filesystem::file_time_type::clock::now() - cacheAge)
        return;
    HttpExecute(url, resultFile);
}

void ServerLink::HttpPost(const std::string& url, const std::string& resultFile,
                          const MultipartForm& form) {
    if (refuseWhileBusy()) return;
    Busy busy(exchanging_);
    const std::string encoded = EncodeUrlBlanks(url);
    traceLine("HttpPost : " + encoded + " -> " + resultFile);
    beginRequest();
    HttpResponse response = IdHTTP1.Post(ResolveAgainst(lastUrl_, encoded), form);
    if (!response.ok) {
        const std::string failure = " - Erreur de transfert sur le serveur ";
        storeAnswer(failure, resultFile, failure);
        traceLine("HttpPost Exception : " + response.error + " [" + response.detail + "]");
        return;
    }
    if (refuseAnswer(encoded, response.body)) return;
    storeAnswer(response.body, resultFile, std::string());
}

bool ServerLink::refuseAnswer(const std::string& url, const std::string& answer) {
    const std::string problem = AnswerProblem(EndpointOfUrl(url), answer);
    if (problem.empty()) return false;
    lastBadAnswer_ = problem;
    host_.showWarning(problem);
    traceLine("HttpExecute Exception : " + problem + " [" + std::to_string(answer.size()) +
              " octets - " + url + "]");
    return true;
}

void ServerLink::storeAnswer(const std::string& answer, const std::string& resultFile,
                             std::string warning) {
    const std::string stored = RewriteCodePage(answer);
    const ResultFileWrite written = WriteResultFile(resultFile, stored);
    if (!written.ok) {
        host_.showWarning("Exception : " + written.error);
        traceLine("HttpExecute Exception : " + written.error + " [" + written.detail + "]");
        return;
    }
    warning += LogItemsText(stored);
    host_.showWarning(warning);
}

}  // namespace tarmel
