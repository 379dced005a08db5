// The server's configuration file and command line: what each line sets, the faults reported with
// their line, and which of the file and the command line wins.
#include "dataserver/serverconfig.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dataserver/endpoints.h"

namespace tarmel::dataserver {
namespace {

std::vector<SettingsError> Apply(const std::string& text, ServerSettings& settings) {
    return ApplyConfigText(text, settings);
}

TEST(ServerConfig, ReadsEverySettingOfAWholeFile) {
    const std::string text =
        "\xEF\xBB\xBF# tarmel-dataserver\r\n"
        "\n"
        "database = /var/lib/tarmel/dealership.db\r\n"
        "create-database = demo\n"
        "  listen=0.0.0.0  \n"
        "port = 8080\n"
        "; a comment too\n"
        "base = tarmel2\n"
        "photos = /var/lib/tarmel/ftp/www/voimages\n"
        "images-url = http://photos.example/tarmel2/img\n"
        "threads = 8\n"
        "log-requests = non\n"
        "sms-path = /sms/send.php\n"
        "ftp-listen = 192.0.2.1\n"
        "ftp-port = 21\n"
        "ftp-user = photos\n"
        "ftp-password =\n"
        "ftp-password-file = /etc/tarmel/ftp-password\n"
        "ftp-root = /var/lib/tarmel/ftp\n";
    ServerSettings s;
    EXPECT_TRUE(Apply(text, s).empty());
    EXPECT_EQ(s.database, "/var/lib/tarmel/dealership.db");
    EXPECT_EQ(s.create, CreateDatabase::Demo);
    EXPECT_EQ(s.listen, "0.0.0.0");
    EXPECT_EQ(s.port, 8080);
    EXPECT_EQ(s.base, "/tarmel2/");
    EXPECT_EQ(s.photos, "/var/lib/tarmel/ftp/www/voimages");
    EXPECT_EQ(s.imagesPath, "/tarmel2/img/");
    EXPECT_EQ(s.threads, 8u);
    EXPECT_FALSE(s.logRequests);
    EXPECT_EQ(s.smsPath, "/sms/send.php");
    EXPECT_EQ(s.ftp.listen, "192.0.2.1");
    EXPECT_EQ(s.ftp.port, 21);
    EXPECT_EQ(s.ftp.user, "photos");
    EXPECT_EQ(s.ftp.password, "");
    EXPECT_EQ(s.ftp.passwordFile, "/etc/tarmel/ftp-password");
    EXPECT_EQ(s.ftp.root, "/var/lib/tarmel/ftp");
}

TEST(ServerConfig, KeepsEqualsSignsOfAPostgresConnectionInTheValue) {
    ServerSettings s;
    EXPECT_TRUE(Apply("database = host=/run/postgresql dbname=tarmel\n", s).empty());
    EXPECT_EQ(s.database, "host=/run/postgresql dbname=tarmel");
}

TEST(ServerConfig, ReportsEachFaultWithItsLineAndChangesNothing) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"unknown key", "port = 1\nprot = 2\n", 2, "clé inconnue « prot »"},
        {"no equals sign", "# x\nport 8080\n", 2, "« clé = valeur » est attendu"},
        {"port beyond 65535", "port = 65536\n", 1, "n'est pas un numéro de port"},
        {"port with a unit", "port = 80tcp\n", 1, "n'est pas un numéro de port"},
        {"negative port", "port = -1\n", 1, "n'est pas un numéro de port"},
        {"no thread", "threads = 0\n", 1, "n'est pas un nombre entier de 1 à 256"},
        {"key given twice", "port = 1\n\nport = 2\n", 3, "« port » est déjà donnée ligne 1"},
        {"unknown creation", "create-database = yes\n", 1, "demo, empty ou no est attendu"},
        {"not a boolean", "log-requests = peut-être\n", 1, "oui ou non est attendu"},
        {"relative SMS path", "sms-path = sms.php\n", 1, "n'est pas un chemin commençant par /"},
        {"SMS path with a query", "sms-path = /s?x=1\n", 1, "n'est pas un chemin"},
        {"empty database", "database =\n", 1, "une valeur est attendue"},
        {"empty FTP user", "ftp-user = \n", 1, "une valeur est attendue"},
        {"line after a CRLF line", "port = 1\r\nfoo = 2\r\n", 2, "clé inconnue « foo »"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServerSettings s;
        s.port = 4242;
        s.database = "kept.db";
        std::vector<SettingsError> errors = Apply(c.text, s);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].line, c.line);
        EXPECT_NE(errors[0].message.find(c.says), std::string::npos) << errors[0].message;
        EXPECT_EQ(s.port, 4242);
        EXPECT_EQ(s.database, "kept.db");
    }
}

