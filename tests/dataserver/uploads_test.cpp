// The photo upload of "AxInsert", the photos under the images address, and the SMS path.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "tests/dataserver/serverclient.h"
#include "tests/support/databasefile.h"
#include "tests/support/scratchdir.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

namespace fs = std::filesystem;

std::string Jpeg(size_t size, char seed) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + static_cast<size_t>(seed)) & 0xFF);
    data[0] = '\xFF';
    data[1] = '\xD8';
    data[2] = '\xFF';
    return data;
}

TEST(Upload, StoresBothFilesThenLinksThePhotoAndServesIt) {
    DataServerProcess server;
    const std::string photo = Jpeg(4096000, 1);  // exactly the largest size allowed
    const std::string mini = Jpeg(3000, 2);
    const std::string statement =
        "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) VALUES "
        "(:NewID, 99002, 1, 'Z0099002-01', '2024-03-14 10:11:12')";
    HttpAnswer a = MultipartPost(server.port(), "/tarmel/AxInsert",
                                 {{"NFImage", "", "Z0099002-01.jpg"},
                                  {"XMLC_OutputFormat", "", "XML"},
                                  {"SQLExecute", "", statement},
                                  {"MAX_FILE_SIZE", "", "4096000"},
                                  {"File", "Z0099002-01.jpg", photo},
                                  {"NFImageMini", "", "Z0099002-01m.jpg"},
                                  {"File", "Z0099002-01m.jpg", mini}});
    ASSERT_EQ(a.status, 200);
    EXPECT_EQ(XmlProblems(a.body), "");
    EXPECT_TRUE(LogItemsOf(a.body).empty()) << a.body;
    EXPECT_NE(a.body.find("<NewID>"), std::string::npos);
    EXPECT_EQ(readFile(server.photoFolder() + "/Z0099002-01.jpg"), photo);
    EXPECT_EQ(readFile(server.photoFolder() + "/Z0099002-01m.jpg"), mini);
    for (const auto& entry : fs::directory_iterator(server.photoFolder())) {
        EXPECT_NE(entry.path().filename().string().rfind(".upload-", 0), 0u)
            << "temporary file left";
    }
    Rowset link = Query(server,
                        "select NumImage, NomImage, DateImage from [tVO - Liens Images] "
                        "where idVO=99002");
    ASSERT_EQ(link.rows.size(), 1u);
    EXPECT_EQ(link.rows[0]["NomImage"], "Z0099002-01");
    EXPECT_EQ(link.rows[0]["DateImage"], "14/03/2024 10:11:12");

    // The photo and its miniature under the images address.
    HttpAnswer served = RawRequest(server.port(),
                                   "GET /tarmel/images/Z0099002-01m.jpg HTTP/1.1\r\n"
                                   "Host: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(served.status, 200);
    EXPECT_EQ(served.header("Content-Type"), "image/jpeg");
    EXPECT_EQ(served.body, mini);
    EXPECT_EQ(RawRequest(server.port(),
                         "GET /tarmel/images/Z0099002-02.jpg HTTP/1.1\r\nHost: x\r\n"
                         "Connection: close\r\n\r\n")
                  .status,
              404);
}

TEST(Upload, APhotoThatCannotBePlacedLeavesNoLink) {
    DataServerProcess server;
    // The miniature's name is taken by a folder: the link is rolled back, the photo removed.
    fs::create_directories(server.photoFolder() + "/Z0099003-01m.jpg/inside");
    HttpAnswer a = MultipartPost(
        server.port(), "/tarmel/AxInsert",
        {{"NFImage", "", "Z0099003-01.jpg"},
         {"SQLExecute", "",
          "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) VALUES "
          "(:NewID, 99003, 1, 'Z0099003-01', '2024-03-14 10:11:12')"},
         {"MAX_FILE_SIZE", "", "4096000"},
         {"File", "Z0099003-01.jpg", Jpeg(100, 3)},
         {"NFImageMini", "", "Z0099003-01m.jpg"},
         {"File", "Z0099003-01m.jpg", Jpeg(50, 4)}});
    EXPECT_EQ(LogItemsOf(a.body).size(), 1u) << a.body;
    EXPECT_EQ(FirstValue(server.databasePath(),
                         "select count(*) from [tVO - Liens Images] where idVO=99003"),
              "0");
    EXPECT_FALSE(fs::exists(server.photoFolder() + "/Z0099003-01.jpg"));
}

TEST(Upload, ARefusedStatementLeavesNoFile) {
    DataServerProcess server;
    const auto before = FilesUnder(server.folder());
    HttpAnswer a = MultipartPost(server.port(), "/tarmel/AxInsert",
                                 {{"NFImage", "", "Z1.jpg"},
                                  {"SQLExecute", "", "INSERT INTO tNowhere (a) VALUES (:NewID)"},
                                  {"MAX_FILE_SIZE", "", "4096000"},
                                  {"File", "Z1.jpg", Jpeg(100, 3)},
                                  {"NFImageMini", "", "Z1m.jpg"},
                                  {"File", "Z1m.jpg", Jpeg(10, 4)}});
    EXPECT_EQ(LogItemsOf(a.body).size(), 1u) << a.body;
    EXPECT_EQ(FilesUnder(server.folder()), before);
}

TEST(Sms, RecordsTheMessageAndAnswersSuccess) {
    DataServerProcess server;
    // The client labels its form "text/xml"; the body is multipart all the same.
    for (const std::string type : {"", "text/xml"}) {
        const std::string text =
            "de Quintar NORD,\r\n\r\npour un test d'envoi \xC3\xA0 M. MARTIN Jean";
        HttpAnswer a =
            MultipartPost(server.port(), "/tools/smssend/smssend.php5",
                          {{"destinataire", "", "+33612345678"}, {"texte", "", text}}, type);
        EXPECT_EQ(a.status, 200);
        EXPECT_NE(a.body.find("telephonySmsSend successfull"), std::string::npos) << a.body;
    }
    EXPECT_EQ(FirstValue(server.databasePath(), "select count(*) from tSmsLog"), "2");
    EXPECT_EQ(FirstValue(server.databasePath(), "select Texte from tSmsLog"),
              "de Quintar NORD,\r\n\r\npour un test d'envoi \xE0 M. MARTIN Jean");
    HttpAnswer missing =
        MultipartPost(server.port(), "/tools/smssend/smssend.php5", {{"texte", "", "x"}});
    EXPECT_EQ(missing.body.find("successfull"), std::string::npos);
}

TEST(Sms, StalledLargeUploadsDoNotBlockOthers) {
    DataServerProcess server;
    // Eight connections announce bodies that together fill what the bodies in flight may hold
    // (64 MB), and then send almost nothing.
    std::vector<int> stalled;
    for (int i = 0; i < 8; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(server.port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const std::string head =
            "POST /tools/smssend/smssend.php5 HTTP/1.1\r\nHost: x\r\n"
            "Content-Type: multipart/form-data; boundary=b\r\nContent-Length: " +
            std::string(i < 7 ? "9437000" : "1049800") + "\r\n\r\n--b";
        ASSERT_EQ(send(fd, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
        stalled.push_back(fd);
    }
    usleep(300 * 1000);
    HttpAnswer a = MultipartPost(server.port(), "/tools/smssend/smssend.php5",
                                 {{"destinataire", "", "+33612345678"}, {"texte", "", "essai"}});
    EXPECT_NE(a.body.find("telephonySmsSend successfull"), std::string::npos) << a.body;
    for (const int fd : stalled) close(fd);
}

}  // namespace
}  // namespace tarmel::testsupport
