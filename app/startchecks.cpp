// Version and proxy rules of the start sequence.
#include "app/startchecks.h"

#include <algorithm>
#include <charconv>

namespace tarmel {

std::string CommaVersion(std::string_view version) {
    std::string text(version);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string ProxySettingFrom(std::string_view httpProxy, std::string_view httpProxyUpper) {
    std::string_view value = !httpProxy.empty() ? httpProxy : httpProxyUpper;
    if (auto scheme = value.find("://"); scheme != std::string_view::npos)
        value.remove_prefix(scheme + 3);
    if (auto slash = value.find('/'); slash != std::string_view::npos) value = value.substr(0, slash);
    if (auto at = value.rfind('@'); at != std::string_view::npos) value.remove_prefix(at + 1);
    return std::string(value);
}

ProxyAddress SplitProxySetting(std::string_view setting) {
    std::string text(setting);
    std::replace(text.begin(), text.end(), ':', ';');
    ProxyAddress address;
    const auto first = text.find(';');
    address.host = text.substr(0, first);
    if (first == std::string::npos) return address;
    const auto second = text.find(';', first + 1);
    const std::string port = text.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                                : second - first - 1);
    int value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (error == std::errc() && end == port.data() + port.size() && value > 0 && value <= 65535)
        address.port = value;
    return address;
}

}  // namespace tarmel
