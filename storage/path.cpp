#include "storage/path.h"

#include <climits>
#include <cstddef>
#include <string>

#include <unistd.h>

#include "storage/text.h"

namespace ts {

namespace {

constexpr char16_t kSeparator = u'/';

// Whether the platform can take `path` as a file name: no zero unit inside,
// and its bytes with their terminator within PATH_MAX.
bool fitsPlatform(std::u16string_view path) {
    if (path.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    return toUtf8(path).size() < static_cast<std::size_t>(PATH_MAX);
}

}  // namespace

std::u16string pathBeside(std::u16string_view executablePath, std::u16string_view fileName) {
    const std::size_t n = executablePath.size();
    if (n == 0) {
        return {};
    }
    // Search backwards for the last separator, from the last unit down to the
    // second one; the first unit is never looked at. Without a separator the
    // file name goes right after the first unit.
    std::size_t keep = 1;
    for (std::size_t k = n - 1; k >= 1; --k) {
        if (executablePath[k] == kSeparator) {
            keep = k + 1;
            break;
        }
    }
    std::u16string result;
    result.reserve(keep + fileName.size());
    result.append(executablePath.substr(0, keep));
    result.append(fileName);
    if (!fitsPlatform(result)) {
        return {};
    }
    return result;
}

std::u16string pathBesideExecutable(std::u16string_view fileName) {
    // The kernel names the running executable; a name that fills the whole
    // buffer may have been cut, so it counts as one it cannot supply.
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return {};
    }
    const std::string bytes(buffer, static_cast<std::size_t>(length));
    // A name that is not valid UTF-8 cannot be carried in UTF-16 unchanged.
    const std::u16string executable = fromUtf8(bytes);
    if (toUtf8(executable) != bytes) {
        return {};
    }
    return pathBeside(executable, fileName);
}

}  // namespace ts
