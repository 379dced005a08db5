// Result files: the last answer of the data server for one purpose, replaced as a whole.
#pragma once

#include <string>

namespace tarmel {

// Writes bytes to a temporary file in the same folder, then renames it over path, so a reader
// never sees half an answer, whatever happens during the write (crash, full disk). Returns an
// empty text on success, otherwise a Latin-1 message naming the file and the reason; on failure
// the previous file is left as it was.
std::string WriteResultFile(const std::string& path, const std::string& bytes);

}  // namespace tarmel
