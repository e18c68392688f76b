#include "storage/data_path.h"

#include <string>

#include "storage/path.h"
#include "storage/system.h"

namespace ts {

namespace {

constexpr std::u16string_view kFolderName = u"tally-share";
constexpr std::u16string_view kDefaultConfigHome = u".config";

bool isAbsolute(std::u16string_view path) {
    return !path.empty() && path.front() == u'/';
}

// The path without trailing separators, the root folder itself excepted.
std::u16string_view withoutTrailingSeparators(std::u16string_view path) {
    while (path.size() > 1 && path.back() == u'/') {
        path.remove_suffix(1);
    }
    return path;
}

std::u16string joined(std::u16string_view folder, std::u16string_view name) {
    std::u16string result(withoutTrailingSeparators(folder));
    if (result.empty() || result.back() != u'/') {
        result.push_back(u'/');
    }
    result.append(name);
    return result;
}

// Whether the system can take `path` as a file name.
bool fitsPlatform(std::u16string_view path) {
    return path.find(u'\0') == std::u16string_view::npos && sys::fitsPathLimit(path);
}

}  // namespace

std::u16string userDataFolderFor(std::u16string_view xdgConfigHome, std::u16string_view home) {
    std::u16string folder;
    if (isAbsolute(xdgConfigHome)) {
        folder = joined(xdgConfigHome, kFolderName);
    } else if (isAbsolute(home)) {
        folder = joined(joined(home, kDefaultConfigHome), kFolderName);
    } else {
        return {};
    }
    return fitsPlatform(folder) ? folder : std::u16string();
}

std::u16string chooseSettingsPath(const DataPlaceInputs& inputs, std::u16string_view fileName) {
    if (inputs.portable || (inputs.besideExists && !inputs.besideExecutable.empty())) {
        return inputs.besideExecutable;
    }
    const std::u16string folder = userDataFolderFor(inputs.xdgConfigHome, inputs.home);
    if (folder.empty()) {
        return {};
    }
    std::u16string path = joined(folder, fileName);
    return fitsPlatform(path) ? path : std::u16string();
}

std::u16string userDataFolder() {
    return userDataFolderFor(sys::environment("XDG_CONFIG_HOME"), sys::homeFolder());
}

bool makeUserDataFolder() {
    const std::u16string folder = userDataFolder();
    if (folder.empty()) {
        return false;
    }
    // Each missing folder on the way, from the top down, is made 0700.
    for (std::size_t slash = folder.find(u'/', 1); slash != std::u16string::npos;
         slash = folder.find(u'/', slash + 1)) {
        if (!sys::makePrivateFolder(folder.substr(0, slash))) {
            return false;
        }
    }
    return sys::makePrivateFolder(folder);
}

std::u16string settingsFilePath(bool portable, std::u16string_view fileName) {
    DataPlaceInputs inputs;
    inputs.portable = portable;
    inputs.besideExecutable = pathBesideExecutable(fileName);
    if (!inputs.besideExecutable.empty()) {
        inputs.besideExists = sys::kindOf(inputs.besideExecutable) != sys::PathKind::Missing;
    }
    if (!portable) {
        inputs.xdgConfigHome = sys::environment("XDG_CONFIG_HOME");
        inputs.home = sys::homeFolder();
    }
    std::u16string path = chooseSettingsPath(inputs, fileName);
    if (!portable && path != inputs.besideExecutable) {
        // A folder that cannot be made shows as a failed save, which the
        // program reports, so the result is not needed here.
        makeUserDataFolder();
    }
    return path;
}

}  // namespace ts
