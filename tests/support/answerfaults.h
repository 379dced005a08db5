// What a broken network, proxy or server does to an answer: each fault of the bad-answer table as
// the answer the window then receives, and random mutations of real answers.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "tests/support/loopbackresponder.h"

namespace tarmel::testsupport {

enum class Fault {
    Truncated,          // the first half of the document, as a complete answer
    Empty,              // a 200 answer without body
    Html,               // a proxy's error page with status 200
    Huge,               // 40 MB of blanks inside the document
    WrongEncoding,      // re-encoded in UTF-8 and declared so
    MissingElement,     // every occurrence of the element removed
    DuplicatedElement,  // the element's first occurrence written twice
    ClosedHalfWay,      // the whole length announced, half the body sent, the connection closed
    Status500,          // the real body under status 500
};

constexpr Fault kEveryFault[] = {Fault::Truncated,
                                 Fault::Empty,
                                 Fault::Html,
                                 Fault::Huge,
                                 Fault::WrongEncoding,
                                 Fault::MissingElement,
                                 Fault::DuplicatedElement,
                                 Fault::ClosedHalfWay,
                                 Fault::Status500};

const char* FaultName(Fault fault);

// The answer spoiled by the fault; element names what MissingElement and DuplicatedElement act on.
ScriptedAnswer Spoil(Fault fault, const std::string& answer, std::string_view element);

// The answer with one to four random changes: bytes flipped or replaced by markup, ranges cut,
// doubled or moved, the end cut off.
std::string Mutate(std::string answer, std::mt19937_64& random);

}  // namespace tarmel::testsupport
