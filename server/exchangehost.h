// What the server exchange needs from the window it serves: the open client and the warning band.
#pragma once

#include <string>

namespace tarmel {

class ExchangeHost {
public:
    virtual ~ExchangeHost() = default;
    // The client record that is open (caption of LbIDCustomer); sent with every GET.
    virtual std::string openClientId() const = 0;
    // LbDebugInfo0 := text; the red band PanelWarning is visible exactly when text is non-empty.
    virtual void showWarning(const std::string& text) = 0;
};

}  // namespace tarmel
