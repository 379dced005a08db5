// Raw query-string parsing for the data server: the client sends its SQL unencoded except for
// blanks, "#" and the few characters its text encoder escapes, so no standard form decoding fits.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarmel::dataserver {

// Decodes "%XX" (two hex digits, either case) into the byte it names. Everything else is kept as
// it is: "+" stays a plus sign, a "%" not followed by two hex digits stays a "%", and bytes above
// 127 pass through (they are the client's Latin-1 text).
std::string PercentDecode(std::string_view raw);

// The parameters of a raw query string (the text after the first "?"), in order. Items are split
// at an "&" that starts a parameter (one followed by a name of letters, digits or "_" and then
// "="); inside the value of "SQL" or "SQLExecute" an "&" within a quoted literal never splits, so
// an unencoded "&" typed in a search text stays in the SQL. Each item is split at its first "=";
// names and values are percent-decoded. An item without "=" is a name with an empty value; empty
// items are dropped.
using QueryParams = std::vector<std::pair<std::string, std::string>>;
QueryParams ParseQuery(std::string_view rawQuery);

// The value of the first parameter whose name matches (ASCII case-insensitively), if any.
std::optional<std::string> FindParam(const QueryParams& params, std::string_view name);

// Splits a raw request target into its path and its raw query (empty when there is no "?").
std::pair<std::string_view, std::string_view> SplitTarget(std::string_view target);

}  // namespace tarmel::dataserver
