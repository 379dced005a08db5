// HttpExecute, HttpExecuteCached and HttpPost against a scripted loopback server: what reaches the
// server byte for byte, the retries on server time-outs, the warning text and the result files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "server/encoders.h"
#include "server/serverlink.h"
#include "server/xml/texttools.h"
#include "tests/support/loopbackresponder.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using namespace std::chrono_literals;
using testsupport::LoopbackResponder;
using testsupport::Answer;
using testsupport::DroppedConnection;
using testsupport::ScriptedAnswer;
using testsupport::SlowAnswer;
using testsupport::readFile;
using testsupport::writeFile;

struct FakeWindow : ExchangeHost {
    std::string client;
    std::vector<std::string> warnings;
    std::string openClientId() const override { return client; }
    void showWarning(const std::string& text) override { warnings.push_back(text); }
    std::string warning() const { return warnings.empty() ? "" : warnings.back(); }
};

class Exchange : public ::testing::Test {
protected:
    Exchange() : link(window) {
        link.trace = [this](const std::string& line) { traces.push_back(line); };
    }
    std::string resultFile(const char* name = "XmlSInf.xml") const { return dir.file(name); }

    testsupport::ScratchDir dir;
    LoopbackResponder server;
    FakeWindow window;
    ServerLink link;
    std::vector<std::string> traces;
};

TEST_F(Exchange, UrlReachesTheServerByteForByte) {
    window.client = "42";
    const std::string sql =
        "Select VO_ID from [tVO - Frevo] where Nom=" + SqlText(Latin1FromUtf8("l'été 10%")) +
        " and Prix>=1+1 and D=#01/02/2009#";
    server.enqueue(Answer("<AXQueryS RowCount=\"0\" EOF=\"1\"></AXQueryS>"));
    link.HttpExecute(server.baseUrl() + "tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + sql,
                     resultFile());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target,
              "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=Select%20VO_ID%20from%20[tVO%20-%20Frevo]"
              "%20where%20Nom='l''\xE9t\xE9%2010%25'%20and%20Prix>=1+1%20and%20D=%2301/02/2009%23"
              "&idClient=42");
    EXPECT_EQ(window.warning(), "");
}

TEST_F(Exchange, EveryGetCarriesTheOpenClientEvenWhenEmpty) {
    link.HttpExecute(server.baseUrl() + "AxInfoEquip?UserConcession=A", resultFile());
    EXPECT_EQ(server.requests().at(0).target, "/AxInfoEquip?UserConcession=A&idClient=");
}

TEST_F(Exchange, RequestHeadersOfTheMainClient) {
    ScriptedAnswer withCookie = Answer("<a/>");
    withCookie.headers = "Set-Cookie: session=abc; Path=/\r\n";
    server.enqueue(withCookie);
    link.HttpExecute(server.baseUrl() + "A?x=1", resultFile());
    link.HttpExecute(server.baseUrl() + "B?x=1", resultFile());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& head = requests[1].head;
    EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("\r\nAccept: text/html, */*\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nContent-Type: text/html\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nCookie: session=abc\r\n"), std::string::npos) << head;
    EXPECT_EQ(server.connections(), 1) << "the connection is kept alive";
}

TEST_F(Exchange, FiveTimeoutAnswersGiveFiveTriesAndTheLastAnswerAsWarning) {
    const char* answers[] = {"WAIT_TIMEOUT 1", "wait_timeout 2", "Wait_Timeout 3",
                             "<a><![CDATA[timeout]]></a> 4", "WAIT_TIMEOUT 5"};
    for (const char* answer : answers) server.enqueue(Answer(answer));
    server.enqueue(Answer("<never/>"));
    link.HttpExecute(server.baseUrl() + "AxQuery?SQL=x", resultFile());

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 5u);
    for (size_t i = 1; i < requests.size(); ++i)
        EXPECT_GE(requests[i].at - requests[i - 1].at, 240ms) << "pause before try " << i + 1;
    EXPECT_EQ(readFile(resultFile()), "WAIT_TIMEOUT 5");
    EXPECT_EQ(window.warning(), "WAIT_TIMEOUT 5");
}

