// Times the walk of a query answer the way the search list reads it: XmlFind on the rowset, then
// XmlNext per row and XmlValue per column; and the check every answer passes before the window
// keeps it, on the same answers. Prints the median of several runs per size, in ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "server/answercheck.h"
#include "server/xml/txml.h"

namespace {

constexpr int kColumns = 10;
constexpr int kRuns = 15;

// A rowset answer as the data server writes it, with values of a realistic mix of lengths.
std::string Rowset(int rows) {
    std::string document = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><AXQueryS RowCount=\"" +
                           std::to_string(rows) + "\" EOF=\"1\">";
    for (int row = 0; row < rows; ++row) {
        document += "<AXQuery>";
        for (int column = 0; column < kColumns; ++column) {
            const std::string tag = "c" + std::to_string(column);
            std::string value;
            switch (column % 4) {
                case 0: value = std::to_string(100000 + row); break;
                case 1: value = "Dupont-Martin \xE9quipement " + std::to_string(row % 97); break;
                case 2: value = "12/03/2024"; break;
                default: value = ""; break;
            }
            document += "<" + tag + ">" + value + "</" + tag + ">";
        }
        document += "</AXQuery>";
    }
    return document + "</AXQueryS>";
}

// One walk; returns a checksum of what it read so the work cannot be optimised away, and the
// number of rows seen so a broken reader cannot look fast.
struct WalkResult {
    size_t bytes = 0;
    int rows = 0;
};

WalkResult Walk(const tarmel::TXml& answer) {
    static const std::string names[kColumns] = {"c0", "c1", "c2", "c3", "c4",
                                                "c5", "c6", "c7", "c8", "c9"};
    WalkResult result;
    tarmel::TXml reader = answer;
    tarmel::XmlFind(reader, "AXQueryS");
    std::string value;
    while (tarmel::XmlNext(reader, "AXQuery") != 0) {
        for (const std::string& name : names) {
            value.clear();
            tarmel::XmlValue(reader, name, value);
            result.bytes += value.size();
        }
        ++result.rows;
    }
    return result;
}

double MedianWalkMs(int rows) {
    const tarmel::TXml answer(Rowset(rows));
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const WalkResult result = Walk(answer);
        const auto stop = std::chrono::steady_clock::now();
        if (result.rows != rows || result.bytes == 0) {
            std::fprintf(stderr, "bench_xml_walk: read %d rows of %d\n", result.rows, rows);
            std::exit(1);
        }
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

double MedianCheckMs(int rows) {
    const std::string answer = Rowset(rows);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::string problem = tarmel::AnswerProblem("AxQuery", answer);
        const auto stop = std::chrono::steady_clock::now();
        if (!problem.empty()) {
            std::fprintf(stderr, "bench_xml_walk: a good answer refused: %s\n", problem.c_str());
            std::exit(1);
        }
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main() {
    const double small = MedianWalkMs(5000);
    const double large = MedianWalkMs(50000);
    std::printf("bench: xml_walk_5000 %.2f ms\n", small);
    std::printf("bench: xml_walk_50000 %.2f ms\n", large);
    std::printf("bench: answercheck_5000 %.2f ms\n", MedianCheckMs(5000));
    std::printf("bench: answercheck_50000 %.2f ms\n", MedianCheckMs(50000));
    return 0;
}
