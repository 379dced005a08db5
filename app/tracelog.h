// The trace log TAXTarmel.log in the working folder: one dated line per traced message, written
// only while the settings switch "Trace" is on.
#pragma once

#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarmel {

/// A trace line could not be written. what() is a French message in Latin-1 naming the file and
/// the system's reason. The operation that was tracing stops; the window reports it at its
/// handler boundary.
class TraceLogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TraceLog {
public:
    bool on = false;
    std::string workDir;
    /// Time stamp of the lines; tests fix it.
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };

    /// workDir + "/TAXTarmel.log".
    std::string fileName() const;

    /// Appends "dd/mm/yyyy HH:MM:SS - " + message + "\n" (local time) when on.
    /// The log is opt-in by its existence: while it does not exist, a message creates it empty and
    /// is itself lost, so the first message after switching the trace on (or after the log was
    /// deleted) never appears. An empty message empties an existing log.
    /// Throws TraceLogError when the file cannot be checked, created or written.
    void Write(std::string_view message);
};

}  // namespace tarmel
