// Reading the server's settings from its configuration file and its command line.
#include "dataserver/serverconfig.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "dataserver/database.h"

namespace tarmel::dataserver {

namespace {

std::string_view Trim(std::string_view text) {
    const char* blanks = " \t\r";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string WithSlashes(std::string path) {
    if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
    if (path.back() != '/') path.push_back('/');
    return path;
}

// Only the path part of an images address counts (the client puts the host in front).
std::string PathOfUrl(std::string url) {
    size_t scheme = url.find("://");
    if (scheme != std::string::npos) {
        size_t slash = url.find('/', scheme + 3);
        url = slash == std::string::npos ? "/" : url.substr(slash);
    }
    return WithSlashes(url);
}

bool ReadInteger(std::string_view text, long min, long max, long& value) {
    long parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max) {
        return false;
    }
    value = parsed;
    return true;
}

bool ReadBoolean(std::string_view text, bool& value) {
    std::string lower;
    for (char c : text) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
    for (const char* yes : {"oui", "yes", "true", "on", "1"}) {
        if (lower == yes) return value = true, true;
    }
    for (const char* no : {"non", "no", "false", "off", "0"}) {
        if (lower == no) return value = false, true;
    }
    return false;
}

// One setting: how its value is read into the settings; an empty message means accepted.
using Setter = std::function<std::string(std::string_view value, ServerSettings& settings)>;

Setter Text(std::string ServerSettings::*field, bool mayBeEmpty = false) {
    return [field, mayBeEmpty](std::string_view value, ServerSettings& s) -> std::string {
        if (value.empty() && !mayBeEmpty) return "une valeur est attendue";
        s.*field = std::string(value);
        return {};
    };
}

Setter FtpText(std::string FtpSettings::*field, bool mayBeEmpty = false) {
    return [field, mayBeEmpty](std::string_view value, ServerSettings& s) -> std::string {
        if (value.empty() && !mayBeEmpty) return "une valeur est attendue";
        s.ftp.*field = std::string(value);
        return {};
    };
}

Setter Port(uint16_t* (*where)(ServerSettings&)) {
    return [where](std::string_view value, ServerSettings& s) -> std::string {
        long port = 0;
        if (!ReadInteger(value, 0, 65535, port)) {
            return "« " + std::string(value) + " » n'est pas un numéro de port (0 à 65535)";
        }
        *where(s) = static_cast<uint16_t>(port);
        return {};
    };
}

Setter Count(long min, long max, std::function<void(ServerSettings&, long)> store) {
    return [min, max, store](std::string_view value, ServerSettings& s) -> std::string {
        long count = 0;
        if (!ReadInteger(value, min, max, count)) {
            return "« " + std::string(value) + " » n'est pas un nombre entier de " +
                   std::to_string(min) + " à " + std::to_string(max);
        }
        store(s, count);
        return {};
    };
}

// The settings by the configuration file's key; the command line's options are "--" + key.
const std::map<std::string, Setter, std::less<>>& Setters() {
    static const std::map<std::string, Setter, std::less<>> setters = {
        {"database", Text(&ServerSettings::database)},
        {"create-database",
         [](std::string_view value, ServerSettings& s) -> std::string {
             if (value == "demo") return s.create = CreateDatabase::Demo, std::string();
             if (value == "empty") return s.create = CreateDatabase::Empty, std::string();
             if (value == "no") return s.create = CreateDatabase::No, std::string();
             return "« " + std::string(value) + " » : demo, empty ou no est attendu";
         }},
        {"listen", Text(&ServerSettings::listen)},
        {"port", Port([](ServerSettings& s) { return &s.port; })},
        {"base",
         [](std::string_view value, ServerSettings& s) -> std::string {
             s.base = WithSlashes(std::string(value));
             return {};
         }},
        {"photos", Text(&ServerSettings::photos)},
        {"images-url",
         [](std::string_view value, ServerSettings& s) -> std::string {
             if (value.empty()) return "une valeur est attendue";
             s.imagesPath = PathOfUrl(std::string(value));
             return {};
         }},
        {"threads",
         Count(1, 256, [](ServerSettings& s, long n) { s.threads = static_cast<unsigned>(n); })},
        {"log-requests",
         [](std::string_view value, ServerSettings& s) -> std::string {
             if (!ReadBoolean(value, s.logRequests)) {
                 return "« " + std::string(value) + " » : oui ou non est attendu";
             }
             return {};
         }},
        {"sms-path",
         [](std::string_view value, ServerSettings& s) -> std::string {
             if (value.empty() || value.front() != '/' ||
                 value.find_first_of("?# ") != std::string_view::npos) {
                 return "« " + std::string(value) + " » n'est pas un chemin commençant par /";
             }
             s.smsPath = std::string(value);
             return {};
         }},
        {"demo-vehicles",
         Count(0, 10000000,
               [](ServerSettings& s, long n) { s.demoVehicles = static_cast<int>(n); })},
        {"demo-clients",
         Count(0, 10000000,
               [](ServerSettings& s, long n) { s.demoClients = static_cast<int>(n); })},
        {"ftp-listen", FtpText(&FtpSettings::listen)},
        {"ftp-port", Port([](ServerSettings& s) { return &s.ftp.port; })},
        {"ftp-user", FtpText(&FtpSettings::user)},
        {"ftp-password", FtpText(&FtpSettings::password, true)},
        {"ftp-password-file", FtpText(&FtpSettings::passwordFile, true)},
        {"ftp-root", FtpText(&FtpSettings::root, true)},
    };
    return setters;
}

}  // namespace

std::vector<SettingsError> ApplyConfigText(std::string_view text, ServerSettings& settings) {
    std::vector<SettingsError> errors;
    ServerSettings result = settings;
    std::map<std::string, int, std::less<>> seen;
    // A file saved by a Windows editor starts with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            errors.push_back({number, "« clé = valeur » est attendu"});
            continue;
        }
        std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        auto setter = Setters().find(key);
        if (setter == Setters().end()) {
            errors.push_back({number, "clé inconnue « " + std::string(key) + " »"});
            continue;
        }
        auto [previous, fresh] = seen.emplace(std::string(key), number);
        if (!fresh) {
            errors.push_back({number, "« " + std::string(key) + " » est déjà donnée ligne " +
                                          std::to_string(previous->second)});
            continue;
        }
        std::string fault = setter->second(value, result);
        if (!fault.empty()) errors.push_back({number, std::string(key) + " : " + fault});
    }
    if (errors.empty()) settings = std::move(result);
    return errors;
}