TEST(ServerConfig, ReportsEveryFaultOfAFileAtOnce) {
    ServerSettings s;
    std::vector<SettingsError> errors = Apply("a = 1\nport = x\nthreads = 4\nb\n", s);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].line, 1);
    EXPECT_EQ(errors[1].line, 2);
    EXPECT_EQ(errors[2].line, 4);
}

TEST(ServerConfig, TheSmsPathSetAnswersAsTheSmsEndpoint) {
    ServerSettings s;
    ASSERT_TRUE(Apply("sms-path = /outils/sms\n", s).empty());
    EndpointConfig endpoints;
    endpoints.smsPath = s.smsPath;
    EXPECT_EQ(EndpointAt(endpoints, "/outils/sms"), Endpoint::Sms);
    EXPECT_EQ(EndpointAt(endpoints, std::string(kSmsPath)), Endpoint::Unknown);
    EXPECT_EQ(EndpointAt(EndpointConfig{}, std::string(kSmsPath)), Endpoint::Sms);
}

// The files the command-line tests read, by name.
std::map<std::string, std::string>& Files() {
    static std::map<std::string, std::string> files;
    return files;
}

bool ReadFake(const std::string& path, std::string& text) {
    auto found = Files().find(path);
    if (found == Files().end()) return false;
    text = found->second;
    return true;
}

TEST(ServerCommandLine, OptionsAfterTheFileWinAndOptionsBeforeItDoNot) {
    Files()["server.conf"] = "port = 9000\nphotos = /from/file\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        uint16_t port;
        const char* photos;
    };
    const std::vector<Case> cases = {
        {"file alone", {"--config", "server.conf"}, 9000, "/from/file"},
        {"option before", {"--port", "1", "--config", "server.conf"}, 9000, "/from/file"},
        {"option after", {"--config", "server.conf", "--port", "1"}, 1, "/from/file"},
        {"both sides", {"--photos", "/a", "--config", "server.conf", "--photos", "/b"}, 9000, "/b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandLine command;
        EXPECT_TRUE(ParseCommandLine(c.args, &ReadFake, command).empty());
        EXPECT_EQ(command.settings.port, c.port);
        EXPECT_EQ(command.settings.photos, c.photos);
        EXPECT_EQ(command.configFile, "server.conf");
    }
}

TEST(ServerCommandLine, NamesTheFileAndLineOrTheOptionAtFault) {
    Files()["bad.conf"] = "port = 1\nportt = 2\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"fault in the file", {"--config", "bad.conf"}, "bad.conf:2 : clé inconnue « portt »"},
        {"file that does not read", {"--config", "absent.conf"}, "absent.conf : fichier illisible"},
        {"bad option value",
         {"--port", "http"},
         "--port : « http » n'est pas un numéro de port (0 à 65535)"},
        {"option without its value", {"--db"}, "--db : une valeur est attendue"},
        {"unknown option", {"--prot", "1"}, "option inconnue « --prot »"},
        {"a file-only word is not an option", {"--", "x"}, "option inconnue « -- »"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandLine command;
        std::vector<std::string> errors = ParseCommandLine(c.args, &ReadFake, command);
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors[0], c.says);
    }
}

TEST(ServerSettingsComplete, FillsWhatFollowsFromOtherSettings) {
    ServerSettings sqlite;
    sqlite.database = "/data/d.db";
    sqlite.base = "/x/";
    EXPECT_TRUE(Complete(sqlite).empty());
    EXPECT_EQ(sqlite.photos, "/data/d.db.photos");
    EXPECT_EQ(sqlite.imagesPath, "/x/images/");

    ServerSettings given;
    given.database = "/data/d.db";
    given.imagesPath = "/img/";
    given.photos = "/p";
    EXPECT_TRUE(Complete(given).empty());
    EXPECT_EQ(given.photos, "/p");
    EXPECT_EQ(given.imagesPath, "/img/");
}

TEST(ServerSettingsComplete, RefusesSettingsThatCannotRun) {
    struct Case {
        const char* name;
        std::string database;
        std::string photos;
        CreateDatabase create;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"no database", "", "/p", CreateDatabase::No, "aucune base de données"},
        {"PostgreSQL without photos", "postgresql://u@h/db", "", CreateDatabase::No,
         "obligatoire avec PostgreSQL"},
        {"empty PostgreSQL asked", "host=h dbname=d", "/p", CreateDatabase::Empty,
         "ne vaut que pour un fichier SQLite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServerSettings s;
        s.database = c.database;
        s.photos = c.photos;
        s.create = c.create;
        std::vector<std::string> errors = Complete(s);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(c.says), std::string::npos) << errors[0];
    }
}

}  // namespace
}  // namespace tarmel::dataserver
