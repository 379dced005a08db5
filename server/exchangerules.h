// The decisions of the server exchange, on plain text: URL preparation, server time-out markers,
// the code-page rewrite and the warning text made of an answer's log items.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

// " " -> "%20", then "#" -> "%23"; every other byte is sent as it is.
std::string EncodeUrlBlanks(std::string_view url);

// True when the upper-cased answer holds "WAIT_TIMEOUT" or "<![CDATA[TIMEOUT]]>": the server ran
// out of time and the same request is tried again.
bool HasTimeoutMarker(std::string_view answer);

// Every "8859-15" becomes "8859-1", so a stored answer names the code page it is read with.
std::string RewriteCodePage(std::string answer);

// The text of every "LogItem" of the answer's "LogItems", each followed by " - ".
std::string LogItemsText(std::string_view answer);

// A reference without scheme ("AxInsert") resolved against the last request's folder.
std::string ResolveAgainst(const std::string& lastUrl, const std::string& reference);

}  // namespace tarmel
