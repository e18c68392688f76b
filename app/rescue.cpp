#include "app/rescue.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "resources/texts.h"
#include "storage/evening_file.h"
#include "storage/export_file.h"
#include "storage/folder.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts::app {

namespace {

// The note of the rescued copies the user has been notified of, one name a
// line. Its name stays as earlier versions wrote it.
constexpr std::u16string_view kNotifiedNote = u".rescued-told";
constexpr std::u16string_view kRescuedInfix = u".rescued-";
// Copies rescued within the same second get "-2", "-3", ... appended.
constexpr int kMaxSameSecond = 100;

std::u16string rescuedPrefix() {
    return std::u16string(text::kSettingsFileName) + std::u16string(kRescuedInfix);
}

bool isRescuedName(const std::u16string& name) {
    const std::u16string prefix = rescuedPrefix();
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

// The names of the rescued copies in the folder, in name order (which is
// the order they were made in).
std::vector<std::u16string> rescuedNames(std::u16string_view folder) {
    std::vector<std::u16string> names = regularFilesIn(folder);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::u16string& name) { return !isRescuedName(name); }),
                names.end());
    return names;
}

std::set<std::u16string> notifiedNames(std::u16string_view folder) {
    std::set<std::u16string> notified;
    std::string note;
    if (!readFileBytes(pathInFolder(folder, kNotifiedNote), note)) {
        return notified;
    }
    std::size_t start = 0;
    while (start < note.size()) {
        std::size_t end = note.find('\n', start);
        if (end == std::string::npos) {
            end = note.size();
        }
        notified.insert(fromUtf8(std::string_view(note).substr(start, end - start)));
        start = end + 1;
    }
    return notified;
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

namespace {

// Saves with `save` to a new rescued copy in `folder`; its path, or empty.
template <typename Save>
std::u16string rescueWith(std::u16string_view folder, const Moment& when, const Save& save) {
    if (folder.empty()) {
        return {};
    }
    // A new folder of the user's own data is the user's alone.
    if (!makePrivateFolders(folder)) {
        return {};
    }
    const std::u16string base = rescuedFileName(when);
    for (int attempt = 1; attempt <= kMaxSameSecond; ++attempt) {
        std::u16string name = base;
        if (attempt > 1) {
            name += u'-' + decimalText(attempt);
        }
        const std::u16string path = pathInFolder(folder, name);
        if (!nothingAt(path)) {
            continue;  // never overwrite an earlier rescue
        }
        return save(path) ? path : std::u16string();
    }
    return {};
}

}  // namespace

std::u16string rescueParty(std::u16string_view folder, const Party& party, const Moment& when) {
    return rescueWith(folder, when,
                      [&](const std::u16string& path) { return saveToPath(path, party); });
}

std::u16string rescueEvening(std::u16string_view folder, const Evening& evening,
                             const Moment& when) {
    return rescueWith(folder, when,
                      [&](const std::u16string& path) { return saveToPath(path, evening); });
}

std::string partyRecords(const Party& party) {
    return toUtf8(ts::partyRecords(party, currentSaveDate()));
}

std::string eveningRecords(const Evening& evening) {
    return toUtf8(ts::eveningRecords(evening, currentSaveDate()));
}

std::vector<std::u16string> unnotifiedRescues(std::u16string_view folder) {
    std::vector<std::u16string> paths;
    if (folder.empty()) {
        return paths;
    }
    const std::set<std::u16string> notified = notifiedNames(folder);
    for (const std::u16string& name : rescuedNames(folder)) {
        if (notified.count(name) == 0) {
            paths.push_back(pathInFolder(folder, name));
        }
    }
    return paths;
}

bool markRescuesNotified(std::u16string_view folder) {
    std::string note;
    for (const std::u16string& name : rescuedNames(folder)) {
        note += toUtf8(name) + "\n";
    }
    return writeFileAtomically(pathInFolder(folder, kNotifiedNote), note);
}

}  // namespace ts::app
