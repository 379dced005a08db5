// The launcher's command line: "Key=Value" arguments naming keys of the settings file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarmel {

struct LaunchArguments {
    std::vector<std::pair<std::string, std::string>> settings;  // canonical key, value
    std::string error;  // French text for the user; empty when the line is sound
};

// Each argument is "Key=Value" (the value may be empty and may hold "="). Keys are the twelve host
// parameters and "Trace", "TraceRepTemp", "idTypeVO", "PhotoFtpServer", "PhotoFtpUser",
// "PhotoFtpPassword", "PhotoFtpGateway", matched ignoring ASCII case and written with their own
// spelling. An unknown key or an argument without "=" is an error, and nothing is
// written then: a half-applied launch would open the wrong record.
LaunchArguments ParseLaunchArguments(const std::vector<std::string>& args);

}  // namespace tarmel
