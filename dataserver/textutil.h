// Small text helpers shared by the data server (case folding is ASCII only: accented Latin-1
// letters stay as they are). Case changes and EqualsNoCase are in server/xml/texttools.h.
#pragma once

#include <string>
#include <string_view>

#include "server/xml/texttools.h"

namespace tarmel::dataserver {

// A message of the server, written in UTF-8 in the source, as the Latin-1 its answers carry.
std::string Msg(std::string_view utf8);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Drops leading and trailing spaces, tabs, CRs and LFs; every other byte stays. (TrimBlanks in
// server/encoders.h drops every control byte as well, the way the client trims what it sends.)
std::string_view TrimWhitespace(std::string_view text);

}  // namespace tarmel::dataserver
