// Starting and stopping the real data server for tests.
#include "tests/support/dataserverprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tests/support/childprocess.h"
#include "tests/support/pgtestcluster.h"
#include "tests/support/scratchdir.h"

extern char** environ;

namespace tarmel::testsupport {

namespace fs = std::filesystem;

namespace {

std::string MakeTempFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

// A database of the test cluster is dropped at the end, whoever still holds a connection to it.
void DropPgDatabase(const std::string& name) {
    try {
        PgAdmin("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

// Runs the executable with the arguments, stdout and stderr into the given files; returns the pid.
pid_t Spawn(const std::vector<std::string>& args, const std::string& outPath,
            const std::string& errPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

// The demo database and its photos, built once per test program and copied for each server: a
// SQLite file, or on PostgreSQL a database the servers' databases are created from.
struct DemoTemplate {
    std::string folder;
    std::string database;  // the file, or the connection to the PostgreSQL database
    std::string pgName;    // the PostgreSQL database's name, empty on SQLite
    std::string photos;

    explicit DemoTemplate(bool postgres) {
        folder = MakeTempFolder("tarmel-demo-");
        photos = folder + "/photos";
        fs::create_directories(photos);
        database = folder + "/demo.db";
        if (postgres) {
            pgName = UniquePgDatabaseName("tarmel_demo");
            PgAdmin("CREATE DATABASE " + pgName);
            database = PgTestDatabase(pgName);
        }
        pid_t pid = Spawn({DataServerProcess::executable(), "--db", database, "--photos", photos,
                           "--create-demo", "--build-only"},
                          folder + "/build.out", folder + "/build.err");
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
            (pgName.empty() && !fs::exists(database))) {
            const std::string message =
                "cannot build the demo database: " + readFile(folder + "/build.err");
            Remove();
            throw std::runtime_error(message);
        }
    }
    ~DemoTemplate() { Remove(); }

    void Remove() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        if (!pgName.empty()) DropPgDatabase(pgName);
    }
};

const DemoTemplate& Template(bool postgres) {
    if (postgres) {
        static DemoTemplate onPostgres(true);
        return onPostgres;
    }
    static DemoTemplate onSqlite(false);
    return onSqlite;
}

// Servers still alive when the test program ends (a fixture created with new and never deleted)
// are stopped and their folders removed.
class LiveServers {
public:
    static LiveServers& Instance() {
        static LiveServers instance;
        return instance;
    }
    void Add(DataServerProcess* server) {
        std::lock_guard lock(mutex_);
        servers_.push_back(server);
    }
    void Remove(DataServerProcess* server) {
        std::lock_guard lock(mutex_);
        servers_.erase(std::remove(servers_.begin(), servers_.end(), server), servers_.end());
    }
    ~LiveServers() {
        for (DataServerProcess* server : servers_) server->removeAll();
    }

private:
    std::mutex mutex_;
    std::vector<DataServerProcess*> servers_;
};

}  // namespace

std::string DataServerProcess::executable() {
    if (const char* env = std::getenv("TARMEL_DATASERVER_EXE"); env != nullptr && *env != '\0') {
        return env;
    }
#ifdef TARMEL_DATASERVER_EXE
    return TARMEL_DATASERVER_EXE;
#else
    throw std::runtime_error("tarmel-dataserver not known: set TARMEL_DATASERVER_EXE");
#endif
}

DataServerProcess::DataServerProcess(std::vector<std::string> extraArgs)
    : DataServerProcess(TestsOnPostgres() ? Database::PostgreSQL : Database::SQLite,
                        std::move(extraArgs)) {}

DataServerProcess::DataServerProcess(Database database, std::vector<std::string> extraArgs)
    : extraArgs_(std::move(extraArgs)) {
    const DemoTemplate& demo = Template(database == Database::PostgreSQL);
    folder_ = MakeTempFolder("tarmel-server-");
    photoFolder_ = ftpRoot() + "/www/voimages";
    try {
        if (demo.pgName.empty()) {
            databasePath_ = folder_ + "/dealership.db";
            fs::copy_file(demo.database, databasePath_);
            if (fs::exists(demo.database + "-wal"))
                fs::copy_file(demo.database + "-wal", databasePath_ + "-wal");
        } else {
            const std::string name = UniquePgDatabaseName("tarmel_test");
            PgAdmin("CREATE DATABASE " + name + " TEMPLATE " + demo.pgName);
            pgName_ = name;
            databasePath_ = PgTestDatabase(name);
        }
        fs::create_directories(ftpRoot() + "/www");
        fs::copy(demo.photos, photoFolder_, fs::copy_options::recursive);
        start();
    } catch (...) {
        removeAll();
        throw;
    }
    LiveServers::Instance().Add(this);
}

DataServerProcess::DataServerProcess(Beside beside, std::vector<std::string> extraArgs)
    : extraArgs_(std::move(extraArgs)),
      databasePath_(beside.other.databasePath_),
      photoFolder_(beside.other.photoFolder_) {
    folder_ = MakeTempFolder("tarmel-server-");
    try {
        start();
    } catch (...) {
        removeAll();
        throw;
    }
    LiveServers::Instance().Add(this);
}

DataServerProcess::~DataServerProcess() {
    LiveServers::Instance().Remove(this);
    removeAll();
}

void DataServerProcess::removeAll() {
    stop();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    if (!pgName_.empty()) DropPgDatabase(pgName_);
    pgName_.clear();
}

std::string DataServerProcess::baseHRef() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/tarmel/";
}

std::string DataServerProcess::imagesUrl() const {
    return baseHRef() + "images/";
}

std::string DataServerProcess::ftpRoot() const {
    return folder_ + "/ftp";
}

std::string DataServerProcess::log() const {
    return readFile(folder_ + "/server.err");
}

namespace {

const std::string kListening = "listening on http://127.0.0.1:";

// The port of the last complete "listening on" line of the server's stdout, and how many there
// are.
int LastListeningPort(const std::string& out, int& lines) {
    lines = 0;
    int port = 0;
    for (size_t at = out.find(kListening); at != std::string::npos;
         at = out.find(kListening, at + 1)) {
        if (out.find('\n', at) == std::string::npos) break;
        ++lines;
        port = std::atoi(out.c_str() + at + kListening.size());
    }
    return port;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

bool DataServerProcess::reload() {
    if (pid_ <= 0) throw std::runtime_error("reload of a server that is not running");
    int listened = 0;
    LastListeningPort(readFile(outPath_), listened);
    const std::string kept = "configuration non relue";
    const std::string fellBack = "retour aux précédents";
    const size_t keptBefore = Count(log(), kept);
    const size_t fellBackBefore = Count(log(), fellBack);
    ::kill(pid_, SIGHUP);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        int lines = 0;
        const int port = LastListeningPort(readFile(outPath_), lines);
        if (lines > listened) {
            port_ = port;
            return Count(log(), fellBack) == fellBackBefore;
        }
        if (Count(log(), kept) > keptBefore) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("tarmel-dataserver ended at reload: " + log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error("tarmel-dataserver did not reload in time: " + log());
}

void DataServerProcess::start() {
    if (pid_ > 0) return;
    const std::string outPath = folder_ + "/server" + std::to_string(++starts_) + ".out";
    outPath_ = outPath;
    std::vector<std::string> args = {
        executable(), "--db",      databasePath_, "--photos", photoFolder_,
        "--listen",   "127.0.0.1", "--port",      "0",        "--exit-with-parent"};
    args.insert(args.end(), extraArgs_.begin(), extraArgs_.end());
    pid_ = Spawn(args, outPath, folder_ + "/server.err");
    // The server prints "... listening on http://127.0.0.1:<port>/tarmel/" once it accepts.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string out = readFile(outPath);
        const std::string marker = "listening on http://127.0.0.1:";
        size_t at = out.find(marker);
        if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
            port_ = std::atoi(out.c_str() + at + marker.size());
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("tarmel-dataserver ended at start: " + log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill();
    throw std::runtime_error("tarmel-dataserver did not start in time: " + log());
}

void DataServerProcess::waitForExit() {
    WaitOrKill(pid_);
    pid_ = -1;
    port_ = 0;
}

void DataServerProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitForExit();
}

void DataServerProcess::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    waitForExit();
}

}  // namespace tarmel::testsupport
