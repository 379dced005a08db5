// What the warning band says when a record could not be loaded: which record was asked, which
// one the window still shows, and when that one was received. Texts are Latin-1.
#pragma once

#include <string>

namespace tarmel {

struct LoadFailure {
    bool client = false;      // a client was asked, else a vehicle
    std::string askedId;      // the identifier as the host gave it
    std::string shownFamily;  // "VO", "VD", "VN", "CL" of the record still shown; empty: none
    std::string shownName;    // its number, or the client's name
    std::string receivedAt;   // "10/12/2026 a 11:42" with an accented a (Latin-1); may be empty
    bool earlierRun = false;  // the record shown was received before this start
};

std::string LoadFailureNotice(const LoadFailure& failure);

// The splash's words while a load waits, and when the first load found no server.
std::string SplashConnecting();
// problem: why the description's answer was refused, "" when no answer came.
std::string SplashServerDown(const std::string& problem = {});

}  // namespace tarmel
