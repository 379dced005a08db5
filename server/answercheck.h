// Whether a data-server answer may replace the window's result file: a complete XML document in
// the code page the window reads, with the root element its endpoint answers with and, in a good
// answer, the elements its readers take once. A refused answer leaves the result file as it was,
// so a proxy's error page or a cut transfer never reaches the pages as a record or as "saved".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarmel {

// The largest answer the window takes (the server caps its own at 16 MB).
constexpr size_t kMaxAnswerBytes = size_t{32} << 20;

// The endpoint a request URL names: the last path segment before the query ("AxInfoVO").
std::string_view EndpointOfUrl(std::string_view url);

// Empty when the answer can be used; otherwise one French sentence, in Latin-1, for the warning
// band. A refusal of the server (its LogItems under the expected root) can be used: the window
// shows its items.
std::string AnswerProblem(std::string_view endpoint, std::string_view answer);

}  // namespace tarmel
