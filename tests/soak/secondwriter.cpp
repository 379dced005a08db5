// The second workstation's loop: each turn updates one vehicle and one client and inserts a line.
#include "tests/soak/secondwriter.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "server/encoders.h"
#include "server/exchangerules.h"
#include "server/httpclient.h"
#include "server/xml/txml.h"

namespace tarmel::testsupport {

namespace {

// Lines of its own the writer leaves on a record: with the demo's lines and the window's one,
// well under the 99 a grid shows.
constexpr size_t kLinesKept = 4;
// Between two requests: the window's requests get their turn on a machine of two cores.
constexpr std::chrono::milliseconds kPause{40};

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "#%m/%d/%Y#", &local);
    return text;
}

}  // namespace

std::string WriterText(long n) {
    return "w2 " + std::to_string(n);
}

long WriterNumber(const std::string& text) {
    if (text.rfind("w2 ", 0) != 0) return 0;
    return std::strtol(text.c_str() + 3, nullptr, 10);
}

SecondWriter::SecondWriter(std::string baseHRef, std::vector<SoakVehicle> vehicles,
                           std::vector<std::string> clients, std::string idCom)
    : baseHRef_(std::move(baseHRef)),
      vehicles_(std::move(vehicles)),
      clients_(std::move(clients)),
      idCom_(std::move(idCom)),
      vehicleValues_(vehicles_.size(), 0),
      clientValues_(clients_.size(), 0) {}

SecondWriter::~SecondWriter() {
    Stop();
}

void SecondWriter::Start() {
    thread_ = std::thread([this] { Run(); });
}

void SecondWriter::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

long SecondWriter::VehicleValue(size_t vehicle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return vehicleValues_[vehicle];
}

long SecondWriter::ClientValue(size_t client) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return clientValues_[client];
}

std::vector<std::string> SecondWriter::failures() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failures_;
}

bool SecondWriter::Execute(HttpClient& http, const char* endpoint, const std::string& statement,
                           long rows, std::string* newId) {
    const std::string url = EncodeUrlBlanks(
        baseHRef_ + endpoint + "?XMLC_OutputFormat=XML&SQLExecute=" + statement + "&idClient=");
    const HttpResponse response = http.Get(url);
    std::string problem;
    if (!response.ok) {
        problem = response.error + " (" + response.detail + ")";
    } else if (const std::string logs = LogItemsText(response.body); !logs.empty()) {
        problem = logs;
    } else {
        TXml answer{response.body};
        XmlFind(answer, "OutParams");
        const std::string affected = XmlValueOf(answer, "RowsAffected");
        const std::string id = XmlValueOf(answer, "NewID");
        if (rows >= 0 && affected != std::to_string(rows)) {
            problem = "rows affected: '" + affected + "'";
        } else if (newId != nullptr && id.empty()) {
            problem = "no new identifier";
        }
        if (newId != nullptr) *newId = id;
    }
    if (!problem.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        failures_.push_back(statement + ": " + problem);
        return false;
    }
    ++acknowledged_;
    return true;
}

void SecondWriter::InsertLine(HttpClient& http, size_t record, bool cost, long n) {
    WrittenLine line;
    line.label = "w2-" + std::to_string(n);
    std::string statement;
    if (cost) {
        line.table = "[tVO - Frevo]";
        line.idColumn = "idFrevo";
        line.owner = vehicles_[record].idVO;
        statement =
            "Insert into [tVO - Frevo] (DateFrevo,LibelleFrevo,TypeFrevo,MontantHT, "
            "idVO, idFrevo ) Values (" +
            Today() + "," + SqlText(line.label) + ",'externe'," + std::to_string(n % 1000) +
            ".50, " + line.owner + ", :NewID)";
    } else {
        line.table = "tActions";
        line.idColumn = "idAction";
        line.owner = clients_[record];
        statement =
            "Insert into tActions (DateAction,idCom,TypeAction,SujetAction,"
            "CommentaireAction, idClient, idAction ) Values (" +
            Today() + "," + idCom_ + ",2,1," + SqlText(line.label) + ", " + line.owner +
            ", :NewID)";
    }
    if (!Execute(http, "AxInsert", statement, 1, &line.id)) return;
    lines_.push_back(line);
    DeleteOldLines(http, line.table, line.owner);
}

void SecondWriter::DeleteOldLines(HttpClient& http, const std::string& table,
                                  const std::string& owner) {
    std::vector<WrittenLine*> live;
    for (WrittenLine& line : lines_) {
        if (!line.deleted && line.table == table && line.owner == owner) live.push_back(&line);
    }
    for (size_t i = 0; i + kLinesKept < live.size(); ++i) {
        WrittenLine& oldest = *live[i];
        if (!Execute(http, "AxUpdate",
                     "Delete * from " + table + " where " + oldest.idColumn + "=" + oldest.id, 1))
            return;
        oldest.deleted = true;
    }
}

void SecondWriter::Run() {
    HttpClient http;
    http.processEvents = nullptr;  // no event loop on this thread
    auto pause = [this] {
        if (!stop_) std::this_thread::sleep_for(kPause);
        return !stop_;
    };
    for (long n = 1; !stop_; ++n) {
        const size_t v = static_cast<size_t>(n) % vehicles_.size();
        const size_t c = static_cast<size_t>(n) % clients_.size();
        const std::string text = SqlText(WriterText(n));
        if (Execute(http, "AxUpdate",
                    "Update tVehicles set CommentaireReprise=" + text +
                        ",KMS=" + std::to_string(n) + " where (idTVO=" + vehicles_[v].idTVO + ")",
                    1)) {
            std::lock_guard<std::mutex> lock(mutex_);
            vehicleValues_[v] = n;
        }
        if (!pause()) break;
        if (Execute(http, "AxUpdate",
                    "Update tClients set CliProfession=" + text + ",CliEmployeur=" + text +
                        " where (idClient=" + clients_[c] + ")",
                    1)) {
            std::lock_guard<std::mutex> lock(mutex_);
            clientValues_[c] = n;
        }
        if (!pause()) break;
        InsertLine(http, n % 2 == 0 ? v : c, n % 2 == 0, n);
        if (!pause()) break;
    }
}

}  // namespace tarmel::testsupport
