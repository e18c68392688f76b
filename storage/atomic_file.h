#pragma once

// Internal to storage/: crash-safe replacement of one file, shared by
// TextFile's mode "W" and the settings file's backup copy.

#include <cstddef>
#include <string>

namespace ts::detail {

// Writes a new version of a file beside it and puts it in place in one
// rename. A symbolic link at the path stays a link: the file it leads to is
// the one replaced. An existing file's permission bits are carried over; a
// new file gets the usual 0666 less the umask.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // discards an uncommitted file
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in the target's folder. False when the
    // target cannot be replaced (no such folder, not writable, the target is
    // not a regular file, a link loop).
    bool begin(const std::string& path);

    // Appends bytes; false on failure, after which commit() fails.
    bool write(const void* data, std::size_t size);

    // Flushes the temporary file, renames it over the target and flushes the
    // folder. False (and the temporary file removed, the target untouched)
    // when anything before the rename failed; also false when the folder
    // cannot be flushed, though the new file is then already in place.
    bool commit();

    // Removes the temporary file; the target is untouched.
    void discard();

    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    bool failed_ = false;
    std::string target_;
    std::string temp_;
};

// The whole content of a regular file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes);

// close(); an interruption by a signal counts as closed, since on Linux the
// descriptor is gone either way (closing again could close another file).
int closeRetrying(int fd);

// Whether a file exists at the path (links followed).
bool pathExists(const std::string& path);

}  // namespace ts::detail
