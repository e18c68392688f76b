#include "storage/atomic_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace ts::detail {

namespace {

constexpr std::u16string_view kTempSuffix = u".tmp";
constexpr std::size_t kTempHexDigits = 8;
// Longest part of the target's name the temporary name repeats, so that it
// stays well inside the systems' name limits.
constexpr std::size_t kMaxTempBase = 64;

std::size_t lastSeparator(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    const std::size_t native = path.rfind(sys::kSeparator);
    if (slash == std::u16string_view::npos) {
        return native;
    }
    return native == std::u16string_view::npos ? slash : std::max(slash, native);
}

std::u16string folderOf(std::u16string_view path) {
    const std::size_t at = lastSeparator(path);
    if (at == std::u16string_view::npos) {
        return u".";
    }
    if (at == 0) {
        return std::u16string(path.substr(0, 1));
    }
    return std::u16string(path.substr(0, at));
}

std::u16string_view baseNameOf(std::u16string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::u16string_view::npos ? path : path.substr(at + 1);
}

std::u16string_view tempBaseOf(std::u16string_view target) {
    return baseNameOf(target).substr(0, kMaxTempBase);
}

// A name for the temporary file that no other save picks at the same time.
std::u16string temporaryName(std::u16string_view target, unsigned attempt) {
    static std::atomic<std::uint32_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t mix = now ^ (static_cast<std::uint64_t>(sys::processId()) << 32) ^
                        (static_cast<std::uint64_t>(counter.fetch_add(1)) << 16) ^ attempt;
    mix *= 0x9E3779B97F4A7C15ull;
    std::u16string name = folderOf(target);
    name += sys::kSeparator;
    name += u'.';
    name += tempBaseOf(target);
    name += u'.';
    // The high half of the mix as lower-case hex digits, most significant first.
    const auto high = static_cast<std::uint32_t>(mix >> 32);
    constexpr std::u16string_view kHexDigits = u"0123456789abcdef";
    for (std::size_t i = 0; i < kTempHexDigits; ++i) {
        name += kHexDigits[(high >> (4 * (kTempHexDigits - 1 - i))) & 0xFu];
    }
    name += kTempSuffix;
    return name;
}

bool isHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f');
}

// Removes what interrupted saves of `target` left in its folder.
void removeLeftovers(std::u16string_view target) {
    const std::u16string folder = folderOf(target);
    const std::u16string_view base = tempBaseOf(target);
    for (const std::u16string& entry : sys::folderEntries(folder)) {
        if (isTemporaryNameOf(entry, base)) {
            std::u16string path = folder;
            path += sys::kSeparator;
            path += entry;
            sys::removeFile(path);
        }
    }
}

}  // namespace

bool isTemporaryNameOf(std::u16string_view entry, std::u16string_view baseName) {
    const std::size_t expected = 1 + baseName.size() + 1 + kTempHexDigits + kTempSuffix.size();
    if (entry.size() != expected || entry.front() != u'.' ||
        entry.substr(1, baseName.size()) != baseName || entry[1 + baseName.size()] != u'.' ||
        entry.substr(expected - kTempSuffix.size()) != kTempSuffix) {
        return false;
    }
    const std::u16string_view digits = entry.substr(2 + baseName.size(), kTempHexDigits);
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::begin(std::u16string_view path) {
    discard();
    failed_ = false;
    if (path.empty() || !sys::replacementTarget(path, target_)) {
        return false;
    }
    const sys::PathKind previous = sys::kindOf(target_);
    if (previous != sys::PathKind::Missing && previous != sys::PathKind::Regular) {
        return false;  // never replace a folder, a device or a pipe
    }
    removeLeftovers(target_);
    const std::u16string_view permissionsFrom =
        previous == sys::PathKind::Regular ? std::u16string_view(target_) : std::u16string_view();
    for (unsigned attempt = 0; attempt < 64 && file_ == sys::kNoFile; ++attempt) {
        temp_ = temporaryName(target_, attempt);
        file_ = sys::createNew(temp_, permissionsFrom);
        if (file_ == sys::kNoFile && sys::kindOf(temp_) == sys::PathKind::Missing) {
            break;  // not a name clash: the folder refuses new files
        }
    }
    if (file_ == sys::kNoFile) {
        temp_.clear();
        return false;
    }
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (file_ == sys::kNoFile || failed_) {
        failed_ = true;
        return false;
    }
    if (!sys::writeAll(file_, data, size)) {
        failed_ = true;
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (file_ == sys::kNoFile) {
        return false;
    }
    if (failed_ || !sys::flushFile(file_)) {
        discard();
        return false;
    }
    const sys::File file = file_;
    file_ = sys::kNoFile;
    if (!sys::closeFile(file) || !sys::replaceFile(temp_, target_)) {
        sys::removeFile(temp_);
        temp_.clear();
        return false;
    }
    temp_.clear();
    // Make the rename itself durable where the system can. The new file is
    // in place whatever this answers, so the save has succeeded.
    sys::flushFolder(folderOf(target_));
    return true;
}

void AtomicFile::discard() {
    if (file_ != sys::kNoFile) {
        sys::closeFile(file_);
        file_ = sys::kNoFile;
    }
    if (!temp_.empty()) {
        sys::removeFile(temp_);
        temp_.clear();
    }
}

bool readWholeFile(std::u16string_view path, std::string& bytes) {
    const sys::File file = sys::openForReading(path);
    if (file == sys::kNoFile) {
        return false;
    }
    bytes.clear();
    std::array<char, 65536> chunk;
    bool ok = true;
    for (;;) {
        const std::ptrdiff_t n = sys::readSome(file, chunk.data(), chunk.size());
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
    sys::closeFile(file);
    return ok;
}

}  // namespace ts::detail
