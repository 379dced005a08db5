// Settings file location and profile-style key access: the line scanner, the in-place edit and
// the atomic replacement of the file.
#include "app/settingsfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "server/xml/texttools.h"

namespace fs = std::filesystem;

namespace tarmel {

namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kBlanks = " \t";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// One line of the text by byte offsets: its body is [begin, end), without the "\n" and one "\r"
// before it (or one "\r" ending the text); the next line starts at next.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t lf = text.find('\n', begin);
        const std::size_t stop = lf == std::string_view::npos ? text.size() : lf;
        std::size_t end = stop;
        if (end > begin && text[end - 1] == '\r') --end;
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

// A section header ("[Name]", blanks around allowed): its name; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view body) {
    const std::string_view lead = Trim(body);
    if (lead.empty() || lead.front() != '[') return std::nullopt;
    const std::string_view inner = lead.substr(1);
    return Trim(inner.substr(0, inner.find(']')));
}

// Where a key of a section sits in the text.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t valueBegin = 0;  // key found: its value is [valueBegin, valueEnd)
    std::size_t valueEnd = 0;
    std::size_t sectionEnd = 0;  // section found: just after its last non-blank line
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
    Location where;
    bool inSection = false;
    for (const Line& line : SplitLines(text)) {
        const std::string_view body = text.substr(line.begin, line.end - line.begin);
        if (const auto name = SectionName(body)) {
            if (inSection) break;  // only the first section of that name counts
            inSection = EqualsNoCase(*name, section);
            if (inSection) {
                where.sectionFound = true;
                where.sectionEnd = line.next;
            }
            continue;
        }
        if (!inSection || Trim(body).empty()) continue;
        where.sectionEnd = line.next;
        const std::size_t equals = body.find('=');
        if (equals != std::string_view::npos && EqualsNoCase(Trim(body.substr(0, equals)), key)) {
            where.keyFound = true;
            where.valueBegin = line.begin + equals + 1;
            where.valueEnd = line.end;
            break;
        }
    }
    return where;
}

// New lines follow the file's own line ends, so a file the launcher wrote with CR LF stays CR LF.
std::string_view LineBreakOf(std::string_view text) {
    const std::size_t lf = text.find('\n');
    return (lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r') ? "\r\n" : "\n";
}

// What must come before text inserted at pos so that it starts a line of its own (a last line may
// lack its line break, or end in a lone "\r").
std::string_view BreakBefore(std::string_view text, std::size_t pos, std::string_view lineBreak) {
    if (pos == 0 || text[pos - 1] == '\n') return {};
    return text[pos - 1] == '\r' ? "\n" : lineBreak;
}

// Names that would not read back, or would break the file's structure, are refused.
bool WritableName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && Trim(name) == name && name.find_first_of(forbidden) == name.npos;
}

// The whole file; empty when it does not exist, nullopt when it exists but cannot be read (a
// writer must then leave it alone rather than replace it with a file that lost its keys).
std::optional<std::string> LoadFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::string();
        return std::nullopt;
    }
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes a temporary file beside the target and renames it over the target, so a reader (or a
// crash) sees either the old file or the new one, never half of one.
bool ReplaceFile(const std::string& path, std::string_view bytes) {
    std::error_code error;
    fs::path target(path);
    // Through a symbolic link, replace the file it points to rather than the link.
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target, error);
        if (error) return false;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    fs::create_directories(folder, error);
    if (error) return false;

    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // Keep the permissions of the file being replaced; a new file stays private to its user.
    struct stat existing;
    bool ok = ::stat(target.c_str(), &existing) != 0 || ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace

std::string IniFileName() {
    fs::path base;
    if (const std::string appData = Environment("APPDATA"); !appData.empty()) {
        base = appData;
    } else if (const std::string config = Environment("XDG_CONFIG_HOME"); !config.empty()) {
        base = config;
    } else {
        base = fs::path(Environment("HOME")) / ".config";
    }
    return (base / "Tarmel" / "TAXTarmel.ini").string();
}

std::string WorkDirFromEnvironment() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        if (std::string folder = Environment(name); !folder.empty()) return folder;
    }
    return "/tmp";
}

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::string SettingsFile::ReadProfileString(std::string_view section, std::string_view key) const {
    const std::optional<std::string> text = LoadFile(path_);
    if (!text) return {};
    const Location where = Locate(*text, section, key);
    if (!where.keyFound) return {};
    return text->substr(where.valueBegin, where.valueEnd - where.valueBegin);
}

bool SettingsFile::WriteProfileString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    if (!WritableName(section, "\r\n]") || !WritableName(key, "\r\n=") || key.front() == '[') {
        return false;
    }
    // A line break inside the value would end its line and let the rest be read as new keys.
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }

    const std::optional<std::string> old = LoadFile(path_);
    if (!old) return false;
    std::string text = *old;
    const Location where = Locate(text, section, key);
    const std::string_view lineBreak = LineBreakOf(text);
    if (where.keyFound) {
        text.replace(where.valueBegin, where.valueEnd - where.valueBegin, line);
    } else if (where.sectionFound) {
        std::string added(BreakBefore(text, where.sectionEnd, lineBreak));
        added.append(key).append("=").append(line).append(lineBreak);
        text.insert(where.sectionEnd, added);
    } else {
        text.append(BreakBefore(text, text.size(), lineBreak));
        text.append("[").append(section).append("]").append(lineBreak);
        text.append(key).append("=").append(line).append(lineBreak);
    }
    if (text == *old) return true;  // nothing to change: spare the rewrite
    return ReplaceFile(path_, text);
}

std::string SettingsFile::GetTagRegistry(std::string_view key) const {
    return ReadProfileString(kOptions, key);
}

bool SettingsFile::SetTagRegistry(std::string_view key, std::string_view value) {
    return WriteProfileString(kOptions, key, value);
}

}  // namespace tarmel
