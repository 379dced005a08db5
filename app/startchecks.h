// The two checks of the start sequence, as plain text rules: the installed version against the
// one the host expects, and the proxy address split into host and port.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

// A version as the host writes it: every "." becomes "," ("1.0.2.3" -> "1,0,2,3"). The installed
// version is compared with OCXVersion in this form, as exact text.
std::string CommaVersion(std::string_view version);

// The proxy setting from the environment: http_proxy, else HTTP_PROXY (empty when neither is set).
// A Linux proxy value is usually a URL ("http://host:3128/"): its scheme, any "user:password@"
// and the path are dropped, so that the host:port rule below sees "host:3128". Without that the
// rule would take the scheme for the host.
std::string ProxySettingFrom(std::string_view httpProxy, std::string_view httpProxyUpper);

struct ProxyAddress {
    std::string host;
    int port = 80;
};

// Every ":" becomes ";" and the text is split at ";": field 1 is the host, field 2 the port
// (80 when missing or not a whole number in 1..65535).
ProxyAddress SplitProxySetting(std::string_view setting);

}  // namespace tarmel
