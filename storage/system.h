#pragma once

// Internal to storage/: the few calls it makes to the operating system, one
// implementation per system: posix/ (Linux, and the browser's in-memory
// files, which emscripten serves through the same calls) and win32/. (What a
// browser tab keeps between visits is its store, storage/web/.) Paths are
// UTF-16 here; each side converts them to what its system takes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ts::sys {

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using File = std::intptr_t;
inline constexpr File kNoFile = -1;

// The separator the system's paths use between folders and names.
extern const char16_t kSeparator;

// Opens a regular file for reading; kNoFile for anything else (a missing
// file, a folder, a pipe, a device).
File openForReading(std::u16string_view path);
// Reads up to `size` bytes: the count read, 0 at the end, -1 on error.
std::ptrdiff_t readSome(File file, void* data, std::size_t size);
// Writes all of `data`; false on any failure.
bool writeAll(File file, const void* data, std::size_t size);
// Forces the file's content to the disk.
bool flushFile(File file);
bool closeFile(File file);

enum class PathKind { Missing, Regular, Folder, Other, Unknown };
// What is at `path`, links followed; Unknown when the system cannot tell.
PathKind kindOf(std::u16string_view path);

// The file a save to `path` replaces. A symbolic link stays a link: the file
// it leads to is the one replaced. False for a link loop or a path that
// cannot be resolved.
bool replacementTarget(std::u16string_view path, std::u16string& target);

// Creates a new file that did not exist, for writing. When `permissionsFrom`
// names an existing file, its permissions (and, where allowed, its owner)
// are carried over. Otherwise the system's defaults for new files apply, but
// a file in a folder that only its owner may enter is made private too.
File createNew(std::u16string_view path, std::u16string_view permissionsFrom);

// Renames `from` over `to` in one step.
bool replaceFile(std::u16string_view from, std::u16string_view to);
// Makes a rename in that folder durable. False only when the system tried
// and failed; systems that cannot flush a folder count as flushed.
bool flushFolder(std::u16string_view folder);
bool removeFile(std::u16string_view path);
// The names of the entries of a folder (without "." and ".."); empty when
// it cannot be read.
std::vector<std::u16string> folderEntries(std::u16string_view folder);

// The full path of the running executable; empty when it cannot be had.
std::u16string executablePath();
// Whether the system can take `path` as a file name (length limit).
bool fitsPathLimit(std::u16string_view path);

std::uint32_t processId();

// An environment variable's value; empty when it is unset.
std::u16string environment(const char* name);
// The user's home folder: $HOME, else the account's home folder.
std::u16string homeFolder();
// Makes one folder that only its owner may enter; true when it exists as a
// folder afterwards (an existing folder keeps its permissions).
bool makePrivateFolder(std::u16string_view path);

struct LocalDate {
    int year;
    int month;
    int day;
};
// Today's date in the local time zone; false when the clock cannot say.
bool localDate(LocalDate& date);

}  // namespace ts::sys
