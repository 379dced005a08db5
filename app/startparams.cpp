// The "0"-prefixed integer reading of the start-up keys.
#include "app/startparams.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace tarmel {

namespace {

std::optional<int> ParseZeroPrefixed(std::string_view value) {
    const std::string text = "0" + std::string(value);
    std::string_view digits = text;
    int base = 10;
    if (text.size() > 1 && (text[1] == 'x' || text[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    // from_chars into an unsigned type refuses a sign, so "x-1" cannot slip through as hexadecimal.
    std::uint32_t number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        number > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

}  // namespace

bool ParseTraceSwitch(std::string_view value) {
    return ParseZeroPrefixed(value).value_or(0) != 0;
}

std::optional<int> ParseIdTypeVO(std::string_view value) {
    return ParseZeroPrefixed(value);
}

}  // namespace tarmel