TEST_F(Exchange, TimeoutThenNormalAnswer) {
    const std::string note = "<AXQueryS><LogItems><LogItem>note</LogItem></LogItems></AXQueryS>";
    for (int timeouts : {1, 4}) {
        for (int i = 0; i < timeouts; ++i) server.enqueue(Answer("WAIT_TIMEOUT"));
        server.enqueue(Answer(note));
        const size_t before = server.requests().size();
        link.HttpExecute(server.baseUrl() + "AxQuery?SQL=x", resultFile());
        EXPECT_EQ(server.requests().size() - before, size_t(timeouts + 1));
        EXPECT_EQ(window.warning(), "note - ") << "only the normal answer's log items";
        EXPECT_EQ(readFile(resultFile()), note);
    }
}

TEST_F(Exchange, AnswerStoredWithLogItemsAndCodePageRewritten) {
    const std::string answer =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><AXExecute><OutParams><NewID>7</NewID>"
        "</OutParams><LogItems><LogItem>un</LogItem><LogItem>deux</LogItem><LogItem>trois"
        "</LogItem></LogItems></AXExecute>";
    server.enqueue(Answer(answer));
    link.HttpExecute(server.baseUrl() + "AxUpdate?SQLExecute=x", resultFile("XmlAXUpdate.xml"));
    EXPECT_EQ(window.warning(), "un - deux - trois - ");
    std::string expected = answer;
    expected.replace(expected.find("8859-15"), 7, "8859-1");
    EXPECT_EQ(readFile(resultFile("XmlAXUpdate.xml")), expected);
}

// A loopback port that refuses connections: bound, so nobody else takes it, but not listening.
class RefusingPort {
public:
    RefusingPort() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(socket_); }
    int port() const { return port_; }

    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        return address;
    }

protected:
    int socket_ = -1;
    int port_ = 0;
};

