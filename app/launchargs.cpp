// The launcher's command line.
#include "app/launchargs.h"

#include <algorithm>

#include "app/hostparams.h"

namespace tarmel {

namespace {
bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string_view CanonicalKey(std::string_view key) {
    for (const auto& p : kHostParameters)
        if (SameKey(p.key, key)) return p.key;
    for (std::string_view s : kLauncherSwitches)
        if (SameKey(s, key)) return s;
    return {};
}
}  // namespace

LaunchArguments ParseLaunchArguments(const std::vector<std::string>& args) {
    LaunchArguments result;
    for (const std::string& arg : args) {
        const auto eq = arg.find('=');
        const std::string_view key = CanonicalKey(std::string_view(arg).substr(0, eq));
        if (eq == std::string::npos || key.empty()) {
            result.settings.clear();
            result.error = "Paramètre inconnu : " + arg;
            return result;
        }
        result.settings.emplace_back(std::string(key), arg.substr(eq + 1));
    }
    return result;
}

}  // namespace tarmel
