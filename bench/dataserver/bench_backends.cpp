// One data server on SQLite against two data servers on one PostgreSQL, in the same run, on the
// same generated dealership (100,000 vehicles and 100,000 clients): the plate searches of the
// search panel mixed with the record documents of vehicles and clients, first one request at a
// time (median), then from 16 keep-alive connections for five seconds (rate). The servers are the
// real tarmel-dataserver program; the PostgreSQL cluster is a private one the benchmark starts.
//   bench_backends [sqlite file]   (default: axquery-100k.db beside the executable)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/connection.h"
#include "bench/dataserver/searchrequests.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tarmel::bench::Connection;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (out + ".err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// A tarmel-dataserver on a free port, stopped when this ends.
class Server {
public:
    Server(const std::string& db, const std::string& photos, const std::string& log) {
        pid_ = Spawn({TARMEL_DATASERVER_EXE, "--db", db, "--photos", photos, "--port", "0",
                      "--quiet", "--exit-with-parent"},
                     log);
        const std::string marker = "listening on http://127.0.0.1:";
        for (int i = 0; i < 3000 && pid_ > 0 && port_ == 0; ++i) {
            const std::string out = ReadFile(log);
            const size_t at = out.find(marker);
            if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
                port_ = std::atoi(out.c_str() + at + marker.size());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (port_ == 0) std::fprintf(stderr, "server failed: %s\n", ReadFile(log + ".err").c_str());
    }
    ~Server() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        Wait(pid_);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

using tarmel::bench::PlateSearch;

std::string QueryTarget(const std::string& sql, int maxRows) {
    return "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + tarmel::bench::TargetText(sql) +
           "&MaxRows=" + std::to_string(maxRows) + "&idClient=";
}

// The values of one column of an answer, in order.
std::vector<std::string> Values(const std::string& body, const std::string& column) {
    std::vector<std::string> out;
    const std::string open = "<" + column + ">", close = "</" + column + ">";
    for (size_t at = body.find(open); at != std::string::npos; at = body.find(open, at + 1)) {
        const size_t start = at + open.size();
        out.push_back(body.substr(start, body.find(close, start) - start));
    }
    return out;
}

// The requests of the run: a plate search, a vehicle document, a client document, in turn.
std::vector<std::string> Requests(int port) {
    Connection c(port);
    std::string body;
    std::vector<std::string> requests;
    if (!c.Get(QueryTarget("SELECT Immatriculation AS P, Concession AS D, idTVO AS V FROM "
                           "tVehicles WHERE length(Immatriculation) = 9 ORDER BY idVO",
                           200),
               body)) {
        return requests;
    }
    const auto plates = Values(body, "P"), dealers = Values(body, "D"), vehicles = Values(body, "V");
    if (!c.Get(QueryTarget("SELECT idClient AS C FROM tClients ORDER BY idClient", 200), body)) {
        return requests;
    }
    const auto clients = Values(body, "C");
    for (size_t i = 0; i < plates.size() && i < dealers.size() && i < vehicles.size() &&
                       i < clients.size();
         ++i) {
        requests.push_back(
            QueryTarget(PlateSearch(plates[i].substr(3 + i % 2, 2), dealers[i]), 50));
        requests.push_back("/tarmel/AxInfoVO?XMLC_OutputFormat=XML&idTVO=" + vehicles[i] +
                           "&UserID=3&idClient=");
        requests.push_back("/tarmel/AxInfoCL?XMLC_OutputFormat=XML&idClient=" + clients[i] +
                           "&UserID=3");
    }
    return requests;
}

bool Answered(const std::string& body) {
    return !body.empty() && body.find("<LogItem>") == std::string::npos;
}

// Each request once, one at a time after a warm-up round: the median in ms.
double MedianMs(int port, const std::vector<std::string>& requests) {
    Connection c(port);
    std::string body;
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        for (const std::string& r : requests) {
            const auto start = Clock::now();
            if (!c.Get(r, body) || !Answered(body)) {
                std::fprintf(stderr, "request failed: %s\n%s\n", r.c_str(), body.c_str());
                return -1;
            }
            if (round > 0) times.push_back(Ms(Clock::now() - start));
        }
    }
    return Median(times);
}

// 16 keep-alive connections spread over the servers for five seconds: requests per second.
double Rate(const std::vector<int>& ports, const std::vector<std::string>& requests,
            long& errors) {
    std::atomic<long> done{0}, failed{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    for (int i = 0; i < 16; ++i) {
        clients.emplace_back([&, i] {
            Connection c(ports[static_cast<size_t>(i) % ports.size()]);
            std::string body;
            size_t k = static_cast<size_t>(i) * 37;
            while (!stop) {
                if (c.Get(requests[k++ % requests.size()], body) && Answered(body)) {
                    ++done;
                } else {
                    ++failed;
                    return;
                }
            }
        });
    }
    std::this_thread::sleep_for(std::chrono::seconds(5));
    stop = true;
    for (auto& t : clients) t.join();
    errors = failed;
    return static_cast<double>(done) / (Ms(Clock::now() - start) / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path here = fs::absolute(fs::path(argv[0])).parent_path();
    const std::string sqlite = argc > 1 ? argv[1] : (here / "axquery-100k.db").string();
    const std::string photos = (here / "bench-backends.photos").string();
    fs::create_directories(photos);
    const std::string demoSize[] = {"--demo-vehicles", "100000", "--demo-clients", "100000"};
    auto build = [&](const std::string& db) {
        const auto start = Clock::now();
        std::vector<std::string> args = {TARMEL_DATASERVER_EXE, "--db", db, "--photos", photos,
                                         "--create-demo", "--build-only"};
        args.insert(args.end(), std::begin(demoSize), std::end(demoSize));
        const pid_t pid = Spawn(args, (here / "bench-backends-build.out").string());
        if (pid <= 0 || Wait(pid) != 0) {
            std::fprintf(stderr, "cannot build %s: %s\n", db.c_str(),
                         ReadFile((here / "bench-backends-build.out.err").string()).c_str());
            return false;
        }
        std::fprintf(stderr, "%s ready in %.1f s\n", db.c_str(), Ms(Clock::now() - start) / 1000);
        return true;
    };
    // The cluster lives outside the build tree, which its unprivileged owner may not reach.
    const std::string cluster = "/tmp/tarmel-bench-pg";
    const std::string script = std::string(TARMEL_SOURCE_DIR) + "/scripts/pgcluster.sh";
    if (std::system(("bash " + script + " start " + cluster).c_str()) != 0) return 1;
    const std::string pg = "host=" + cluster + " user=tarmel dbname=tarmel_bench";
    // Already there from an earlier run, most often: then it is kept, and so is its demo.
    if (std::system(("psql -q 'host=" + cluster + " user=tarmel dbname=postgres' -c 'CREATE "
                     "DATABASE tarmel_bench' >/dev/null 2>&1")
                        .c_str()) != 0) {
        std::fprintf(stderr, "tarmel_bench is there already\n");
    }
    int rc = 1;
    if (build(sqlite) && build(pg)) {
        Server one(sqlite, photos, (here / "bench-backends-sqlite.out").string());
        Server first(pg, photos, (here / "bench-backends-pg1.out").string());
        Server second(pg, photos, (here / "bench-backends-pg2.out").string());
        const std::vector<std::string> requests = Requests(one.port());
        if (one.port() != 0 && first.port() != 0 && second.port() != 0 && !requests.empty()) {
            const double p50Sqlite = MedianMs(one.port(), requests);
            const double p50Pg = MedianMs(first.port(), requests);
            long errorsSqlite = 0, errorsPg = 0;
            const double rpsSqlite = Rate({one.port()}, requests, errorsSqlite);
            const double rpsPg = Rate({first.port(), second.port()}, requests, errorsPg);
            std::printf("bench: axquery_p50_sqlite %.3f ms\n", p50Sqlite);
            std::printf("bench: axquery_p50_pg %.3f ms\n", p50Pg);
            std::printf("bench: axquery_rps_c16_sqlite %.0f req/s\n", rpsSqlite);
            std::printf("bench: axquery_rps_c16_pg2 %.0f req/s\n", rpsPg);
            std::printf("bench: axquery_errors_c16 %ld count\n", errorsSqlite + errorsPg);
            rc = p50Sqlite < 0 || p50Pg < 0 ? 1 : 0;
        }
    }
    if (std::system(("bash " + script + " stop " + cluster).c_str()) != 0) rc = 1;
    return rc;
}
