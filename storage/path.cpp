#include "storage/path.h"

#include <cstddef>
#include <string>

#include "storage/system.h"

namespace ts {

namespace {

// Whether the system can take `path` as a file name: no zero unit inside,
// and within its length limit.
bool fitsPlatform(std::u16string_view path) {
    if (path.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    return sys::fitsPathLimit(path);
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
        if (executablePath[k] == sys::kSeparator) {
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
    const std::u16string executable = sys::executablePath();
    return executable.empty() ? std::u16string() : pathBeside(executable, fileName);
}

}  // namespace ts
