// The text of a request that goes into the server's log: under systemd the log is the journal,
// read on a terminal, so a request must not be able to add a line or send escape sequences.
#pragma once

#include <string>
#include <string_view>

namespace tarmel::dataserver {

// The raw (Latin-1) bytes as UTF-8 with every C0 and C1 control character, DEL and the
// backslash written as "\xHH", so one request stays one plain line.
std::string LogText(std::string_view raw);

}  // namespace tarmel::dataserver
