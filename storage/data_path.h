#pragma once

// Where the program keeps its data. A portable build keeps the settings file
// beside the executable; an installed one keeps it in the user's own folder
// under $XDG_CONFIG_HOME (by default ~/.config/tally-share/), unless a
// settings file already sits beside the executable.

#include <string>
#include <string_view>

namespace ts {

// Everything the choice of the settings file's place depends on.
struct DataPlaceInputs {
    bool portable = true;             // the build keeps its data beside itself
    std::u16string besideExecutable;  // the settings file's path beside the executable
    bool besideExists = false;        // whether a file is at that path
    std::u16string xdgConfigHome;     // $XDG_CONFIG_HOME as set, "" when unset
    std::u16string home;              // the user's home folder, "" when unknown
};

// The per-user data folder (no trailing separator): $XDG_CONFIG_HOME/tally-share
// when that variable holds an absolute path, else $HOME/.config/tally-share
// when the home folder is absolute; "" when neither is.
std::u16string userDataFolderFor(std::u16string_view xdgConfigHome, std::u16string_view home);

// The settings file's path: beside the executable when a file is already
// there or the build is portable, else `fileName` in the per-user data
// folder. "" when no usable path exists, so that loading finds nothing and
// saving reports its failure.
std::u16string chooseSettingsPath(const DataPlaceInputs& inputs, std::u16string_view fileName);

// userDataFolderFor() with this process's environment ($HOME, or the home
// folder of the account when $HOME is unset or empty).
std::u16string userDataFolder();

// Creates the per-user data folder with mode 0700, and any missing folder
// above it likewise; an existing folder keeps its mode. False when the
// folder is unknown or cannot be made.
bool makeUserDataFolder();

// chooseSettingsPath() for this process: the executable's place, whether a
// file is there, and the environment. For the per-user folder, the folder
// is made (0700) so that the first save can create the file.
std::u16string settingsFilePath(bool portable, std::u16string_view fileName);

}  // namespace ts
