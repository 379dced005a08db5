// Feeds arbitrary bytes to the reader as a document and walks it the way the client does: a list
// found by name, its items one by one, values and attributes read from each. The first bytes of
// the input choose the names, so the fuzzer can reach the nested and malformed cases.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "server/xml/texttools.h"
#include "server/xml/txml.h"

namespace {

// Names are taken from the front of the input, up to the first "|"; short and possibly odd.
std::string_view TakeName(std::string_view& input) {
    const size_t bar = input.find('|');
    const size_t length = bar == std::string_view::npos ? 0 : bar;
    const std::string_view name = input.substr(0, length);
    input.remove_prefix(bar == std::string_view::npos ? 0 : bar + 1);
    return name.substr(0, 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view list = TakeName(input);
    const std::string_view item = TakeName(input);
    const std::string_view value = TakeName(input);

    tarmel::TXml reader{std::string(input)};
    std::string out;
    tarmel::XmlAttr(reader, value, out);
    tarmel::XmlFind(reader, list);
    int guard = 0;
    while (tarmel::XmlNext(reader, item) > 0 && ++guard < 100000) {
        tarmel::XmlValue(reader, value, out);
        tarmel::XmlAttr(reader, value, out);
    }
    tarmel::XmlValue(reader, value, out);
    out = tarmel::FieldOf(input, static_cast<int>(size % 7));
    out = tarmel::Utf8FromLatin1(tarmel::Latin1FromUtf8(input));
    return 0;
}
