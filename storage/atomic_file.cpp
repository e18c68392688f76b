#include "storage/atomic_file.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ts {

namespace detail {

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

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links at the last component until a non-link or a name
// that does not exist yet, so that the file a link leads to is replaced and
// the link itself stays.
bool resolveTarget(const std::string& path, std::string& target) {
    std::string current = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                target = current;
                return true;
            }
            return false;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
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

// A name for the temporary file that no other save picks at the same time.
std::string temporaryName(const std::string& target, unsigned attempt) {
    static std::atomic<std::uint32_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t mix = now ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
                        (static_cast<std::uint64_t>(counter.fetch_add(1)) << 16) ^ attempt;
    mix *= 0x9E3779B97F4A7C15ull;
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(mix >> 32));
    // Keep the name well inside NAME_MAX whatever the target is called.
    std::string base = baseNameOf(target).substr(0, 64);
    return folderOf(target) + "/." + base + suffix;
}

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::begin(const std::string& path) {
    discard();
    failed_ = false;
    if (path.empty() || !resolveTarget(path, target_)) {
        return false;
    }
    struct stat previous {};
    const bool exists = stat(target_.c_str(), &previous) == 0;
    if (exists && !S_ISREG(previous.st_mode)) {
        return false;  // never replace a folder, a device or a pipe
    }
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        temp_ = temporaryName(target_, attempt);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        return false;
    }
    if (exists) {
        // Carry the previous file's permission bits (and, where allowed, its
        // owner) over before any content is written.
        if (fchmod(fd_, previous.st_mode & 07777) != 0) {
            discard();
            return false;
        }
        if (fchown(fd_, previous.st_uid, previous.st_gid) != 0) {
            // Only the owner's privileges allow this; the file stays ours.
        }
    }
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) {
        failed_ = true;
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0) {
        return false;
    }
    if (failed_ || fsync(fd_) != 0) {
        discard();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (closeRetrying(fd) != 0 || rename(temp_.c_str(), target_.c_str()) != 0) {
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    // Make the rename itself durable. Some file systems cannot flush a
    // folder (EINVAL); there the rename is as durable as it gets.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return false;
    }
    const bool flushed = fsync(folder) == 0 || errno == EINVAL;
    closeRetrying(folder);
    return flushed;
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        closeRetrying(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        unlink(temp_.c_str());
        temp_.clear();
    }
}

int closeRetrying(int fd) {
    // On Linux the descriptor is gone even when close reports EINTR.
    const int result = ::close(fd);
    return (result != 0 && errno == EINTR) ? 0 : result;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    bytes.clear();
    std::array<char, 65536> chunk;
    while (ok) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            bytes.append(chunk.data(), static_cast<std::size_t>(n));
        }
    }
    closeRetrying(fd);
    return ok;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

}  // namespace detail

}  // namespace ts
