// Small ASCII text helpers shared by the data server (case folding is ASCII only: accented
// Latin-1 letters stay as they are). Upper-casing is UpperAscii, in server/xml/texttools.h.
#pragma once

#include <string>
#include <string_view>

namespace tarmel::dataserver {

char AsciiLower(char c);
std::string AsciiLowerCopy(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Drops leading and trailing spaces, tabs, CRs and LFs; every other byte stays. (TrimBlanks in
// server/encoders.h drops every control byte as well, the way the client trims what it sends.)
std::string_view TrimWhitespace(std::string_view text);

}  // namespace tarmel::dataserver
