// The photo FTP upload over one libcurl easy handle (which keeps the control connection between
// files), and the photo server's settings read from the settings file's values.
#include "photos/ftpupload.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>

namespace tarmel::photos {

namespace {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

struct HostPort {
    bool ok = false;
    std::string host;
    int port = 21;
};

// "host" or "host:port"; the port a whole number in 1..65535.
HostPort SplitHostPort(const std::string& text) {
    HostPort result;
    const auto colon = text.rfind(':');
    result.host = Trimmed(text.substr(0, colon));
    if (result.host.empty()) return result;
    if (colon != std::string::npos) {
        const std::string port = Trimmed(text.substr(colon + 1));
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != port.npos)
            return result;
        result.port = std::stoi(port);
        if (result.port < 1 || result.port > 65535) return result;
    }
    result.ok = true;
    return result;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

size_t ReadFromFile(char* buffer, size_t size, size_t count, void* user) {
    return std::fread(buffer, size, count, static_cast<std::FILE*>(user));
}

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

std::string Quoted(const std::string& name) {
    return "« " + name + " »";
}

// What the user reads: what can be checked or retried, nothing more; libcurl's own words go to
// the detail.
std::string FailureSentence(CURLcode code, const std::string& fileName, bool answered) {
    switch (code) {
        case CURLE_LOGIN_DENIED:
            return "Le serveur de photos a refusé l'identification.";
        case CURLE_COULDNT_CONNECT:
        case CURLE_COULDNT_RESOLVE_HOST:
            return "Le serveur de photos ne répond pas.";
        case CURLE_OPERATION_TIMEDOUT:
            if (!answered) return "Le serveur de photos ne répond pas.";
            break;
        case CURLE_REMOTE_ACCESS_DENIED:  // the folder change was refused
            return std::string("Le dossier ") + Quoted(kPhotoFtpFolder) +
                   " est introuvable sur le serveur de photos.";
        default:
            break;
    }
    return "Le transfert de la photo " + Quoted(fileName) + " a échoué.";
}

}  // namespace

FtpSettingsResult FtpSettingsFrom(const PhotoFtpValues& values) {
    FtpSettingsResult result;
    const HostPort server = SplitHostPort(Trimmed(values.server));
    if (!server.ok) {
        result.error = Trimmed(values.server).empty()
                           ? "Le serveur de photos n'est pas réglé (PhotoFtpServer)."
                           : "Le réglage du serveur de photos (PhotoFtpServer) est mal écrit.";
        return result;
    }
    FtpSettings& s = result.settings;
    s.host = server.host;
    s.port = server.port;
    s.user = Trimmed(values.user);
    s.password = values.password;  // spaces may belong to a password
    if (!Trimmed(values.proxy).empty() && !Trimmed(values.gateway).empty()) {
        const HostPort gateway = SplitHostPort(Trimmed(values.gateway));
        if (!gateway.ok) {
            result.error = "Le réglage de la passerelle FTP (PhotoFtpGateway) est mal écrit.";
            return result;
        }
        s.viaGateway = true;
        s.host = gateway.host;
        s.port = gateway.port;
        s.user += "@" + server.host;
    }
    result.ok = true;
    return result;
}

FtpUploadResult UploadPhotos(const FtpSettings& settings,
                             const std::vector<std::string>& localFiles) {
    FtpUploadResult result;
    struct Upload {
        File file;
        std::string name;
        curl_off_t size = 0;
    };
    std::vector<Upload> uploads;
    for (const std::string& path : localFiles) {
        Upload upload;
        upload.name = std::filesystem::path(path).filename().string();
        upload.file.reset(std::fopen(path.c_str(), "rb"));
        const int openError = errno;
        std::error_code sizeError;
        const auto size = std::filesystem::file_size(path, sizeError);
        if (!upload.file || sizeError) {
            result.error =
                "La photo " + Quoted(upload.name) + " est introuvable dans le dossier de travail.";
            result.detail =
                std::string(upload.file ? sizeError.message() : std::strerror(openError)) + " - " +
                path;
            return result;
        }
        upload.size = static_cast<curl_off_t>(size);
        uploads.push_back(std::move(upload));
    }

    globalInit();
    std::unique_ptr<CURL, EasyCleanup> handle(curl_easy_init());
    CURL* e = handle.get();
    if (e == nullptr) {
        result.error = "Le transfert des photos n'a pas pu commencer (mémoire insuffisante).";
        result.detail = "curl_easy_init a échoué";
        return result;
    }
    char curlText[CURL_ERROR_SIZE] = {0};
    const long stallSeconds = static_cast<long>(settings.stallTimeout.count());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, curlText);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROXY, "");  // no ftp_proxy / all_proxy behind our back
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "ftp");
#endif
    curl_easy_setopt(e, CURLOPT_USERNAME, settings.user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, settings.password.c_str());
    curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 0L);  // TYPE I: the JPEG bytes as they are
    curl_easy_setopt(e, CURLOPT_FTPPORT, "-");      // active, on the control connection's address
    curl_easy_setopt(e, CURLOPT_FTP_CREATE_MISSING_DIRS,
                     static_cast<long>(CURLFTP_CREATE_DIR_NONE));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(settings.connectTimeout.count()));
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds);
    curl_easy_setopt(e, CURLOPT_ACCEPTTIMEOUT_MS, stallSeconds * 1000L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(e, CURLOPT_READFUNCTION, ReadFromFile);

    const bool bracketed = settings.host.find(':') != std::string::npos;  // an IPv6 address
    const std::string folderUrl = "ftp://" +
                                  (bracketed ? "[" + settings.host + "]" : settings.host) + ":" +
                                  std::to_string(settings.port) + "/" + kPhotoFtpFolder + "/";
    bool answered = false;  // the server sent a reply (its greeting at least)
    for (Upload& upload : uploads) {
        char* escaped =
            curl_easy_escape(e, upload.name.c_str(), static_cast<int>(upload.name.size()));
        const std::string url = folderUrl + (escaped ? escaped : "");
        curl_free(escaped);
        curl_easy_setopt(e, CURLOPT_URL, url.c_str());
        curl_easy_setopt(e, CURLOPT_READDATA, upload.file.get());
        curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, upload.size);
        curlText[0] = '\0';
        const CURLcode code = curl_easy_perform(e);
        long ftpCode = 0;
        curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &ftpCode);
        answered = answered || ftpCode > 0;
        if (code != CURLE_OK) {
            result.error = FailureSentence(code, upload.name, answered);
            result.detail = "libcurl " + std::to_string(static_cast<int>(code)) + " : " +
                            (*curlText ? curlText : curl_easy_strerror(code)) + " - " + url +
                            (settings.viaGateway ? " (passerelle)" : "");
            return result;
        }
        ++result.filesSent;
    }
    result.ok = true;
    return result;
}

}  // namespace tarmel::photos