std::vector<std::string> ParseCommandLine(const std::vector<std::string>& args, FileReader readFile,
                                          CommandLine& out) {
    std::vector<std::string> errors;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                errors.push_back(arg + " : une valeur est attendue");
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string given;
        if (arg == "--config") {
            if (!value(given)) break;
            out.configFile = given;
            std::string text;
            if (!readFile(given, text)) {
                errors.push_back(given + " : fichier illisible");
                continue;
            }
            for (const SettingsError& e : ApplyConfigText(text, out.settings)) {
                errors.push_back(given + ":" + std::to_string(e.line) + " : " + e.message);
            }
        } else if (arg == "--db") {
            if (value(out.settings.database)) continue;
        } else if (arg == "--create-demo") {
            out.settings.create = CreateDatabase::Demo;
        } else if (arg == "--quiet") {
            out.settings.logRequests = false;
        } else if (arg == "--build-only") {
            out.buildOnly = true;
        } else if (arg == "--exit-with-parent") {
            out.exitWithParent = true;
        } else if (arg == "--print-ftp-settings") {
            out.printFtp = true;
        } else if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (auto setter = arg.size() > 2 && arg.starts_with("--")
                                     ? Setters().find(std::string_view(arg).substr(2))
                                     : Setters().end();
                   setter != Setters().end()) {
            if (!value(given)) break;
            std::string fault = setter->second(given, out.settings);
            if (!fault.empty()) errors.push_back(arg + " : " + fault);
        } else {
            errors.push_back("option inconnue « " + arg + " »");
        }
    }
    return errors;
}

std::vector<std::string> Complete(ServerSettings& settings) {
    std::vector<std::string> errors;
    if (settings.database.empty()) {
        errors.push_back("aucune base de données (--db, ou « database = » dans la configuration)");
        return errors;
    }
    const bool postgres = IsPostgresConnection(settings.database);
    if (settings.photos.empty()) {
        if (postgres) {
            errors.push_back("le dossier des photos (--photos) est obligatoire avec PostgreSQL");
        } else {
            settings.photos = settings.database + ".photos";
        }
    }
    if (postgres && settings.create == CreateDatabase::Empty) {
        errors.push_back("create-database = empty ne vaut que pour un fichier SQLite");
    }
    if (settings.imagesPath.empty()) settings.imagesPath = settings.base + "images/";
    return errors;
}

std::string FtpSettingsText(const ServerSettings& settings) {
    std::ostringstream out;
    out << "ftp-listen=" << settings.ftp.listen << "\n"
        << "ftp-port=" << settings.ftp.port << "\n"
        << "ftp-user=" << settings.ftp.user << "\n"
        << "ftp-password=" << settings.ftp.password << "\n"
        << "ftp-password-file=" << settings.ftp.passwordFile << "\n"
        << "ftp-root=" << settings.ftp.root << "\n"
        << "photos=" << settings.photos << "\n";
    return out.str();
}

bool ReadTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return !in.bad();
}

}  // namespace tarmel::dataserver
