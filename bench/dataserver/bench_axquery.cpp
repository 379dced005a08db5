// The "AxQuery" plate search on a large dealership: the median of the same SELECT run directly in
// SQLite and sent over loopback HTTP (answer parsed as the client parses it), then the rate of 16
// keep-alive connections searching at once.
//   bench_axquery [database]   (default: axquery-100k.db beside the executable, built when absent)
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dataserver/database.h"
#include "dataserver/demodata.h"
#include "dataserver/dialect.h"
#include "dataserver/endpoints.h"
#include "dataserver/httpserver.h"
#include "bench/connection.h"
#include "bench/dataserver/searchrequests.h"
#include "bench/directquery.h"
#include "server/xml/txml.h"

namespace {

using namespace tarmel::dataserver;
using Clock = std::chrono::steady_clock;

constexpr int kVehicles = 100000;
constexpr int kClients = 100000;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

using tarmel::bench::PlateSearch;

// The request target as the client sends it.
std::string Target(const std::string& sql) {
    return "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + tarmel::bench::TargetText(sql) +
           "&MaxRows=50&idClient=";
}

using tarmel::bench::Connection;

// The answer read as the search result list reads it; false on a log item or no rowset.
bool ParseAnswer(const std::string& body, int& rows) {
    tarmel::TXml reader(body);
    std::string count;
    tarmel::XmlAttr(reader, "RowCount", count);
    if (count.empty() || body.find("<LogItem>") != std::string::npos) return false;
    tarmel::XmlFind(reader, "AXQueryS");
    rows = 0;
    while (tarmel::XmlNext(reader, "AXQuery") != 0) {
        std::string id, plate;
        tarmel::XmlValue(reader, "VO_ID", id);
        tarmel::XmlValue(reader, "VO_IMMAT", plate);
        ++rows;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path here = fs::absolute(fs::path(argv[0])).parent_path();
    const std::string path = argc > 1 ? argv[1] : (here / "axquery-100k.db").string();
    std::string error;
    if (!fs::exists(path)) {
        std::fprintf(stderr, "building %s (%d vehicles, %d clients)...\n", path.c_str(), kVehicles,
                     kClients);
        const auto start = Clock::now();
        DemoOptions demo;
        demo.vehicles = kVehicles;
        demo.clients = kClients;
        if (!BuildDemoDatabase(path, path + ".photos", demo, error)) {
            std::fprintf(stderr, "cannot build the database: %s\n", error.c_str());
            return 1;
        }
        std::fprintf(stderr, "built in %.1f s\n", Ms(Clock::now() - start) / 1000);
    }

    // Search texts: two digits of a real plate's number, in the vehicle's dealership, as a
    // salesperson types what they remember of a plate ("AB-123-CD" -> "12"). The whole plate, the
    // slowest search (no early end of the ordered scan), is measured as well and shown on stderr.
    sqlite3* direct = nullptr;
    sqlite3_open_v2(path.c_str(), &direct, SQLITE_OPEN_READONLY, nullptr);
    std::vector<std::string> statements, wholePlates;
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(
            direct,
            "SELECT Immatriculation, Concession FROM tVehicles WHERE "
            "length(Immatriculation) = 9 ORDER BY (idVO * 7919) % 1000, idVO LIMIT 200",
            -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::string plate = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            std::string dealership = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            statements.push_back(
                PlateSearch(plate.substr(3 + statements.size() % 2, 2), dealership));
            wholePlates.push_back(PlateSearch(plate, dealership));
        }
        sqlite3_finalize(stmt);
    }
    if (statements.empty()) {
        std::fprintf(stderr, "no vehicles in %s\n", path.c_str());
        return 1;
    }

    // Direct: the translated SELECT prepared and stepped in-process, at most 51 rows read.
    auto runDirect = [&](const std::vector<std::string>& list, int rounds) {
        std::vector<double> times;
        for (int round = 0; round < rounds; ++round) {
            for (const std::string& sql : list) {
                const auto start = Clock::now();
                tarmel::bench::ReadFirstRows(direct, TranslateDialect(sql).sql);
                if (round > 0) times.push_back(Ms(Clock::now() - start));
            }
        }
        return times;
    };
    std::vector<double> directMs = runDirect(statements, 5);
    std::vector<double> directWholeMs = runDirect(wholePlates, 2);
    sqlite3_close(direct);

    // The server, in this process, as tarmel-dataserver runs it.
    DatabaseOptions dbOptions;
    dbOptions.path = path;
    HttpOptions httpOptions;
    httpOptions.port = 0;
    httpOptions.threads = 4;
    httpOptions.logRequests = false;
    dbOptions.readers = static_cast<int>(httpOptions.threads) + 1;
    auto db = Database::Open(dbOptions, error);
    if (!db) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    HttpServer server(httpOptions);
    EndpointConfig config;
    RegisterEndpoints(server, *db, config);
    if (!server.Start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const int port = server.boundPort();
    std::vector<std::string> targets;
    for (const std::string& sql : statements) targets.push_back(Target(sql));

    auto runHttp = [&](const std::vector<std::string>& list, int rounds,
                       std::vector<double>& times) {
        Connection connection(port);
        std::string body;
        for (int round = 0; round < rounds; ++round) {
            for (const std::string& sql : list) {
                const auto start = Clock::now();
                int rows = 0;
                if (!connection.Get(Target(sql), body) || !ParseAnswer(body, rows)) {
                    std::fprintf(stderr, "search failed: %s\n", body.c_str());
                    return false;
                }
                if (round > 0) times.push_back(Ms(Clock::now() - start));
            }
        }
        return true;
    };
    std::vector<double> httpMs, httpWholeMs;
    if (!runHttp(statements, 5, httpMs) || !runHttp(wholePlates, 2, httpWholeMs)) return 1;
    std::fprintf(stderr, "whole plate: direct p50 %.3f ms, http p50 %.3f ms\n",
                 Median(directWholeMs), Median(httpWholeMs));

    // 16 keep-alive connections searching for five seconds.
    std::atomic<long> done{0}, errors{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    const auto loadStart = Clock::now();
    for (int c = 0; c < 16; ++c) {
        clients.emplace_back([&, c] {
            Connection connection(port);
            std::string body;
            size_t i = static_cast<size_t>(c) * 13;
            while (!stop) {
                int rows = 0;
                if (connection.Get(targets[i++ % targets.size()], body) &&
                    ParseAnswer(body, rows)) {
                    ++done;
                } else {
                    ++errors;
                    return;  // a broken connection stays broken
                }
            }
        });
    }
    std::this_thread::sleep_for(std::chrono::seconds(5));
    stop = true;
    for (auto& t : clients) t.join();
    const double seconds = Ms(Clock::now() - loadStart) / 1000;
    server.Stop();

    std::printf("bench: axquery_direct_p50 %.3f ms\n", Median(directMs));
    std::printf("bench: axquery_http_p50 %.3f ms\n", Median(httpMs));
    std::printf("bench: axquery_rps_c16 %.0f req/s\n", static_cast<double>(done) / seconds);
    std::printf("bench: axquery_errors_c16 %ld count\n", errors.load());
    return 0;
}
