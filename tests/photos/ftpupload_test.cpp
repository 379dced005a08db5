// The photo FTP upload against a real FTP server (pyftpdlib), the photo server's settings, and
// an uploaded photo served by the real data server at its images address.
#include "photos/ftpupload.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/dataserverprocess.h"
#include "tests/support/ftpserverprocess.h"
#include "tests/support/scratchdir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using tarmel::photos::FtpSettings;
using tarmel::photos::FtpSettingsFrom;
using tarmel::photos::PhotoFtpValues;
using tarmel::photos::UploadPhotos;
using tarmel::testsupport::FtpServerProcess;
using tarmel::testsupport::readFile;
using tarmel::testsupport::ScratchDir;
using tarmel::testsupport::writeFile;

// Bytes that a text-mode transfer would change (line ends, a lone CR, a NUL, high bytes).
std::string PictureBytes(char seed, size_t size) {
    std::string bytes = "\xFF\xD8\xFF\xE0\r\n\n\r\0"s;
    for (size_t i = 0; bytes.size() < size; ++i) bytes += static_cast<char>(seed + i * 7);
    return bytes;
}

FtpSettings SettingsFor(const FtpServerProcess& server) {
    FtpSettings settings;
    settings.host = server.host();
    settings.port = server.port();
    settings.user = server.user();
    settings.password = server.password();
    return settings;
}

size_t CountOf(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

// An FTP root with the photo folder, a working folder with a photo and its miniature.
struct UploadFixture {
    ScratchDir root;
    ScratchDir work;
    std::string remoteFolder = root.str() + "/www/voimages";
    std::vector<std::string> files = {work.file("VO 1001 été.jpg"), work.file("VO 1001 étém.jpg")};

    explicit UploadFixture(bool withRemoteFolder = true) {
        if (withRemoteFolder) fs::create_directories(remoteFolder);
        writeFile(files[0], PictureBytes('a', 640 * 48));
        writeFile(files[1], PictureBytes('m', 900));
    }
    bool remoteFolderIsEmpty() const {
        return !fs::exists(remoteFolder) || fs::is_empty(remoteFolder);
    }
};

TEST(FtpUpload, BothFilesLandByteIdenticalOverOneLogin) {
    UploadFixture f;
    FtpServerProcess server(f.root.str());
    const auto result = UploadPhotos(SettingsFor(server), f.files);
    ASSERT_TRUE(result.ok) << result.error << " / " << result.detail << "\n" << server.log();
    EXPECT_EQ(result.filesSent, 2);
    for (const std::string& file : f.files) {
        const std::string remote = f.remoteFolder + "/" + fs::path(file).filename().string();
        SCOPED_TRACE(remote);
        ASSERT_TRUE(fs::exists(remote));
        EXPECT_EQ(readFile(remote), readFile(file));
    }
    // One connection, active mode (the server connects back), binary type.
    const std::string log = server.log();
    EXPECT_EQ(CountOf(log, "logged in"), 1u) << log;
    EXPECT_EQ(CountOf(log, "<- EPRT ") + CountOf(log, "<- PORT "), 2u) << log;
    EXPECT_EQ(CountOf(log, "<- PASV") + CountOf(log, "<- EPSV"), 0u) << log;
    EXPECT_NE(log.find("<- TYPE I"), std::string::npos) << log;
}

TEST(FtpUpload, AWrongPasswordIsARefusedLoginAndSendsNothing) {
    UploadFixture f;
    FtpServerProcess server(f.root.str());
    FtpSettings settings = SettingsFor(server);
    settings.password += "x";
    const auto result = UploadPhotos(settings, f.files);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Le serveur de photos a refusé l'identification.");
    EXPECT_NE(result.detail.find("libcurl 67"), std::string::npos) << result.detail;
    EXPECT_EQ(result.filesSent, 0);
    EXPECT_TRUE(f.remoteFolderIsEmpty());
}

TEST(FtpUpload, APortWhereNothingAnswersIsAServerThatDoesNotAnswer) {
    // A socket bound and not listening holds the port, so that connecting is refused at once; a
    // listening one that never accepts lets the connection in and never greets: the time limits
    // end the wait.
    struct Case {
        bool listening;
        const char* code;
    } cases[] = {{false, "libcurl 7 "}, {true, "libcurl 28 "}};
    UploadFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listening ? "listening" : "bound");
        const int holder = socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(holder, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        if (c.listening) {
            ASSERT_EQ(listen(holder, 4), 0);
        }
        socklen_t length = sizeof address;
        ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);

        FtpSettings settings;
        settings.host = "127.0.0.1";
        settings.port = ntohs(address.sin_port);
        settings.user = "jean";
        settings.password = "secret";
        settings.connectTimeout = std::chrono::seconds(1);
        settings.stallTimeout = std::chrono::seconds(1);
        const auto result = UploadPhotos(settings, f.files);
        close(holder);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "Le serveur de photos ne répond pas.");
        EXPECT_NE(result.detail.find(c.code), std::string::npos) << result.detail;
    }
}

TEST(FtpUpload, AMissingRemoteFolderIsNamedAndNotCreated) {
    UploadFixture f(/*withRemoteFolder=*/false);
    FtpServerProcess server(f.root.str());
    const auto result = UploadPhotos(SettingsFor(server), f.files);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              "Le dossier « www/voimages » est introuvable sur le serveur de photos.");
    EXPECT_FALSE(fs::exists(f.root.str() + "/www"));
}

