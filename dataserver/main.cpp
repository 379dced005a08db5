// tarmel-dataserver: command-line options, start-up and shutdown of the dealership data server.
#include <semaphore.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dataserver/database.h"
#include "dataserver/demodata.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"
#include "dataserver/postgres/pgsetup.h"

namespace {

sem_t gStop;

void OnSignal(int) {
    sem_post(&gStop);
}

void Usage() {
    std::fprintf(stderr,
                 "usage: tarmel-dataserver --db FILE|CONNINFO [--create-demo] [--demo-vehicles N]\n"
                 "         [--demo-clients N] [--listen ADDR] [--port N] [--base /tarmel/]\n"
                 "         [--photos DIR] [--images-url /tarmel/images/] [--threads N] [--quiet]\n"
                 "         [--build-only] [--exit-with-parent]\n"
                 "  --db CONNINFO   a PostgreSQL database: postgresql://user@host/dbname, or\n"
                 "                  libpq's \"host=... dbname=...\" (--photos is then required)\n"
                 "  --create-demo   build the demo dealership into FILE when FILE does not exist\n"
                 "                  (into an empty PostgreSQL database likewise)\n"
                 "  --build-only    with --create-demo: build the database, then exit\n"
                 "  --exit-with-parent  stop when the process that started the server ends\n"
                 "  --listen ADDR   numeric address to listen on (default 127.0.0.1)\n"
                 "  --port 0        listen on a free port (printed on stdout)\n");
}

std::string WithSlashes(std::string path) {
    if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
    if (path.back() != '/') path.push_back('/');
    return path;
}

// Only the path part of an images address counts here (the client puts the host in front).
std::string PathOfUrl(std::string url) {
    size_t scheme = url.find("://");
    if (scheme != std::string::npos) {
        size_t slash = url.find('/', scheme + 3);
        url = slash == std::string::npos ? "/" : url.substr(slash);
    }
    return WithSlashes(url);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tarmel::dataserver;
    DatabaseOptions dbOptions;
    HttpOptions httpOptions;
    EndpointConfig config;
    DemoOptions demo;
    bool createDemo = false;
    bool buildOnly = false;
    bool imagesGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tarmel-dataserver: %s needs a value\n", argv[i]);
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--db") {
            dbOptions.path = value();
        } else if (arg == "--create-demo") {
            createDemo = true;
        } else if (arg == "--exit-with-parent") {
            // A test program that dies must not leave its server behind.
            const pid_t parent = getppid();
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) return 1;
        } else if (arg == "--build-only") {
            buildOnly = true;
        } else if (arg == "--demo-vehicles") {
            demo.vehicles = std::atoi(value().c_str());
        } else if (arg == "--demo-clients") {
            demo.clients = std::atoi(value().c_str());
        } else if (arg == "--listen") {
            httpOptions.address = value();
        } else if (arg == "--port") {
            httpOptions.port = static_cast<uint16_t>(std::atoi(value().c_str()));
        } else if (arg == "--base") {
            config.base = WithSlashes(value());
        } else if (arg == "--photos") {
            config.photos = value();
        } else if (arg == "--images-url") {
            config.imagesPath = PathOfUrl(value());
            imagesGiven = true;
        } else if (arg == "--threads") {
            httpOptions.threads = static_cast<unsigned>(std::atoi(value().c_str()));
        } else if (arg == "--quiet") {
            httpOptions.logRequests = false;
        } else {
            Usage();
            return 2;
        }
    }
    if (dbOptions.path.empty()) {
        Usage();
        return 2;
    }
    if (!imagesGiven) config.imagesPath = config.base + "images/";
    const bool postgres = IsPostgresConnection(dbOptions.path);
    if (config.photos.empty() && postgres) {
        std::fprintf(stderr,
                     "tarmel-dataserver: --photos is required with a PostgreSQL database\n");
        return 2;
    }
    if (config.photos.empty()) config.photos = dbOptions.path + ".photos";
    dbOptions.readers = static_cast<int>(httpOptions.threads) + 1;

    // A runaway statement fails with "out of memory" instead of taking the machine's memory.
    sqlite3_hard_heap_limit64(int64_t{1} << 30);

    std::string error;
    if (createDemo && !(postgres ? BuildPostgresDemo(dbOptions.path, config.photos, demo, error)
                                 : BuildDemoDatabase(dbOptions.path, config.photos, demo, error))) {
        std::fprintf(stderr, "tarmel-dataserver: %s\n", error.c_str());
        return 1;
    }
    auto db = Database::Open(dbOptions, error);
    if (!db) {
        std::fprintf(stderr, "tarmel-dataserver: %s\n", error.c_str());
        return 1;
    }
    if (buildOnly) return 0;
    HttpServer server(httpOptions);
    RegisterEndpoints(server, *db, config);
    if (!server.Start(error)) {
        std::fprintf(stderr, "tarmel-dataserver: %s\n", error.c_str());
        return 1;
    }
    sem_init(&gStop, 0, 0);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("tarmel-dataserver: listening on http://%s:%u%s\n", httpOptions.address.c_str(),
                static_cast<unsigned>(server.boundPort()), config.base.c_str());
    std::fflush(stdout);
    while (sem_wait(&gStop) != 0) {
    }
    server.Stop();
    return 0;
}
