// Text routines used with the reader: whole files, ";" lists, and the UTF-8 <-> Latin-1 bridge for
// the program's own French texts (source files are UTF-8, everything on the wire is ISO-8859-1).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarmel {

// The file's lines, each followed by CR LF (so the result ends with a line break whatever the
// file's own line ends: CR, LF or CR LF). nullopt when the file cannot be read.
std::optional<std::string> LoadTextFile(const std::string& path);

// The n-th (1-based) field of a ";"-separated list; empty for a missing field or n < 1.
std::string FieldOf(std::string_view text, int n);

// A UTF-8 text (a literal of this program) as Latin-1 bytes; characters outside Latin-1 become "?",
// and so does each byte of malformed UTF-8 that starts no valid sequence.
std::string Latin1FromUtf8(std::string_view utf8);

// Latin-1 bytes as UTF-8 (for logs and terminals).
std::string Utf8FromLatin1(std::string_view latin1);

// Every occurrence of from replaced by to, left to right; a replacement is never searched again.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// ASCII letters upper-cased; accented (Latin-1) letters stay as they are, as the server compares.
std::string UpperAscii(std::string_view text);
// Capitals of Latin-1 text as a reader expects them: the accented small letters too (é -> É);
// ß and ÿ, which have no Latin-1 capital, stay.
std::string UpperLatin1(std::string_view text);
std::string LowerAscii(std::string_view text);
// Equal but for the case of ASCII letters (accented Latin-1 letters must match exactly).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tarmel
