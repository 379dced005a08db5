// The server's settings and where they come from: the configuration file's "key = value" lines and
// the command line, read by the same value rules. No I/O besides reading the file named.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/refusal.h"

namespace tarmel::dataserver {

// What to do when the SQLite file named by the database setting does not exist.
enum class CreateDatabase {
    No,     // refuse to start: a mistyped path must not look like an empty dealership
    Empty,  // the schema with no row
    Demo,   // the demo dealership, its photos into the photos folder
};

// The photo FTP server that tarmel-photoftp runs beside the data server; the data server itself
// only checks these settings and prints them for it.
struct FtpSettings {
    std::string listen = "0.0.0.0";
    uint16_t port = 2121;
    std::string user = "tarmel";
    std::string password;      // given in the file, or
    std::string passwordFile;  // read at the FTP server's start (first line)
    std::string root;          // the server's photos folder is root + "/www/voimages"
};

struct ServerSettings {
    std::string database;  // SQLite file, or a PostgreSQL connection
    CreateDatabase create = CreateDatabase::No;
    std::string listen = "127.0.0.1";
    uint16_t port = 8642;
    std::string base = "/tarmel/";  // leading and trailing "/"
    std::string photos;             // empty: database + ".photos" (SQLite only)
    std::string imagesPath;         // empty: base + "images/"
    unsigned threads = 4;
    bool logRequests = true;
    std::string smsPath{kSmsPath};
    int demoVehicles = 60;
    int demoClients = 40;
    FtpSettings ftp;
};

// One fault of a configuration file or of the command line, in French for the administrator.
// line is 0 for the command line.
struct SettingsError {
    int line = 0;
    std::string message;
};

// Applies the "key = value" lines of a configuration file's text over settings. Blank lines and
// lines starting with '#' or ';' are skipped; a key given twice, an unknown key or a bad value is
// an error with its line number. settings is only changed when there is no error.
std::vector<SettingsError> ApplyConfigText(std::string_view text, ServerSettings& settings);

// What the command line asks besides the settings.
struct CommandLine {
    ServerSettings settings;
    std::string configFile;  // the last --config given, empty when none
    bool buildOnly = false;
    bool exitWithParent = false;
    bool printFtp = false;
    bool help = false;
};

// Reads the arguments (without the program name) in order: --config FILE applies that file where
// it stands, so an option before it is overridden by the file and one after it overrides the
// file. readFile returns false when the file cannot be read. Messages name the file and the line.
using FileReader = bool (*)(const std::string& path, std::string& text);
std::vector<std::string> ParseCommandLine(const std::vector<std::string>& args, FileReader readFile,
                                          CommandLine& out);

// The settings the server runs with: defaults derived from others (photos, images path) filled
// in, and the checks across settings. Returns the errors, empty when the settings can run.
std::vector<std::string> Complete(ServerSettings& settings);

// The FTP settings as "key=value" lines, for the photo FTP server's launcher.
std::string FtpSettingsText(const ServerSettings& settings);

// Reads a whole file; false when it cannot be opened.
bool ReadTextFile(const std::string& path, std::string& text);

}  // namespace tarmel::dataserver
