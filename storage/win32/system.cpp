// The storage system calls on Windows: UTF-16 paths straight to the wide
// (W) functions, in the extended-length form so that paths longer than
// MAX_PATH work, handles, and MoveFileExW for replacement.
#include "storage/system.h"

#include <algorithm>
#include <limits>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace ts::sys {

namespace {

// The longest path the wide functions take, terminator included.
constexpr std::size_t kMaxWidePath = 32767;
// What the extended-length form may add to a path: "\\?\UNC\" in place of
// the leading "\\" of a network path.
constexpr std::size_t kLongestPrefixGrowth = 6;

// Tries and pause for a rename that a scanner or indexer holding one of the
// two files briefly blocks.
constexpr int kReplaceTries = 10;
constexpr DWORD kReplacePauseMs = 20;

HANDLE handleOf(File file) {
    return reinterpret_cast<HANDLE>(file);  // NOLINT: a HANDLE carried as an integer
}

File fileOf(HANDLE handle) {
    return reinterpret_cast<File>(handle);  // NOLINT: INVALID_HANDLE_VALUE is kNoFile
}

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::wstring_view wideView(std::u16string_view text) {
    // wchar_t is a UTF-16 unit on Windows.
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};  // NOLINT
}

std::u16string fromWide(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};  // NOLINT
}

// The absolute form of a path, "." and ".." resolved as the system resolves
// them; empty when the system cannot make one.
std::wstring fullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) {
            return {};
        }
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        if (n > kMaxWidePath) {
            return {};
        }
        full.resize(n);  // n counts the terminator when the buffer was too small
    }
}

// The path in the extended-length form ("\\?\C:\...", "\\?\UNC\server\...")
// that the wide functions take beyond MAX_PATH. That form is passed through
// unparsed, so the path is made absolute and its '/' turned into '\' first.
// Device paths ("\\.\...") are left as they are. Empty for an unusable path.
std::wstring systemPath(std::u16string_view path) {
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) {
        return {};
    }
    std::wstring wide(wideView(path));
    if (startsWith(wide, L"\\\\?\\") || startsWith(wide, L"\\\\.\\")) {
        return wide;
    }
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    std::wstring full = fullPathOf(wide);
    if (full.empty() || startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) {
        return full;
    }
    if (startsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

bool isMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_DIRECTORY;
}

