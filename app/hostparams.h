// The twelve host parameters: their settings keys, in the order OnStart reads them, with the word
// each setter writes to the trace log. The launcher writes the same keys.
#pragma once

#include <array>
#include <string_view>

namespace tarmel {

struct HostParameter {
    std::string_view key;
    std::string_view traceWord;
};

inline constexpr std::array<HostParameter, 12> kHostParameters = {{
    {"HttpRoot", "httproot"},
    {"BaseHRef", "basehref"},
    {"idTVO", "idtvo"},
    {"OCXName", "ocxname"},
    {"OCXVersion", "ocxversion"},
    {"URLImages", "urlimages"},
    {"idUser", "iduser"},
    {"UserConcession", "userconcession"},
    {"UserSite", "usersite"},
    {"WhereClause", "whereclause"},
    {"OrderClause", "orderclause"},
    {"idClient", "idClient"},
}};

// Keys the launcher may write besides the host parameters: trace switch and folder, family code,
// the photo FTP server ("host" or "host:port"), its account and its gateway, and the SMS service
// (its address before "/tools/smssend/...") with the test SMS's recipient.
inline constexpr std::array<std::string_view, 9> kLauncherSwitches = {
    "Trace",           "TraceRepTemp", "idTypeVO",
    "PhotoFtpServer",  "PhotoFtpUser", "PhotoFtpPassword",
    "PhotoFtpGateway", "SmsService",   "SmsTestRecipient"};

}  // namespace tarmel
