#include "storage/folder.h"

#include <algorithm>

#include "storage/system.h"

namespace ts {

namespace {

bool isSeparator(char16_t unit) {
    return unit == u'/' || unit == sys::kSeparator;
}

}  // namespace

std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && !isSeparator(path.back())) {
        path += sys::kSeparator;
    }
    path += name;
    return path;
}

std::vector<std::u16string> regularFilesIn(std::u16string_view folder) {
    std::vector<std::u16string> names;
    for (std::u16string& name : sys::folderEntries(folder)) {
        if (sys::kindOf(pathInFolder(folder, name)) == sys::PathKind::Regular) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool nothingAt(std::u16string_view path) {
    // A link, even one that leads nowhere, resolves to another path.
    std::u16string target;
    return sys::replacementTarget(path, target) && target == path &&
           sys::kindOf(path) == sys::PathKind::Missing;
}

bool makePrivateFolders(std::u16string_view folder) {
    if (folder.empty()) {
        return false;
    }
    if (sys::kindOf(folder) == sys::PathKind::Folder) {
        return true;
    }
    // The folder above first, from the bottom up, so that a root or a
    // drive that cannot be made is never tried.
    std::size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1])) {
        --end;
    }
    std::size_t cut = end;
    while (cut > 0 && !isSeparator(folder[cut - 1])) {
        --cut;
    }
    if (cut > 1) {
        makePrivateFolders(folder.substr(0, cut - 1));
    }
    return sys::makePrivateFolder(folder.substr(0, end));
}

}  // namespace ts