// A loopback port whose queue of connections waiting to be accepted is full: a new connection is
// never completed, as with a server machine that has stopped answering.
class UnansweringPort : public RefusingPort {
public:
    UnansweringPort() {
        ::listen(socket_, 0);
        for (int& filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            const sockaddr_in address = loopback(port_);
            ::connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        std::this_thread::sleep_for(50ms);
    }
    ~UnansweringPort() {
        for (int filler : fillers_) ::close(filler);
    }

private:
    int fillers_[3] = {-1, -1, -1};
};

// Accepts one connection and answers in plain text whatever it is sent: a client expecting TLS
// fails its handshake.
class PlainTextPort : public RefusingPort {
public:
    PlainTextPort() {
        ::listen(socket_, 4);
        thread_ = std::thread([this] {
            const int connection = ::accept(socket_, nullptr, nullptr);
            if (connection < 0) return;
            const std::string answer = "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n";
            ::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
            char buffer[4096];
            while (::recv(connection, buffer, sizeof buffer, 0) > 0) {
            }
            ::close(connection);
        });
    }
    ~PlainTextPort() {
        ::shutdown(socket_, SHUT_RDWR);
        thread_.join();
    }

private:
    std::thread thread_;
};

TEST_F(Exchange, FailuresGiveAFrenchWarningAndTheDetailGoesToTheTrace) {
    link.IdHTTP1.SetReadTimeout(300ms);
    RefusingPort refusing;
    UnansweringPort unanswering;
    PlainTextPort plainText;
    const std::string refusingUrl =
        "http://127.0.0.1:" + std::to_string(refusing.port()) + "/AxQuery?SQL=x";
    const std::string unansweringUrl =
        "http://127.0.0.1:" + std::to_string(unanswering.port()) + "/AxQuery?SQL=x";
    const std::string secureUrl =
        "https://127.0.0.1:" + std::to_string(plainText.port()) + "/AxQuery?SQL=x";
    const std::string answeredUrl = server.baseUrl() + "AxQuery?SQL=x";
    const struct {
        const char* name;
        std::string url;
        std::vector<ScriptedAnswer> answers;
        std::string warning;
        std::vector<std::string> detail;  // each one is in the trace line
    } cases[] = {
        {"refused connection", refusingUrl, {},
         "Connexion impossible : le serveur ne r\xE9pond pas, v\xE9rifiez que le serveur de la "
         "concession est d\xE9marr\xE9 et que le r\xE9seau fonctionne.",
         {"libcurl 7 : ", "Failed to connect", std::to_string(refusing.port()), refusingUrl}},
        {"unknown host", "http://concession.invalid:8642/AxQuery?SQL=x", {},
         "Serveur introuvable : v\xE9rifiez l'adresse du serveur de la concession et que le "
         "r\xE9seau fonctionne.",
         {"libcurl 6 : ", "concession.invalid"}},
        {"connection never completed", unansweringUrl, {},
         "D\xE9lai de connexion d\xE9pass\xE9 : le serveur n'a pas r\xE9pondu \xE0 temps, "
         "v\xE9rifiez que le r\xE9seau fonctionne.",
         {"libcurl 28 : ", unansweringUrl}},
        {"no answer", answeredUrl, {SlowAnswer("<late/>", 60s)},
         "D\xE9lai de lecture d\xE9pass\xE9 : le serveur n'a pas r\xE9pondu \xE0 temps, "
         "r\xE9""essayez dans un instant.",
         {"aucune donn\xE9""e re\xE7ue pendant 300 ms", answeredUrl}},
        {"dropped connection", answeredUrl, {DroppedConnection()},
         "Connexion interrompue : la liaison avec le serveur a \xE9t\xE9 coup\xE9""e, "
         "r\xE9""essayez.",
         {"libcurl 52 : ", answeredUrl}},
        {"server error status", answeredUrl, {Answer("<oops/>", 500)},
         "Le serveur a r\xE9pondu par une erreur (500).",
         {"HTTP/1.1 500 Internal Server Error - " + answeredUrl}},
        {"unknown page", answeredUrl, {Answer("<none/>", 404)},
         "Le serveur a r\xE9pondu par une erreur (404).",
         {"HTTP/1.1 404 Not Found - " + answeredUrl}},
        {"request line too long", answeredUrl, {Answer("", 414)},
         "Demande trop volumineuse pour le serveur (414).", {"HTTP/1.1 414"}},
        {"access refused", answeredUrl, {Answer("", 401)},
         "Le serveur a refus\xE9 l'acc\xE8s (401).", {"HTTP/1.1 401 Unauthorized"}},
        {"secure connection to a plain server", secureUrl, {},
         "Connexion s\xE9""curis\xE9""e impossible : le serveur n'a pas pu \xEAtre "
         "authentifi\xE9, pr\xE9venez le responsable informatique.",
         {"libcurl 35 : ", secureUrl}},
        {"unknown scheme", "htp://127.0.0.1:8642/AxQuery?SQL=x", {},
         "Adresse invalide : l'adresse du serveur de la concession est mal \xE9""crite dans les "
         "r\xE9glages.",
         {"libcurl 1 : ", "htp://127.0.0.1:8642/"}},
    };
    for (const auto& c : cases) {
        writeFile(resultFile(), "previous");
        for (const auto& answer : c.answers) server.enqueue(answer);
        link.IdHTTP1.Disconnect();  // a fresh connection: libcurl retries none of these requests
        const size_t tracesBefore = traces.size();
        link.HttpExecute(c.url, resultFile());

        EXPECT_EQ(window.warning(), "Exception : " + c.warning) << c.name;
        EXPECT_EQ(readFile(resultFile()), "previous") << c.name;
        const auto failures = std::count_if(
            traces.begin() + tracesBefore, traces.end(),
            [](const std::string& line) { return line.rfind("HttpExecute Exception : ", 0) == 0; });
        EXPECT_EQ(failures, 1) << c.name;
        const std::string& line = traces.back();
        EXPECT_EQ(line.rfind("HttpExecute Exception : " + c.warning + " [", 0), 0u)
            << c.name << ": " << line;
        for (const std::string& part : c.detail)
            EXPECT_NE(line.find(part), std::string::npos) << c.name << ": " << line;
        for (const char* technical : {"libcurl", "127.0.0.1", "HTTP", "http", "ms", "Failed"})
            EXPECT_EQ(window.warning().find(technical), std::string::npos) << c.name;
    }
}

TEST_F(Exchange, ReadTimeoutOnAKeptAliveConnection) {
    link.IdHTTP1.SetReadTimeout(300ms);
    link.HttpExecute(server.baseUrl() + "A?x", resultFile());
    server.enqueue(SlowAnswer("<late/>", 60s));
    link.HttpExecute(server.baseUrl() + "B?x", resultFile());
    EXPECT_EQ(server.connections(), 1);
    EXPECT_EQ(window.warning(),
              "Exception : D\xE9lai de lecture d\xE9pass\xE9 : le serveur n'a pas r\xE9pondu \xE0 "
              "temps, r\xE9""essayez dans un instant.");
}

TEST_F(Exchange, FailedPostTracesTheDetail) {
    link.HttpExecute(server.baseUrl() + "AxInfoVO?idTVO=1", resultFile());
    server.enqueue(Answer("<oops/>", 500));
    link.HttpPost("AxInsert", resultFile("XmlAXInsert.xml"), MultipartForm{});
    EXPECT_EQ(traces.back(), "HttpPost Exception : Le serveur a r\xE9pondu par une erreur (500). "
                             "[HTTP/1.1 500 Internal Server Error - " +
                                 server.baseUrl() + "AxInsert]");
}

TEST_F(Exchange, UnwritableResultFileIsReported) {
    server.enqueue(Answer("<a/>"));
    const std::string path = dir.file("missing-folder/XmlVO.xml");
    link.HttpExecute(server.baseUrl() + "A?x", path);
    EXPECT_EQ(window.warning(),
              "Exception : Impossible d'\xE9""crire le fichier de r\xE9ponse : le dossier de "
              "travail est introuvable.");
    EXPECT_EQ(traces.back(),
              "HttpExecute Exception : Impossible d'\xE9""crire le fichier de r\xE9ponse : le "
              "dossier de travail est introuvable. [" +
                  path + " : " + std::strerror(ENOENT) + "]");
}

TEST_F(Exchange, IdleConnectionIsDroppedAfter300Seconds) {
    link.HttpExecute(server.baseUrl() + "A?x", resultFile());
    link.IdleSeconds = 300;
    link.HttpExecute(server.baseUrl() + "A?x", resultFile());
    EXPECT_EQ(server.connections(), 1) << "300 idle seconds keep the connection";
    EXPECT_EQ(link.IdleSeconds, 0);
    link.IdleSeconds = 301;
    link.HttpExecute(server.baseUrl() + "A?x", resultFile());
    EXPECT_EQ(server.connections(), 2) << "past 300 the connection is dropped first";
    EXPECT_EQ(server.requests().back().connection, 2);
    link.IdHTTP1.Disconnect();
    link.HttpExecute(server.baseUrl() + "A?x", resultFile());
    EXPECT_EQ(server.connections(), 3) << "dropped on request";
}

TEST_F(Exchange, EventLoopRunsDuringASlowRequestAndASecondRequestIsRefused) {
    server.enqueue(SlowAnswer("<slow/>", 600ms));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QTimer::singleShot(100, [&] { link.HttpExecute(server.baseUrl() + "Nested?x", resultFile()); });
    link.HttpExecute(server.baseUrl() + "Slow?x", resultFile());
    ticker.stop();

    EXPECT_GE(ticks, 10) << "the timer kept ticking while the request waited";
    ASSERT_EQ(server.requests().size(), 1u) << "the nested request never reached the server";
    EXPECT_EQ(window.warnings.front().rfind("Requ\xEAte refus\xE9""e", 0), 0u);
    EXPECT_EQ(readFile(resultFile()), "<slow/>");
    EXPECT_EQ(window.warning(), "");
}

TEST_F(Exchange, TraceLines) {
    link.HttpExecute(server.baseUrl() + "A?x y", resultFile());
    ASSERT_FALSE(traces.empty());
    EXPECT_NE(std::find(traces.begin(), traces.end(),
                        "HttpExecute : " + server.baseUrl() + "A?x%20y&idClient= -> " +
                            resultFile()),
              traces.end());
}

TEST_F(Exchange, ProxyCarriesTheRequest) {
    link.SetProxy("127.0.0.1", server.port());
    link.HttpExecute("http://dealer.invalid/tarmel/AxQuery?SQL=a", resultFile());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "http://dealer.invalid/tarmel/AxQuery?SQL=a&idClient=");
}

