// tarmel-dataserver: start-up, configuration reload (SIGHUP) and shutdown of the dealership data
// server. Under systemd its stdout and stderr are the journal: one plain line per event.
#include <semaphore.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dataserver/database.h"
#include "dataserver/demodata.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"
#include "dataserver/postgres/pgsetup.h"
#include "dataserver/serverconfig.h"

namespace {

using namespace tarmel::dataserver;

sem_t gWake;
volatile std::sig_atomic_t gStop = 0;
volatile std::sig_atomic_t gReload = 0;

void OnStop(int) {
    gStop = 1;
    sem_post(&gWake);
}

void OnReload(int) {
    gReload = 1;
    sem_post(&gWake);
}

// The journal names the program on each line already (systemd sets JOURNAL_STREAM when stderr
// is the journal's).
const char* Prefix() {
    static const bool journal = std::getenv("JOURNAL_STREAM") != nullptr;
    return journal ? "" : "tarmel-dataserver: ";
}

void Log(const std::string& message) {
    std::fprintf(stderr, "%s%s\n", Prefix(), message.c_str());
}

void Usage() {
    std::fprintf(stderr,
                 "usage: tarmel-dataserver [--config FILE] --db FILE|CONNINFO [--create-demo]\n"
                 "         [--demo-vehicles N] [--demo-clients N] [--listen ADDR] [--port N]\n"
                 "         [--base /tarmel/] [--photos DIR] [--images-url /tarmel/images/]\n"
                 "         [--threads N] [--sms-path PATH] [--quiet] [--build-only]\n"
                 "         [--exit-with-parent] [--print-ftp-settings]\n"
                 "  --config FILE   reads \"key = value\" settings (keys: the long options\n"
                 "                  without \"--\", and create-database, log-requests, ftp-*);\n"
                 "                  options before it are overridden by the file, options\n"
                 "                  after it win;\n"
                 "                  SIGHUP reads the file again and restarts the listener\n"
                 "  --db CONNINFO   a PostgreSQL database: postgresql://user@host/dbname, or\n"
                 "                  libpq's \"host=... dbname=...\" (--photos is then required)\n"
                 "  --create-demo   build the demo dealership into FILE when FILE does not exist\n"
                 "                  (into an empty PostgreSQL database likewise)\n"
                 "  --build-only    with --create-demo: build the database, then exit\n"
                 "  --exit-with-parent  stop when the process that started the server ends\n"
                 "  --listen ADDR   numeric address to listen on (default 127.0.0.1)\n"
                 "  --port 0        listen on a free port (printed on stdout)\n"
                 "  --print-ftp-settings  print the photo FTP server's settings, then exit\n");
}

// Reads the command line and the configuration file it names into settings that can run.
bool ReadSettings(const std::vector<std::string>& args, CommandLine& command) {
    std::vector<std::string> errors = ParseCommandLine(args, &ReadTextFile, command);
    if (errors.empty() && !command.help) errors = Complete(command.settings);
    for (const std::string& e : errors) Log(e);
    return errors.empty();
}

// The database and the HTTP listener of one set of settings; the listener stops first.
struct Running {
    std::unique_ptr<Database> db;
    std::unique_ptr<HttpServer> server;
};

bool CreateIfAbsent(const ServerSettings& s, std::string& error) {
    if (s.create != CreateDatabase::Demo) return true;
    DemoOptions demo;
    demo.vehicles = s.demoVehicles;
    demo.clients = s.demoClients;
    if (IsPostgresConnection(s.database)) {
        return BuildPostgresDemo(s.database, s.photos, demo, error);
    }
    const bool absent = !std::filesystem::exists(s.database);
    if (!BuildDemoDatabase(s.database, s.photos, demo, error)) return false;
    if (absent) Log("base de démonstration créée : " + s.database);
    return true;
}

std::unique_ptr<Database> OpenDatabase(const ServerSettings& s, std::string& error) {
    if (!CreateIfAbsent(s, error)) return nullptr;
    DatabaseOptions options;
    options.path = s.database;
    options.create = s.create == CreateDatabase::Empty;
    options.readers = static_cast<int>(s.threads) + 1;
    return Database::Open(options, error);
}

std::unique_ptr<Running> Start(const ServerSettings& s, std::string& error) {
    auto running = std::make_unique<Running>();
    running->db = OpenDatabase(s, error);
    if (!running->db) return nullptr;
    HttpOptions http;
    http.address = s.listen;
    http.port = s.port;
    http.threads = s.threads;
    http.logRequests = s.logRequests;
    EndpointConfig endpoints;
    endpoints.base = s.base;
    endpoints.photos = s.photos;
    endpoints.imagesPath = s.imagesPath;
    endpoints.smsPath = s.smsPath;
    running->server = std::make_unique<HttpServer>(http);
    RegisterEndpoints(*running->server, *running->db, endpoints);
    if (!running->server->Start(error)) return nullptr;
    std::printf("%slistening on http://%s:%u%s\n", Prefix(), s.listen.c_str(),
                static_cast<unsigned>(running->server->boundPort()), s.base.c_str());
    std::fflush(stdout);
    return running;
}

// SIGHUP: the settings read again; a file that does not read, or settings that do not start,
// leave the server answering with the settings it had.
void Reload(const std::vector<std::string>& args, ServerSettings& current,
            std::unique_ptr<Running>& running) {
    CommandLine next;
    if (!ReadSettings(args, next)) {
        Log("configuration non relue : les réglages en cours restent");
        return;
    }
    running.reset();
    std::string error;
    running = Start(next.settings, error);
    if (running) {
        current = next.settings;
        Log("configuration relue");
        return;
    }
    Log("les nouveaux réglages ne démarrent pas (" + error + ") : retour aux précédents");
    running = Start(current, error);
    if (!running) Log("les réglages précédents ne démarrent plus : " + error);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine command;
    if (!ReadSettings(args, command) || command.help) {
        Usage();
        return command.help ? 0 : 2;
    }
    if (command.printFtp) {
        std::fputs(FtpSettingsText(command.settings).c_str(), stdout);
        return 0;
    }
    if (command.exitWithParent) {
        // A test program that dies must not leave its server behind.
        const pid_t parent = getppid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) return 1;
    }
    ServerSettings current = command.settings;

    // A runaway statement fails with "out of memory" instead of taking the machine's memory.
    sqlite3_hard_heap_limit64(int64_t{1} << 30);

    std::string error;
    if (command.buildOnly) {
        if (!OpenDatabase(current, error)) {
            Log(error);
            return 1;
        }
        return 0;
    }
    sem_init(&gWake, 0, 0);
    std::signal(SIGINT, OnStop);
    std::signal(SIGTERM, OnStop);
    std::signal(SIGHUP, OnReload);
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<Running> running = Start(current, error);
    if (!running) {
        Log(error);
        return 1;
    }
    while (true) {
        while (sem_wait(&gWake) != 0) {
        }
        if (gStop) break;
        if (gReload) {
            gReload = 0;
            Reload(args, current, running);
            if (!running) return 1;
        }
    }
    running.reset();
    return 0;
}
