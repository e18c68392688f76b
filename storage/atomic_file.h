#pragma once

// Internal to storage/: crash-safe replacement of one file, shared by
// TextFile's mode "W", the settings file's backup copy and exported files.

#include <cstddef>
#include <string>
#include <string_view>

#include "storage/system.h"

namespace ts::detail {

// Writes a new version of a file beside it and puts it in place in one
// rename. A symbolic link at the path stays a link: the file it leads to is
// the one replaced. An existing file's permissions are carried over.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // discards an uncommitted file
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in the target's folder, after removing
    // temporary files that an interrupted save of the same target left
    // there. False when the target cannot be replaced (no such folder, not
    // writable, the target is not a regular file, a link loop).
    bool begin(std::u16string_view path);

    // Appends bytes; false on failure, after which commit() fails.
    bool write(const void* data, std::size_t size);

    // Flushes the temporary file and renames it over the target. False (and
    // the temporary file removed, the target untouched) when anything up to
    // the rename failed. Once renamed the new file is in place and the save
    // counts as done, even if the folder cannot be flushed afterwards.
    bool commit();

    // Removes the temporary file; the target is untouched.
    void discard();

    bool isOpen() const { return file_ != sys::kNoFile; }

private:
    sys::File file_ = sys::kNoFile;
    bool failed_ = false;
    std::u16string target_;
    std::u16string temp_;
};

// The whole content of a regular file; false when it cannot be read.
bool readWholeFile(std::u16string_view path, std::string& bytes);

// Whether the temporary-file name `entry` is one that a save of a file named
// `baseName` makes: "." + baseName + "." + 8 hex digits + ".tmp".
bool isTemporaryNameOf(std::u16string_view entry, std::u16string_view baseName);

}  // namespace ts::detail
