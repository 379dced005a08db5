// The upload of a linked photo and its miniature to the photo FTP server, and the reading of that
// server's settings. Plain C++ over libcurl; every text here is UTF-8.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tarmel::photos {

// The remote folder, under the account's root, that the images address serves.
inline constexpr const char* kPhotoFtpFolder = "www/voimages";

// Where the photos go and as whom. Comes from the settings file, never from the source code.
struct FtpSettings {
    std::string host;      // where the connection goes: the FTP host, or the gateway
    int port = 21;         // of that host
    std::string user;      // the account, or "account@ftphost" through the gateway
    std::string password;  // the account's password
    bool viaGateway = false;
    // A server that does not answer the connection, stops sending during a transfer or never
    // opens the data connection in active mode gives up after these, not for ever.
    std::chrono::seconds connectTimeout{10};
    std::chrono::seconds stallTimeout{30};
};

// The settings file's values, as read (keys PhotoFtpServer, PhotoFtpUser, PhotoFtpPassword,
// PhotoFtpGateway), with the client's proxy setting.
struct PhotoFtpValues {
    std::string server;  // "host" or "host:port" (port 21 when absent)
    std::string user;
    std::string password;
    std::string gateway;  // "host" or "host:port"; used only when proxy is not empty
    std::string proxy;    // the client's proxy setting; not empty: go through the gateway
};

struct FtpSettingsResult {
    bool ok = false;
    FtpSettings settings;  // meaningful when ok
    std::string error;     // when !ok: one French sentence for the user
};

// Spaces around a value are ignored. A missing host, or a port that is not a whole number in
// 1..65535, is an error. With a proxy and a gateway the connection goes to the gateway, logging in
// as "account@host" (the host name alone: a port given in PhotoFtpServer does not reach the
// gateway). A proxy without a gateway leaves the connection direct: the HTTP proxy itself does not
// carry FTP, and a direct attempt at least reports the real failure.
FtpSettingsResult FtpSettingsFrom(const PhotoFtpValues& values);

struct FtpUploadResult {
    bool ok = false;
    int filesSent = 0;   // files stored completely, in the given order
    std::string error;   // when !ok: one French sentence for the user
    std::string detail;  // when !ok: for the trace log (libcurl's code and text, the address)
};

// Stores each local file, in order, into kPhotoFtpFolder under its own file name, over one
// connection, in binary mode and active mode (the server connects back to the address of the
// control connection). Every file is opened before the connection is made, so a missing file
// sends nothing; the first failed transfer stops the rest. The remote folder must exist: it is not
// created. The environment's proxy variables are not used. Blocks until done or timed out.
FtpUploadResult UploadPhotos(const FtpSettings& settings,
                             const std::vector<std::string>& localFiles);

}  // namespace tarmel::photos
