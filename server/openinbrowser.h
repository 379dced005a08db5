// Opening an address in the user's web browser.
#pragma once

#include <string>

namespace tarmel {

// Hands the URL to xdg-open. False, and nothing opened, when no xdg-open is installed or it cannot
// be started.
bool OpenInBrowser(const std::string& url);

}  // namespace tarmel
