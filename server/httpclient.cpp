// libcurl behind HttpClient: a multi handle drives one easy handle so that the caller's thread
// can keep processing window messages between socket waits; the multi handle owns the kept-alive
// connection, the easy handle the cookies.
#include "server/httpclient.h"

#include <algorithm>
#include <vector>

#include <curl/curl.h>

#include <QCoreApplication>
#include <mutex>

#include "server/answercheck.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

using Clock = std::chrono::steady_clock;

struct Transfer {
    std::string body;
    std::string statusLine;
    bool connected = false;
    bool tooLarge = false;  // the body passed kMaxAnswerBytes and the transfer was stopped
    Clock::time_point lastActivity = Clock::now();
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->body.size() + size * count > kMaxAnswerBytes) {
        transfer->tooLarge = true;
        return 0;  // libcurl stops the transfer: a runaway answer must not take the memory
    }
    transfer->body.append(data, size * count);
    transfer->lastActivity = Clock::now();
    return size * count;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    std::string line(data, size * count);
    if (line.rfind("HTTP/", 0) == 0) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        transfer->statusLine = line;
    }
    transfer->lastActivity = Clock::now();
    return size * count;
}

// What the warning band says when libcurl gives up: what a salesperson can check, nothing more;
// libcurl's own words go to the trace log.
std::string transportMessage(CURLcode code) {
    const char* text;
    switch (code) {
        case CURLE_COULDNT_CONNECT:
            text = "Connexion impossible : le serveur ne répond pas, vérifiez que le serveur de la "
                   "concession est démarré et que le réseau fonctionne.";
            break;
        case CURLE_COULDNT_RESOLVE_HOST:
            text = "Serveur introuvable : vérifiez l'adresse du serveur de la concession et que le "
                   "réseau fonctionne.";
            break;
        case CURLE_COULDNT_RESOLVE_PROXY:
            text = "Proxy introuvable : vérifiez le réglage du proxy et que le réseau fonctionne.";
            break;
        case CURLE_OPERATION_TIMEDOUT:
            text = "Délai de connexion dépassé : le serveur n'a pas répondu à temps, vérifiez que "
                   "le réseau fonctionne.";
            break;
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            text = "Connexion interrompue : la liaison avec le serveur a été coupée, réessayez.";
            break;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            text = "Adresse invalide : l'adresse du serveur de la concession est mal écrite dans "
                   "les réglages.";
            break;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT:
        case CURLE_USE_SSL_FAILED:
            text = "Connexion sécurisée impossible : le serveur n'a pas pu être authentifié, "
                   "prévenez le responsable informatique.";
            break;
        case CURLE_FILESIZE_EXCEEDED:
#if LIBCURL_VERSION_NUM >= 0x080600
        case CURLE_TOO_LARGE:
#endif
            text = "Réponse trop volumineuse : affinez la demande et réessayez.";
            break;
        case CURLE_OUT_OF_MEMORY:
            text = "Mémoire insuffisante pour lire la réponse du serveur : fermez d'autres "
                   "programmes et réessayez.";
            break;
        default:
            text = "Échange avec le serveur impossible : réessayez dans un instant.";
            break;
    }
    return Latin1FromUtf8(text);
}

// A complete answer whose status is not 2xx.
std::string statusMessage(long status) {
    const std::string code = "(" + std::to_string(status) + ").";
    if (status == 401 || status == 403)
        return Latin1FromUtf8("Le serveur a refusé l'accès ") + code;
    if (status == 407) return Latin1FromUtf8("Le proxy a refusé l'accès ") + code;
    if (status == 413 || status == 414 || status == 431)
        return Latin1FromUtf8("Demande trop volumineuse pour le serveur ") + code;
    if (status >= 400) return Latin1FromUtf8("Le serveur a répondu par une erreur ") + code;
    return Latin1FromUtf8("Le serveur a donné une réponse inattendue ") + code;
}

// The connection is there (new or kept alive) and the request is about to go: from now on the
// read time-out counts.
int onConnected(void* user, char*, char*, int, int) {
    auto* transfer = static_cast<Transfer*>(user);
    transfer->connected = true;
    transfer->lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

}  // namespace

struct HttpClient::Handles {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    bool disconnectPending = false;
    ~Handles() {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
    }
};

HttpClient::HttpClient(HttpClientSettings settings)
    : handles_(std::make_unique<Handles>()), settings_(std::move(settings)) {
    globalInit();
    handles_->multi = curl_multi_init();
    handles_->easy = curl_easy_init();
    CURL* e = handles_->easy;
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");  // in-memory cookie engine
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    processEvents = [] {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    };
}

HttpClient::~HttpClient() = default;

void HttpClient::notify(const std::string& text) {
    if (onNotify) onNotify(text);
}

void HttpClient::SetProxy(const std::string& host, int port) {
    proxyHost_ = host;
    proxyPort_ = port;
}

void HttpClient::Disconnect() {
    if (busy_) {  // the transfer in progress owns the connection: drop it once it is done
        handles_->disconnectPending = true;
        return;
    }
    handles_->disconnectPending = false;
    curl_multi_cleanup(handles_->multi);
    handles_->multi = curl_multi_init();
    notify(Latin1FromUtf8("Status : Déconnecté."));
}

HttpResponse HttpClient::Get(const std::string& url) { return perform(url, nullptr); }

HttpResponse HttpClient::Post(const std::string& url, const MultipartForm& form) {
    return perform(url, &form);
}

