// Encoders for values placed in SQL statements that travel inside request URLs. Values are
// embedded as text, never as parameters; the data server percent-decodes the query string.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

// Trimmed text between apostrophes: "%" -> "%25" first (the server percent-decodes, so a bare "%"
// would corrupt the value), then '"' -> "%22", "&" -> "%26", "<" -> "%3C", ">" -> "%3E", "'" -> "''",
// every control byte below 0x20 and DEL as "%XX" (CR LF -> "%0D%0A", tab -> "%09", a lone LF ->
// "%0A"). Every other byte (plus, equals, question mark, Latin-1 letters) is unchanged.
std::string SqlText(std::string_view text);

// Trimmed text with every "," turned into "."; not quoted, not validated.
std::string SqlNumber(std::string_view text);

// "#mm/dd/yyyy#" for a valid "dd/mm/yyyy" date, "NULL" for an empty, invalid or zero date.
std::string SqlDate(std::string_view text);

// Trims leading and trailing blanks (spaces and control characters, as the original platform did).
std::string_view TrimBlanks(std::string_view text);

}  // namespace tarmel