bool isRegularFile(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A handle on what a path leads to, links followed, for asking about it.
HANDLE openForQuery(const std::wstring& path) {
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

const char16_t kSeparator = u'\\';

File openForReading(std::u16string_view path) {
    const std::wstring name = systemPath(path);
    if (name.empty()) {
        return kNoFile;
    }
    // Other readers may look at the file meanwhile; nobody may change,
    // rename or delete it until it is closed.
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return kNoFile;
    }
    if (!isRegularFile(handle)) {
        CloseHandle(handle);
        return kNoFile;
    }
    return fileOf(handle);
}

std::ptrdiff_t readSome(File file, void* data, std::size_t size) {
    const auto request =
        static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
    DWORD read = 0;
    if (!ReadFile(handleOf(file), data, request, &read, nullptr)) {
        const DWORD error = GetLastError();
        return error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<std::ptrdiff_t>(read);
}

bool writeAll(File file, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const auto request =
            static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(handleOf(file), bytes, request, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool flushFile(File file) {
    return FlushFileBuffers(handleOf(file)) != 0;
}

bool closeFile(File file) {
    return CloseHandle(handleOf(file)) != 0;
}

PathKind kindOf(std::u16string_view path) {
    const std::wstring name = systemPath(path);
    if (name.empty()) {
        return PathKind::Unknown;
    }
    if (startsWith(name, L"\\\\.\\")) {
        return PathKind::Other;  // a device
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return isMissingError(GetLastError()) ? PathKind::Missing : PathKind::Unknown;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
            return PathKind::Other;
        }
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::Regular;
    }
    // A link: what it leads to counts.
    const HANDLE handle = openForQuery(name);
    if (handle == INVALID_HANDLE_VALUE) {
        return isMissingError(GetLastError()) ? PathKind::Missing : PathKind::Unknown;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    PathKind kind = PathKind::Other;
    if (isRegularFile(handle)) {
        kind = PathKind::Regular;
    } else if (GetFileInformationByHandle(handle, &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        kind = PathKind::Folder;
    }
    CloseHandle(handle);
    return kind;
}

bool replacementTarget(std::u16string_view path, std::u16string& target) {
    const std::wstring name = systemPath(path);
    if (name.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        // A plain file or a name that does not exist yet is replaced itself.
        target = std::u16string(path);
        return true;
    }
    // A symbolic link stays a link: the file it leads to is the one replaced.
    // A link whose end cannot be reached (missing, a loop) is refused.
    const HANDLE handle = openForQuery(name);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD n = 0;
    for (;;) {
        n = GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0 || n < final.size() || n > kMaxWidePath) {
            break;
        }
        final.resize(n);
    }
    CloseHandle(handle);
    if (n == 0 || n >= final.size()) {
        return false;
    }
    final.resize(n);
    target = fromWide(final);
    return true;
}

File createNew(std::u16string_view path, std::u16string_view /*permissionsFrom*/) {
    // The new file takes the access rules its folder passes on to new files,
    // as every file a program creates there does; once renamed over the
    // previous file it keeps them. A folder only its owner may enter passes
    // on rules that keep the file private.
    const std::wstring name = systemPath(path);
    if (name.empty()) {
        return kNoFile;
    }
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? kNoFile : fileOf(handle);
}

bool replaceFile(std::u16string_view from, std::u16string_view to) {
    const std::wstring source = systemPath(from);
    const std::wstring target = systemPath(to);
    if (source.empty() || target.empty()) {
        return false;
    }
    // A file marked read-only is not to be changed. Windows refuses to
    // rename over it; Wine does not, so it is checked here too.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // The rename replaces the target in one step or not at all. A virus
    // scanner or indexer that has just opened the new file can refuse it for
    // a moment, so a refusal is tried again a few times.
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!busy || attempt >= kReplaceTries) {
            return false;
        }
        Sleep(kReplacePauseMs);
    }
}

bool flushFolder(std::u16string_view /*folder*/) {
    // MOVEFILE_WRITE_THROUGH made the rename durable before it returned.
    return true;
}

bool removeFile(std::u16string_view path) {
    const std::wstring name = systemPath(path);
    return !name.empty() && DeleteFileW(name.c_str()) != 0;
}

std::vector<std::u16string> folderEntries(std::u16string_view folder) {
    std::vector<std::u16string> names;
    std::wstring pattern = systemPath(folder);
    if (pattern.empty()) {
        return names;
    }
    if (pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name(found.cFileName);
        if (name != L"." && name != L"..") {
            names.push_back(fromWide(name));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::u16string executablePath() {
    // A buffer that the name fills completely may hold a cut name: grow it
    // until the name fits, up to the longest path there is.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return fromWide(buffer);
        }
        if (buffer.size() >= kMaxWidePath) {
            return {};
        }
        buffer.resize(std::min(buffer.size() * 2, kMaxWidePath));
    }
}

bool fitsPathLimit(std::u16string_view path) {
    return path.size() + kLongestPrefixGrowth < kMaxWidePath;
}

std::uint32_t processId() {
    return static_cast<std::uint32_t>(GetCurrentProcessId());
}

std::u16string environment(const char* name) {
    // Variable names are ASCII; values come in UTF-16.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    if (length == 0 || length >= size) {
        return {};
    }
    value.resize(length);
    return fromWide(value);
}

std::u16string homeFolder() {
    return environment("USERPROFILE");
}

bool makePrivateFolder(std::u16string_view path) {
    // The new folder inherits its parent's access rules, which on Windows
    // already keep a profile's folders to their user.
    const std::wstring name = systemPath(path);
    if (name.empty()) {
        return false;
    }
    if (!CreateDirectoryW(name.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    return kindOf(path) == PathKind::Folder;
}

bool localDate(LocalDate& date) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    date = LocalDate{now.wYear, now.wMonth, now.wDay};
    return now.wYear != 0;
}

}  // namespace ts::sys