HttpResponse HttpClient::perform(const std::string& url, const MultipartForm* form) {
    HttpResponse response;
    if (busy_) {
        response.refused = true;
        response.error =
            Latin1FromUtf8("Requête refusée : une autre requête au serveur est en cours");
        response.detail = Latin1FromUtf8("client occupé, rien envoyé - ") + url;
        return response;
    }
    busy_ = true;

    CURL* e = handles_->easy;
    Transfer transfer;
    char detail[CURL_ERROR_SIZE] = {0};
    // Notifications go out once the client is idle again and its buffers are released: a
    // listener that throws (the trace log) must not leave the client busy for good.
    std::vector<std::string> notes;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_USERAGENT, settings_.userAgent.c_str());
    curl_easy_setopt(e, CURLOPT_PROXY, proxyHost_.c_str());
    curl_easy_setopt(e, CURLOPT_PROXYPORT, static_cast<long>(proxyPort_));
    const long connectMs = settings_.readTimeout.count() > 0 ? settings_.readTimeout.count() : 10000;
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, connectMs);

    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, ("Accept: " + settings_.accept).c_str());
    headers = curl_slist_append(headers, "Expect:");
    curl_mime* mime = nullptr;
    if (form) {
        mime = curl_mime_init(e);
        auto addFiles = [&](size_t afterFields) {
            for (const auto& file : form->files) {
                if (std::min(file.afterFields, form->fields.size()) != afterFields) continue;
                curl_mimepart* part = curl_mime_addpart(mime);
                curl_mime_name(part, file.fieldName.c_str());
                curl_mime_filename(part, file.fileName.c_str());
                curl_mime_type(part, file.contentType.c_str());
                curl_mime_data(part, file.bytes.data(), file.bytes.size());
            }
        };
        for (size_t i = 0; i < form->fields.size(); ++i) {
            addFiles(i);
            const auto& field = form->fields[i];
            curl_mimepart* part = curl_mime_addpart(mime);
            curl_mime_name(part, field.name.c_str());
            curl_mime_data(part, field.value.data(), field.value.size());
        }
        addFiles(form->fields.size());
        curl_easy_setopt(e, CURLOPT_MIMEPOST, mime);  // sets the form's own content type
    } else {
        headers = curl_slist_append(headers, ("Content-Type: " + settings_.contentType).c_str());
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);

    curl_multi_add_handle(handles_->multi, e);
    bool readTimedOut = false;
    for (;;) {
        int running = 0;
        curl_multi_perform(handles_->multi, &running);
        if (running == 0) break;
        if (settings_.readTimeout.count() > 0 && transfer.connected &&
            Clock::now() - transfer.lastActivity > settings_.readTimeout) {
            readTimedOut = true;
            break;
        }
        curl_multi_poll(handles_->multi, nullptr, 0, 10, nullptr);
        if (processEvents) processEvents();
    }

    CURLcode code = CURLE_OK;
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(handles_->multi, &pending))
        if (message->msg == CURLMSG_DONE && message->easy_handle == e) code = message->data.result;
    curl_multi_remove_handle(handles_->multi, e);

    long connects = 0;
    curl_easy_getinfo(e, CURLINFO_NUM_CONNECTS, &connects);
    if (connects > 0) {
        connectionsOpened_ += connects;
        char* ip = nullptr;
        long port = 0;
        curl_easy_getinfo(e, CURLINFO_PRIMARY_IP, &ip);
        curl_easy_getinfo(e, CURLINFO_PRIMARY_PORT, &port);
        notes.push_back(Latin1FromUtf8("Status : Connecté à ") + (ip ? ip : "") + ":" +
                        std::to_string(port) + ".");
    }
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &response.status);

    curl_easy_setopt(e, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(headers);
    if (mime) {
        curl_easy_setopt(e, CURLOPT_MIMEPOST, nullptr);
        curl_mime_free(mime);
    }
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, nullptr);

    response.body = std::move(transfer.body);
    if (readTimedOut) {
        response.error = Latin1FromUtf8(
            "Délai de lecture dépassé : le serveur n'a pas répondu à temps, réessayez dans un "
            "instant.");
        response.detail = Latin1FromUtf8("aucune donnée reçue pendant ") +
                          std::to_string(settings_.readTimeout.count()) + " ms - " + url;
    } else if (transfer.tooLarge) {
        response.body.clear();
        response.error = transportMessage(CURLE_FILESIZE_EXCEEDED);
        response.detail = Latin1FromUtf8("réponse coupée au-delà de ") +
                          std::to_string(kMaxAnswerBytes) + " octets - " + url;
    } else if (code != CURLE_OK) {
        response.error = transportMessage(code);
        response.detail = "libcurl " + std::to_string(static_cast<int>(code)) + " : " +
                          (*detail ? detail : curl_easy_strerror(code)) + " - " + url;
    } else if (response.status < 200 || response.status > 299) {
        response.error = statusMessage(response.status);
        response.detail = (transfer.statusLine.empty() ? "HTTP " + std::to_string(response.status)
                                                       : transfer.statusLine) +
                          " - " + url;
        if (response.status == 401) {
            notes.push_back("on IdHTTP1SelectAuthorization");
            notes.push_back("on IdHTTP1Authorization");
        } else if (response.status == 407) {
            notes.push_back("on IdHTTP1SelectProxyAuthorization");
            notes.push_back("on IdHTTP1ProxyAuthorization");
        }
    } else {
        response.ok = true;
    }

    busy_ = false;
    if (handles_->disconnectPending || readTimedOut) Disconnect();
    for (const std::string& note : notes) notify(note);
    return response;
}

}  // namespace tarmel
