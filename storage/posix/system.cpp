// The storage system calls on POSIX systems: UTF-8 file names, descriptors,
// rename for replacement and fsync on the folder. Linux uses them, and so
// does the browser, whose in-memory files emscripten serves through them.
#include "storage/system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/text.h"

namespace ts::sys {

namespace {

// Links followed before a chain counts as a loop (the kernel's own limit).
constexpr int kMaxLinkDepth = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

int fdOf(File file) {
    return static_cast<int>(file);
}

}  // namespace

const char16_t kSeparator = u'/';

File openForReading(std::u16string_view path) {
    // O_NONBLOCK keeps a pipe at the path from blocking the open; only
    // regular files are read.
    const int fd = ::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return kNoFile;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        closeFile(fd);
        return kNoFile;
    }
    return fd;
}

std::ptrdiff_t readSome(File file, void* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fdOf(file), data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n;
    }
}

bool writeAll(File file, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fdOf(file), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool flushFile(File file) {
    return fsync(fdOf(file)) == 0;
}

bool closeFile(File file) {
    // On Linux the descriptor is gone even when close reports EINTR, so it
    // counts as closed (closing again could close another file).
    const int result = ::close(fdOf(file));
    return result == 0 || errno == EINTR;
}

PathKind kindOf(std::u16string_view path) {
    struct stat st {};
    if (stat(toUtf8(path).c_str(), &st) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
    }
    if (S_ISREG(st.st_mode)) {
        return PathKind::Regular;
    }
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
}

bool replacementTarget(std::u16string_view path, std::u16string& target) {
    // Follows symbolic links at the last component until a non-link or a
    // name that does not exist yet.
    std::string current = toUtf8(path);
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                target = fromUtf8(current);
                return true;
            }
            return false;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = fromUtf8(current);
            return true;
        }
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256), '\0');
        for (;;) {
            const ssize_t n = readlink(current.c_str(), link.data(), link.size());
            if (n < 0) {
                return false;
            }
            if (static_cast<std::size_t>(n) < link.size()) {
                link.resize(static_cast<std::size_t>(n));
                break;
            }
            link.resize(link.size() * 2);
        }
        if (link.empty()) {
            return false;
        }
        if (link.front() == '/') {
            current = link;
        } else {
            current = folderOf(current);
            current += '/';
            current += link;
        }
    }
    errno = ELOOP;
    return false;
}

File createNew(std::u16string_view path, std::u16string_view permissionsFrom) {
    const std::string name = toUtf8(path);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return kNoFile;
    }
    struct stat previous {};
    if (!permissionsFrom.empty() && stat(toUtf8(permissionsFrom).c_str(), &previous) == 0) {
        // Carry the previous file's permission bits (and, where allowed, its
        // owner) over before any content is written.
        if (fchmod(fd, previous.st_mode & 07777) != 0) {
            closeFile(fd);
            ::unlink(name.c_str());
            return kNoFile;
        }
        if (fchown(fd, previous.st_uid, previous.st_gid) != 0) {
            // Only the owner's privileges allow this; the file stays ours.
        }
        return fd;
    }
    struct stat folder {};
    if (stat(folderOf(name).c_str(), &folder) == 0 && (folder.st_mode & 077) == 0 &&
        fchmod(fd, 0600) != 0) {
        closeFile(fd);
        ::unlink(name.c_str());
        return kNoFile;
    }
    return fd;
}

bool replaceFile(std::u16string_view from, std::u16string_view to) {
    return ::rename(toUtf8(from).c_str(), toUtf8(to).c_str()) == 0;
}

bool flushFolder(std::u16string_view folder) {
    const int fd = ::open(toUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Some file systems cannot flush a folder (EINVAL); there the rename is
    // as durable as it gets.
    const bool flushed = fsync(fd) == 0 || errno == EINVAL;
    closeFile(fd);
    return flushed;
}

bool removeFile(std::u16string_view path) {
    return ::unlink(toUtf8(path).c_str()) == 0;
}

std::vector<std::u16string> folderEntries(std::u16string_view folder) {
    std::vector<std::u16string> names;
    DIR* dir = ::opendir(toUtf8(folder).c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            names.push_back(fromUtf8(name));
        }
    }
    ::closedir(dir);
    return names;
}

std::u16string executablePath() {
    // The kernel names the running executable; a name that fills the whole
    // buffer may have been cut, so it counts as one it cannot supply.
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return {};
    }
    const std::string bytes(buffer, static_cast<std::size_t>(length));
    // A name that is not valid UTF-8 cannot be carried in UTF-16 unchanged.
    std::u16string executable = fromUtf8(bytes);
    if (toUtf8(executable) != bytes) {
        return {};
    }
    return executable;
}

bool fitsPathLimit(std::u16string_view path) {
    return toUtf8(path).size() < static_cast<std::size_t>(PATH_MAX);
}

std::uint32_t processId() {
    return static_cast<std::uint32_t>(getpid());
}

std::u16string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fromUtf8(value) : std::u16string();
}

std::u16string homeFolder() {
    std::u16string home = environment("HOME");
    if (!home.empty()) {
        return home;
    }
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
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

bool makePrivateFolder(std::u16string_view path) {
    const std::string name = toUtf8(path);
    if (::mkdir(name.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return kindOf(path) == PathKind::Folder;
}

bool localDate(LocalDate& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        return false;
    }
    date = LocalDate{1900 + local.tm_year, local.tm_mon + 1, local.tm_mday};
    return true;
}

}  // namespace ts::sys