TEST_F(Exchange, CachedAnswerYoungerThan12HoursIsKept) {
    namespace fs = std::filesystem;
    const std::string fresh = "<axStructS><axStruct><idNum>0</idNum></axStruct></axStructS>";
    bool ctrl = false;
    link.ctrlHeld = [&] { return ctrl; };
    const struct {
        const char* name;
        int hoursOld;
        bool ctrlHeld;
        bool fetches;
    } cases[] = {
        {"11 hours old", 11, false, false},
        {"13 hours old", 13, false, true},
        {"11 hours old, Ctrl held", 11, true, true},
    };
    for (const auto& c : cases) {
        writeFile(resultFile("XmlStruct.xml"), "cached");
        fs::last_write_time(resultFile("XmlStruct.xml"),
                            fs::file_time_type::clock::now() - std::chrono::hours(c.hoursOld));
        ctrl = c.ctrlHeld;
        server.enqueue(Answer(fresh));
        const size_t before = server.requests().size();
        link.HttpExecuteCached(server.baseUrl() + "AxInfoStruct?x", resultFile("XmlStruct.xml"));
        EXPECT_EQ(server.requests().size() - before, c.fetches ? 1u : 0u) << c.name;
        EXPECT_EQ(readFile(resultFile("XmlStruct.xml")), c.fetches ? fresh : "cached") << c.name;
    }
    std::filesystem::remove(resultFile("XmlNew.xml"));
    server.enqueue(Answer(fresh));
    link.HttpExecuteCached(server.baseUrl() + "AxInfoStruct?x", resultFile("XmlNew.xml"));
    EXPECT_FALSE(readFile(resultFile("XmlNew.xml")).empty()) << "no file: fetched";
}

