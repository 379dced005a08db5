// A second workstation writing the records the window edits, over plain HTTP to the same data
// server and on its own thread: updates of columns the window leaves alone on those rows, and
// lines of its own (cost lines, client actions) inserted and, past a few per record, deleted
// again so that the window's grids stay under their 99 lines. Only writes the server acknowledged
// (no log item, the rows counted) are remembered, to be looked for in the database at the end.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarmel {
class HttpClient;
}

namespace tarmel::testsupport {

struct SoakVehicle {
    std::string idTVO, idVO, plate;
};

// A line the writer inserted (and perhaps deleted): found at the end exactly when not deleted.
struct WrittenLine {
    std::string table;     // "[tVO - Frevo]" or "tActions"
    std::string idColumn;  // "idFrevo" or "idAction"
    std::string id;        // the server's new identifier
    std::string owner;     // idVO or idClient
    std::string label;     // LibelleFrevo or CommentaireAction, unique to the line
    bool deleted = false;
};

// The writer's text for the value n of a column it owns, and back (0 when not one of its texts).
std::string WriterText(long n);
long WriterNumber(const std::string& text);

class SecondWriter {
public:
    // idCom: a salesman of the dealership, for the actions.
    SecondWriter(std::string baseHRef, std::vector<SoakVehicle> vehicles,
                 std::vector<std::string> clients, std::string idCom);
    ~SecondWriter();
    SecondWriter(const SecondWriter&) = delete;
    SecondWriter& operator=(const SecondWriter&) = delete;

    void Start();
    void Stop();  // waits for the request in flight

    // The last value acknowledged for the vehicle's CommentaireReprise and KMS, and for the
    // client's CliProfession and CliEmployeur (0: none yet).
    long VehicleValue(size_t vehicle) const;
    long ClientValue(size_t client) const;

    long acknowledged() const { return acknowledged_; }
    // Requests sent and not acknowledged, with what the server said.
    std::vector<std::string> failures() const;
    // Read after Stop.
    const std::vector<WrittenLine>& lines() const { return lines_; }

private:
    void Run();
    // Sends the statement; true when acknowledged with exactly rows rows (any, for -1). newId
    // receives the identifier the server gave an insert.
    bool Execute(HttpClient& http, const char* endpoint, const std::string& statement, long rows,
                 std::string* newId = nullptr);
    // A cost line of the vehicle, or an action of the client, labelled with n.
    void InsertLine(HttpClient& http, size_t record, bool cost, long n);
    // Deletes the oldest lines of the owner past the few kept.
    void DeleteOldLines(HttpClient& http, const std::string& table, const std::string& owner);

    std::string baseHRef_;
    std::vector<SoakVehicle> vehicles_;
    std::vector<std::string> clients_;
    std::string idCom_;

    std::atomic<bool> stop_{false};
    std::atomic<long> acknowledged_{0};
    mutable std::mutex mutex_;
    std::vector<long> vehicleValues_, clientValues_;
    std::vector<std::string> failures_;
    std::vector<WrittenLine> lines_;
    std::thread thread_;
};

}  // namespace tarmel::testsupport