TEST(FtpUpload, AMissingLocalFileSendsNoneOfTheFiles) {
    UploadFixture f;
    FtpServerProcess server(f.root.str());
    fs::remove(f.files[1]);
    const auto result = UploadPhotos(SettingsFor(server), f.files);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              "La photo « VO 1001 étém.jpg » est introuvable dans le dossier de "
              "travail.");
    EXPECT_TRUE(f.remoteFolderIsEmpty());
    EXPECT_EQ(CountOf(server.log(), "logged in"), 0u) << server.log();
}

TEST(FtpSettings, ComeFromTheSettingsValues) {
    struct Case {
        PhotoFtpValues values;
        bool ok;
        const char* host;
        int port;
        const char* user;
        bool viaGateway;
        const char* error;
    } cases[] = {
        {{"photos.garage.fr", "jean", "pw", "", ""},
         true,
         "photos.garage.fr",
         21,
         "jean",
         false,
         ""},
        {{" photos.garage.fr:2121 ", "jean", "pw", "", ""},
         true,
         "photos.garage.fr",
         2121,
         "jean",
         false,
         ""},
        // Through the gateway: the gateway's address, the FTP host in the user name.
        {{"photos.garage.fr", "jean", "pw", "gw.garage.fr", "proxy:3128"},
         true,
         "gw.garage.fr",
         21,
         "jean@photos.garage.fr",
         true,
         ""},
        {{"photos.garage.fr:2121", "jean", "pw", "gw.garage.fr:2100", "proxy:3128"},
         true,
         "gw.garage.fr",
         2100,
         "jean@photos.garage.fr",
         true,
         ""},
        // A gateway without a proxy is not used; a proxy without a gateway has none to use.
        {{"photos.garage.fr", "jean", "pw", "gw.garage.fr", ""},
         true,
         "photos.garage.fr",
         21,
         "jean",
         false,
         ""},
        {{"photos.garage.fr", "jean", "pw", "", "proxy:3128"},
         true,
         "photos.garage.fr",
         21,
         "jean",
         false,
         ""},
        {{"", "jean", "pw", "", ""},
         false,
         "",
         0,
         "",
         false,
         "Le serveur de photos n'est pas réglé (PhotoFtpServer)."},
        {{"  ", "jean", "pw", "gw.garage.fr", "proxy:3128"},
         false,
         "",
         0,
         "",
         false,
         "Le serveur de photos n'est pas réglé (PhotoFtpServer)."},
        {{":21", "jean", "pw", "", ""},
         false,
         "",
         0,
         "",
         false,
         "Le réglage du serveur de photos (PhotoFtpServer) est mal écrit."},
        {{"photos.garage.fr:ftp", "jean", "pw", "", ""},
         false,
         "",
         0,
         "",
         false,
         "Le réglage du serveur de photos (PhotoFtpServer) est mal écrit."},
        {{"photos.garage.fr:0", "jean", "pw", "", ""},
         false,
         "",
         0,
         "",
         false,
         "Le réglage du serveur de photos (PhotoFtpServer) est mal écrit."},
        {{"photos.garage.fr:65536", "jean", "pw", "", ""},
         false,
         "",
         0,
         "",
         false,
         "Le réglage du serveur de photos (PhotoFtpServer) est mal écrit."},
        {{"photos.garage.fr", "jean", "pw", "gw.garage.fr:", "proxy:3128"},
         false,
         "",
         0,
         "",
         false,
         "Le réglage de la passerelle FTP (PhotoFtpGateway) est mal écrit."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("server=" + c.values.server + " gateway=" + c.values.gateway +
                     " proxy=" + c.values.proxy);
        const auto result = FtpSettingsFrom(c.values);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.error, c.error);
        if (!c.ok) continue;
        EXPECT_EQ(result.settings.host, c.host);
        EXPECT_EQ(result.settings.port, c.port);
        EXPECT_EQ(result.settings.user, c.user);
        EXPECT_EQ(result.settings.password, "pw");
        EXPECT_EQ(result.settings.viaGateway, c.viaGateway);
    }
}

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

TEST(FtpUpload, AnUploadedPhotoIsServedAtTheImagesAddress) {
    tarmel::testsupport::DataServerProcess dataServer;
    FtpServerProcess ftp(dataServer.ftpRoot());
    ScratchDir work;
    const std::string photo = work.file("VO1001-ftp.jpg");
    writeFile(photo, PictureBytes('p', 5000));
    const auto upload = UploadPhotos(SettingsFor(ftp), {photo});
    ASSERT_TRUE(upload.ok) << upload.error << " / " << upload.detail << "\n" << ftp.log();

    CURL* e = curl_easy_init();
    ASSERT_NE(e, nullptr);
    std::string body;
    const std::string url = dataServer.imagesUrl() + "VO1001-ftp.jpg";
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    const CURLcode code = curl_easy_perform(e);
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(e);
    EXPECT_EQ(code, CURLE_OK);
    EXPECT_EQ(status, 200) << dataServer.log();
    EXPECT_EQ(body, readFile(photo));
}

}  // namespace
