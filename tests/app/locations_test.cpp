// Where the settings file and the working folder are, from the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/settingsfile.h"

namespace tarmel {
namespace {

const char* const kVariables[] = {"APPDATA", "XDG_CONFIG_HOME", "HOME", "TEMP", "TMPDIR"};

// Sets the variables a case names and unsets the others; puts everything back afterwards.
class EnvironmentCase {
public:
    EnvironmentCase() {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~EnvironmentCase() {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) {
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            } else {
                unsetenv(kVariables[i]);
            }
        }
    }
    void set(const char* name, const char* value) {
        if (value) setenv(name, value, 1);
    }

private:
    std::vector<std::optional<std::string>> saved_;
};

struct IniCase {
    const char* why;
    const char* appData;  // nullptr: unset
    const char* configHome;
    const char* home;
    const char* expected;
};

const IniCase kIniCases[] = {
    {"APPDATA wins", "/w/AppData", "/x/cfg", "/home/u", "/w/AppData/Tarmel/TAXTarmel.ini"},
    {"empty APPDATA falls back", "", "/x/cfg", "/home/u", "/x/cfg/Tarmel/TAXTarmel.ini"},
    {"XDG_CONFIG_HOME", nullptr, "/x/cfg", "/home/u", "/x/cfg/Tarmel/TAXTarmel.ini"},
    {"HOME/.config by default", nullptr, nullptr, "/home/u",
     "/home/u/.config/Tarmel/TAXTarmel.ini"},
    {"empty XDG_CONFIG_HOME", nullptr, "", "/home/u", "/home/u/.config/Tarmel/TAXTarmel.ini"},
};

TEST(Locations, IniFileName) {
    for (const IniCase& row : kIniCases) {
        SCOPED_TRACE(row.why);
        EnvironmentCase environment;
        environment.set("APPDATA", row.appData);
        environment.set("XDG_CONFIG_HOME", row.configHome);
        environment.set("HOME", row.home);
        EXPECT_EQ(IniFileName(), row.expected);
    }
}

struct WorkDirCase {
    const char* why;
    const char* temp;
    const char* tmpdir;
    const char* expected;
};

const WorkDirCase kWorkDirCases[] = {
    {"TEMP wins", "/w/Temp", "/d", "/w/Temp"},
    {"empty TEMP falls back", "", "/d", "/d"},
    {"TMPDIR", nullptr, "/d", "/d"},
    {"neither", nullptr, nullptr, "/tmp"},
    {"both empty", "", "", "/tmp"},
};

TEST(Locations, WorkDirFromEnvironment) {
    for (const WorkDirCase& row : kWorkDirCases) {
        SCOPED_TRACE(row.why);
        EnvironmentCase environment;
        environment.set("TEMP", row.temp);
        environment.set("TMPDIR", row.tmpdir);
        EXPECT_EQ(WorkDirFromEnvironment(), row.expected);
    }
}

}  // namespace
}  // namespace tarmel
