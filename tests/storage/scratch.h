#pragma once

// Scratch folders and byte-level file helpers for the storage tests.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/text.h"

namespace ts::test {

// A fresh folder under $TMPDIR (or /tmp), removed with its content.
class Scratch {
public:
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/ts-storage-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~Scratch() {
        if (!path_.empty()) {
            chmod(path_.c_str(), 0700);
            nftw(
                path_.c_str(),
                [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
                FTW_DEPTH | FTW_PHYS);
        }
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::u16string wide(std::string_view name) const { return fromUtf8(file(name)); }

    // Names in the folder, sorted and joined by blanks, without . and ..
    std::string listing() const { return listingOf(path_); }
    static std::string listingOf(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") {
                    names.push_back(name);
                }
            }
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        std::string joined;
        for (const auto& name : names) {
            joined += (joined.empty() ? "" : " ") + name;
        }
        return joined;
    }

private:
    std::string path_;
};

// The units as little-endian bytes.
inline std::string le(std::u16string_view units) {
    std::string bytes;
    for (const char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Settings file text: each record followed by U+000A and U+0000, as the
// writer lays it out.
inline std::string records(std::initializer_list<std::u16string_view> lines) {
    std::u16string units;
    for (const auto line : lines) {
        units.append(line);
        units.push_back(u'\n');
        units.push_back(u'\0');
    }
    return le(units);
}

}  // namespace ts::test
