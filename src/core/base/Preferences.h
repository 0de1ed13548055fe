#pragma once

#include <optional>
#include <string>

#include "core/base/ProgramPaths.h"
#include "core/base/Settings.h"

namespace brix {

// What the user chose about how the program looks and where its files are: the paths of the
// run, the display settings read at start-up, and the settings file. Nothing here is part of
// the player's records, and nothing here is undoable.
struct Preferences {
    ProgramPaths Paths;
    std::string ProgramTitle = "Brix Tools";
    DisplaySettings Display;

    // The settings file of the run, which lives where Paths says (made anew only when the paths
    // change, e.g. once at start-up).
    const Settings& SettingsFile() const {
        if (!settings_ || settingsPath_ != Paths.SettingsPath ||
            settingsPerUser_ != Paths.UserDirectoryIsPerUser) {
            settingsPath_ = Paths.SettingsPath;
            settingsPerUser_ = Paths.UserDirectoryIsPerUser;
            settings_.emplace(settingsPath_, settingsPerUser_);
        }
        return *settings_;
    }

private:
    mutable std::optional<Settings> settings_;
    mutable std::string settingsPath_;
    mutable bool settingsPerUser_ = false;
};

}  // namespace brix
