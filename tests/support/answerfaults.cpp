// The faults of the bad-answer table and the random mutations, on the answer's bytes.
#include "tests/support/answerfaults.h"

#include <array>

#include "server/xml/texttools.h"

namespace tarmel::testsupport {

namespace {

// Where the element's first occurrence starts and ends ("<name>...</name>" or "<name .../>"),
// searched from `from`; npos when there is none.
std::pair<size_t, size_t> Occurrence(const std::string& text, std::string_view name, size_t from) {
    const std::string open = "<" + std::string(name);
    for (size_t at = text.find(open, from); at != std::string::npos; at = text.find(open, at + 1)) {
        const char next = at + open.size() < text.size() ? text[at + open.size()] : '\0';
        if (next != '>' && next != ' ' && next != '/') continue;
        const size_t headEnd = text.find('>', at);
        if (headEnd == std::string::npos) return {std::string::npos, 0};
        if (text[headEnd - 1] == '/') return {at, headEnd + 1};
        const std::string close = "</" + std::string(name) + ">";
        const size_t end = text.find(close, headEnd);
        if (end == std::string::npos) return {std::string::npos, 0};
        return {at, end + close.size()};
    }
    return {std::string::npos, 0};
}

}  // namespace

const char* FaultName(Fault fault) {
    switch (fault) {
        case Fault::Truncated:
            return "Truncated";
        case Fault::Empty:
            return "Empty";
        case Fault::Html:
            return "Html";
        case Fault::Huge:
            return "Huge";
        case Fault::WrongEncoding:
            return "WrongEncoding";
        case Fault::MissingElement:
            return "MissingElement";
        case Fault::DuplicatedElement:
            return "DuplicatedElement";
        case Fault::ClosedHalfWay:
            return "ClosedHalfWay";
        case Fault::Status500:
            return "Status500";
    }
    return "?";
}

ScriptedAnswer Spoil(Fault fault, const std::string& answer, std::string_view element) {
    ScriptedAnswer spoiled = Answer(answer);
    switch (fault) {
        case Fault::Truncated:
            spoiled.body.resize(answer.size() / 2);
            break;
        case Fault::Empty:
            spoiled.body.clear();
            break;
        case Fault::Html:
            spoiled.body =
                "<!DOCTYPE html>\r\n<html><head><title>502 Bad Gateway</title></head><body>"
                "<h1>502 Bad Gateway</h1><p>nginx</p></body></html>\r\n";
            break;
        case Fault::Huge:
            // Still a whole document: only its size is wrong.
            spoiled.body.insert(std::min(answer.rfind("</"), answer.size()),
                                std::string(size_t{40} << 20, ' '));
            break;
        case Fault::WrongEncoding: {
            spoiled.body = Utf8FromLatin1(answer);
            const size_t at = spoiled.body.find("ISO-8859-1");
            if (at != std::string::npos) spoiled.body.replace(at, 10, "UTF-8");
            break;
        }
        case Fault::MissingElement:
            for (auto [at, end] = Occurrence(spoiled.body, element, 0); at != std::string::npos;
                 std::tie(at, end) = Occurrence(spoiled.body, element, at))
                spoiled.body.erase(at, end - at);
            break;
        case Fault::DuplicatedElement: {
            const auto [at, end] = Occurrence(spoiled.body, element, 0);
            if (at != std::string::npos)
                spoiled.body.insert(end, spoiled.body.substr(at, end - at));
            break;
        }
        case Fault::ClosedHalfWay:
            spoiled.cutAfter = answer.size() / 2;
            break;
        case Fault::Status500:
            spoiled.status = 500;
            break;
    }
    return spoiled;
}

std::string Mutate(std::string answer, std::mt19937_64& random) {
    static constexpr std::array<std::string_view, 14> kMarkup = {
        "<",    ">",    "&",         "</", "/>",        "<![CDATA[", "]]>",
        "&cr;", "&#0;", "&unknown;", "\"", "<AXQuery>", "<tVO>",     "\xE9"};
    auto pick = [&random](size_t n) {
        return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    const size_t changes = 1 + pick(4);
    for (size_t c = 0; c < changes && !answer.empty(); ++c) {
        const size_t at = pick(answer.size());
        const size_t length = std::min(answer.size() - at, 1 + pick(64));
        switch (pick(7)) {
            case 0:  // a byte flipped
                answer[at] = static_cast<char>(answer[at] ^ (1 << pick(8)));
                break;
            case 1:  // a byte replaced by any byte
                answer[at] = static_cast<char>(pick(256));
                break;
            case 2:  // markup dropped in
                answer.insert(at, kMarkup[pick(kMarkup.size())]);
                break;
            case 3:  // a range cut out
                answer.erase(at, length);
                break;
            case 4:  // a range doubled
                answer.insert(at, answer.substr(at, length));
                break;
            case 5: {  // a range moved elsewhere
                const std::string moved = answer.substr(at, length);
                answer.erase(at, length);
                answer.insert(pick(answer.size() + 1), moved);
                break;
            }
            default:  // the end cut off
                answer.resize(at);
                break;
        }
    }
    return answer;
}

}  // namespace tarmel::testsupport
