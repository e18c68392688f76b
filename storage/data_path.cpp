#include "storage/data_path.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/path.h"
#include "storage/text.h"

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

// Whether the platform can take `path` as a file name: no zero unit inside,
// and its bytes with their terminator within PATH_MAX.
bool fitsPlatform(std::u16string_view path) {
    return path.find(u'\0') == std::u16string_view::npos &&
           toUtf8(path).size() < static_cast<std::size_t>(PATH_MAX);
}

std::u16string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fromUtf8(value) : std::u16string();
}

// $HOME, or the account's home folder when $HOME is unset or empty.
std::u16string homeFolder() {
    std::u16string home = environment("HOME");
    if (!home.empty()) {
        return home;
    }
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return fromUtf8(found->pw_dir);
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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
    return userDataFolderFor(environment("XDG_CONFIG_HOME"), homeFolder());
}

bool makeUserDataFolder() {
    const std::string folder = toUtf8(userDataFolder());
    if (folder.empty()) {
        return false;
    }
    // Each missing folder on the way, from the top down, is made 0700.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return isFolder(folder);
}

std::u16string settingsFilePath(bool portable, std::u16string_view fileName) {
    DataPlaceInputs inputs;
    inputs.portable = portable;
    inputs.besideExecutable = pathBesideExecutable(fileName);
    if (!inputs.besideExecutable.empty()) {
        struct stat st {};
        inputs.besideExists = stat(toUtf8(inputs.besideExecutable).c_str(), &st) == 0;
    }
    if (!portable) {
        inputs.xdgConfigHome = environment("XDG_CONFIG_HOME");
        inputs.home = homeFolder();
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
