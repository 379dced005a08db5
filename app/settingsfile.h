// The settings file TAXTarmel.ini: where it lives, and reading and writing its keys with the
// Windows profile-file rules that the launcher and the program share.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

// $APPDATA/Tarmel/TAXTarmel.ini when APPDATA is set and non-empty, else
// $XDG_CONFIG_HOME/Tarmel/TAXTarmel.ini with XDG_CONFIG_HOME defaulting to $HOME/.config.
std::string IniFileName();

// The folder for result files and the trace log: TEMP, else TMPDIR, else "/tmp".
std::string WorkDirFromEnvironment();

/// One settings file, read and written in profile style: "[Section]" headers and "Key=Value" lines,
/// section and key names matched ignoring ASCII case, the value being the rest of the line,
/// byte for byte (no trimming, quotes, escapes or lists; 8-bit text as it is).
///
/// Every call opens, reads or rewrites, and closes the file: the launcher edits it while the
/// program runs, so nothing is cached between calls.
class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    const std::string& path() const { return path_; }

    /// The value of key in section; empty when the file, the section or the key is missing.
    /// When a section or a key appears twice, the first one counts.
    std::string ReadProfileString(std::string_view section, std::string_view key) const;

    /// Sets key in section: replaces the value of an existing key in place, else adds the key at
    /// the end of the section, else adds the section at the end of the file. Every other byte of
    /// the file is kept. Creates the folder when missing and replaces the file atomically.
    /// CR and LF in the value are written as blanks (they would otherwise start new lines, i.e.
    /// inject keys). False on an input/output failure, or for a section or key name that cannot
    /// be written (empty, holding a line break, "=" in a key or "]" in a section); the file is
    /// then left as it was.
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

    /// Section "Options", where all of the program's keys live.
    std::string GetTagRegistry(std::string_view key) const;
    bool SetTagRegistry(std::string_view key, std::string_view value);

private:
    std::string path_;
};

}  // namespace tarmel
