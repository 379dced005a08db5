// SIGHUP on the real server: its configuration file is read again and the listener restarts with
// it; a file at fault, or settings that cannot start, leave it answering as before.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/dataserver/serverclient.h"
#include "tests/support/scratchdir.h"

namespace tarmel::testsupport {
namespace {

std::string Jpeg(char seed) {
    std::string data(1500, seed);
    data[0] = '\xFF';
    data[1] = '\xD8';
    data[2] = '\xFF';
    return data;
}

// The server reads its settings from a file of the scratch folder; two photo folders hold a
// different "reload.jpg" each.
struct ReloadFixture {
    ScratchDir dir;
    std::string config = dir.file("dataserver.conf");
    std::string first = dir.file("first");
    std::string second = dir.file("second");

    ReloadFixture() {
        std::filesystem::create_directories(first);
        std::filesystem::create_directories(second);
        writeFile(first + "/reload.jpg", Jpeg('1'));
        writeFile(second + "/reload.jpg", Jpeg('2'));
        writeFile(config, "# test\nport = 0\nphotos = " + first + "\n");
    }
};

std::string Photo(const DataServerProcess& server, const std::string& base) {
    HttpAnswer a = RawRequest(server.port(), "GET " + base +
                                                 "images/reload.jpg HTTP/1.1\r\n"
                                                 "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
    return a.status == 200 && a.header("Content-Type") == "image/jpeg" ? a.body : "";
}

TEST(ServerReload, AnswersWithTheNewPhotoFolderBaseAndPortOfTheFile) {
    ReloadFixture f;
    DataServerProcess server({"--config", f.config});
    EXPECT_EQ(Photo(server, "/tarmel/"), Jpeg('1'));
    const int before = server.port();

    writeFile(f.config, "port = 0\nphotos = " + f.second + "\nbase = /autre/\n");
    ASSERT_TRUE(server.reload()) << server.log();
    EXPECT_NE(server.port(), before);
    EXPECT_EQ(Photo(server, "/autre/"), Jpeg('2'));
    HttpAnswer old = ClientGet(server.port(), "/tarmel/AxQuery?SQL=SELECT%201");
    EXPECT_EQ(old.body.find("<AXQueryS"), std::string::npos) << "the old base still answers";
    HttpAnswer query =
        ClientGet(server.port(), "/autre/AxQuery?SQL=SELECT%20COUNT(*)%20FROM%20tVehicles");
    EXPECT_EQ(query.status, 200);
    EXPECT_NE(query.body.find("<AXQueryS RowCount=\"1\""), std::string::npos) << query.body;
    EXPECT_NE(server.log().find("configuration relue"), std::string::npos);
}

TEST(ServerReload, KeepsTheRunningSettingsWhenTheFileIsAtFault) {
    ReloadFixture f;
    DataServerProcess server({"--config", f.config});
    const int before = server.port();

    writeFile(f.config, "port = 0\nphotos = " + f.second + "\nthreads = beaucoup\n");
    EXPECT_FALSE(server.reload());
    EXPECT_EQ(server.port(), before);
    EXPECT_EQ(Photo(server, "/tarmel/"), Jpeg('1'));
    const std::string log = server.log();
    EXPECT_NE(log.find("dataserver.conf:3 : threads : « beaucoup » n'est pas un nombre entier"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("configuration non relue : les réglages en cours restent"),
              std::string::npos);

    std::filesystem::remove(f.config);
    EXPECT_FALSE(server.reload());
    EXPECT_EQ(Photo(server, "/tarmel/"), Jpeg('1'));
    EXPECT_NE(server.log().find("dataserver.conf : fichier illisible"), std::string::npos);
}

// A port another program listens on cannot be taken: the server goes back to its previous
// settings rather than stop answering.
TEST(ServerReload, GoesBackToThePreviousSettingsWhenTheNewOnesDoNotStart) {
    ReloadFixture f;
    int taken = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(taken, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(taken, 1), 0);
    socklen_t length = sizeof address;
    getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length);
    const int takenPort = ntohs(address.sin_port);

    DataServerProcess server({"--config", f.config});
    writeFile(f.config, "port = " + std::to_string(takenPort) + "\nphotos = " + f.second + "\n");
    EXPECT_FALSE(server.reload());
    EXPECT_NE(server.port(), takenPort);
    EXPECT_EQ(Photo(server, "/tarmel/"), Jpeg('1'));
    EXPECT_NE(server.log().find("retour aux précédents"), std::string::npos) << server.log();
    close(taken);
}

}  // namespace
}  // namespace tarmel::testsupport
