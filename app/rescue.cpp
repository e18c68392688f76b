#include "app/rescue.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "resources/texts.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts::app {

namespace {

namespace fs = std::filesystem;

// The note of the rescued copies the user has been told of, one name a line.
constexpr std::u16string_view kToldNote = u".rescued-told";
constexpr std::u16string_view kRescuedInfix = u".rescued-";
// Copies rescued within the same second get "-2", "-3", ... appended.
constexpr int kMaxSameSecond = 100;

fs::path pathOf(std::u16string_view text) {
    return fs::path(std::u16string(text));
}

std::u16string rescuedPrefix() {
    return std::u16string(text::kSettingsFileName) + std::u16string(kRescuedInfix);
}

bool isRescuedName(const std::u16string& name) {
    const std::u16string prefix = rescuedPrefix();
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

// The names of the rescued copies in the folder, in name order (which is
// the order they were made in).
std::vector<std::u16string> rescuedNames(const fs::path& folder) {
    std::vector<std::u16string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::u16string name = it->path().filename().u16string();
        if (isRescuedName(name) && it->is_regular_file(error)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::set<std::u16string> toldNames(const fs::path& folder) {
    std::set<std::u16string> told;
    std::ifstream note(folder / pathOf(kToldNote), std::ios::binary);
    std::string line;
    while (std::getline(note, line)) {
        told.insert(fromUtf8(line));
    }
    return told;
}

void appendTwoDigits(std::u16string& out, int value) {
    if (value < 10) {
        out += u'0';
    }
    out += decimalText(value);
}

}  // namespace

Moment localMoment() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    const bool known = localtime_s(&parts, &now) == 0;
#else
    const bool known = localtime_r(&now, &parts) != nullptr;
#endif
    if (!known) {
        return {};
    }
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::u16string rescuedFileName(const Moment& when) {
    std::u16string name = rescuedPrefix();
    name += decimalText(when.year);
    appendTwoDigits(name, when.month);
    appendTwoDigits(name, when.day);
    name += u'-';
    appendTwoDigits(name, when.hour);
    appendTwoDigits(name, when.minute);
    appendTwoDigits(name, when.second);
    return name;
}

std::u16string rescueParty(std::u16string_view folder, Entry& party, const Moment& when) {
    if (folder.empty()) {
        return {};
    }
    const fs::path dir = pathOf(folder);
    std::error_code error;
    if (!fs::exists(dir, error)) {
        if (!fs::create_directories(dir, error)) {
            return {};
        }
        // A new folder of the user's own data is the user's alone.
        fs::permissions(dir, fs::perms::owner_all, error);
    }
    const std::u16string base = rescuedFileName(when);
    for (int attempt = 1; attempt <= kMaxSameSecond; ++attempt) {
        std::u16string name = base;
        if (attempt > 1) {
            name += u'-' + decimalText(attempt);
        }
        const fs::path target = dir / pathOf(name);
        if (fs::exists(fs::symlink_status(target, error))) {
            continue;  // never overwrite an earlier rescue
        }
        const std::u16string path = target.u16string();
        return saveToPath(path, party) ? path : std::u16string();
    }
    return {};
}

std::string partyRecords(const Party& party) {
    return toUtf8(ts::partyRecords(party, currentSaveDate()));
}

std::vector<std::u16string> untoldRescues(std::u16string_view folder) {
    std::vector<std::u16string> paths;
    if (folder.empty()) {
        return paths;
    }
    const fs::path dir = pathOf(folder);
    const std::set<std::u16string> told = toldNames(dir);
    for (const std::u16string& name : rescuedNames(dir)) {
        if (told.count(name) == 0) {
            paths.push_back((dir / pathOf(name)).u16string());
        }
    }
    return paths;
}

bool markRescuesTold(std::u16string_view folder) {
    const fs::path dir = pathOf(folder);
    std::string note;
    for (const std::u16string& name : rescuedNames(dir)) {
        note += toUtf8(name) + "\n";
    }
    std::ofstream out(dir / pathOf(kToldNote), std::ios::binary | std::ios::trunc);
    out << note;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace ts::app
