// Result files: the last answer of the data server for one purpose, replaced as a whole.
#pragma once

#include <string>

namespace tarmel {

// Writes bytes to a temporary file in the same folder, then renames it over path, so a reader
// never sees half an answer, whatever happens during the write (crash, full disk). On failure the
// previous file is left as it was.
struct ResultFileWrite {
    bool ok = true;
    std::string error;   // one French sentence for the warning band, in Latin-1
    std::string detail;  // the file and the system's reason, for the trace log
};
ResultFileWrite WriteResultFile(const std::string& path, const std::string& bytes);

}  // namespace tarmel