TEST_F(Exchange, PostGoesBesideThePreviousRequest) {
    link.HttpExecute(server.baseUrl() + "tarmel/AxInfoVO?idTVO=1", resultFile());
    MultipartForm form;
    form.fields = {{"NFImage", "12_1.jpg"}, {"SQLExecute", "Insert into x values (1)"}};
    form.files = {{"File", "12_1.jpg", "image/jpeg", std::string("\xFF\xD8\x00\x01", 4)}};
    const std::string inserted = "<AXExecute><OutParams><NewID>5</NewID></OutParams></AXExecute>";
    server.enqueue(Answer(inserted));
    link.HttpPost("AxInsert", resultFile("XmlAXInsert.xml"), form);

    const auto post = server.requests().back();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.target, "/tarmel/AxInsert") << "no idClient on a POST";
    EXPECT_NE(post.head.find("Content-Type: multipart/form-data; boundary="), std::string::npos);
    EXPECT_NE(post.body.find("name=\"NFImage\"\r\n\r\n12_1.jpg\r\n"), std::string::npos);
    const std::string filePart = "filename=\"12_1.jpg\"\r\nContent-Type: image/jpeg\r\n\r\n" +
                                 std::string("\xFF\xD8\x00\x01", 4) + "\r\n--";
    EXPECT_NE(post.body.find(filePart), std::string::npos);
    EXPECT_EQ(readFile(resultFile("XmlAXInsert.xml")), inserted);
    EXPECT_EQ(window.warning(), "");
}

TEST_F(Exchange, FailedPostStoresAndShowsTheTransferError) {
    link.HttpExecute(server.baseUrl() + "AxInfoVO?idTVO=1", resultFile());
    server.enqueue(DroppedConnection());
    server.enqueue(DroppedConnection());
    link.HttpPost("AxInsert", resultFile("XmlAXInsert.xml"), MultipartForm{});
    EXPECT_EQ(readFile(resultFile("XmlAXInsert.xml")), " - Erreur de transfert sur le serveur ");
    EXPECT_EQ(window.warning(), " - Erreur de transfert sur le serveur ");
}

}  // namespace
}  // namespace tarmel
