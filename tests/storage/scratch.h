#pragma once

// Scratch folders and byte-level file helpers for the storage tests.
// Paths are UTF-8 strings; the helpers hand them to the system as UTF-16 so
// that names outside the ANSI code page work on Windows too.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "storage/text.h"

namespace ts::test {

namespace fs = std::filesystem;

// The system's own separator, as the storage code uses it.
inline constexpr char kSeparator = fs::path::preferred_separator == L'\\' ? '\\' : '/';

inline fs::path fsPath(std::string_view utf8) {
    return fs::path(fromUtf8(utf8));
}

inline std::string utf8Of(const fs::path& path) {
    return toUtf8(path.u16string());
}

// A fresh folder in the system's temporary folder, removed with its content.
class Scratch {
public:
    Scratch() {
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        if (error) {
            return;
        }
        static std::atomic<unsigned> counter{0};
        const auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate =
                base / ("ts-storage-" + std::to_string(seed % 1000000007ull) + "-" +
                        std::to_string(counter.fetch_add(1)));
            if (fs::create_directory(candidate, error) && !error) {
                // Only its owner may enter it, as with mkdtemp.
                fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
                path_ = utf8Of(candidate);
                return;
            }
        }
    }
    ~Scratch() {
        if (!path_.empty()) {
            std::error_code error;
            const fs::path root = fsPath(path_);
            // Read-only entries (left by a test) must not keep the folder;
            // links are not followed out of it.
            const auto writable = fs::perm_options::add | fs::perm_options::nofollow;
            fs::permissions(root, fs::perms::owner_all, writable, error);
            for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
                 it.increment(error)) {
                std::error_code ignored;
                fs::permissions(it->path(), fs::perms::owner_all, writable, ignored);
            }
            fs::remove_all(root, error);
        }
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // `name` may hold '/' between folders; the system's separator joins it
    // to the scratch folder.
    std::string file(std::string_view name) const { return path_ + kSeparator + std::string(name); }
    std::u16string wide(std::string_view name) const { return fromUtf8(file(name)); }

    // Names in the folder, sorted and joined by blanks, without . and ..
    std::string listing() const { return listingOf(path_); }
    static std::string listingOf(const std::string& folder) {
        std::vector<std::string> names;
        std::error_code error;
        for (fs::directory_iterator it(fsPath(folder), error), end; !error && it != end;
             it.increment(error)) {
            names.push_back(utf8Of(it->path().filename()));
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
    std::ifstream in(fsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool makeFolder(const std::string& path) {
    std::error_code error;
    return fs::create_directory(fsPath(path), error) && !error;
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
