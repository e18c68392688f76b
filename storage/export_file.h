#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace ts {

// Writes `bytes` as the whole new content of the file at `path`, crash-safely:
// the new content goes to a temporary file beside it that replaces the old
// file in one rename. False when the file could not be written whole; a
// previous file at `path` is then left as it was.
bool writeFileAtomically(std::u16string_view path, std::string_view bytes);

// Reads the whole file at `path` into `bytes`; false when it cannot be read
// or holds more than `maxBytes`.
bool readFileBytes(std::u16string_view path, std::string& bytes,
                   std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

}  // namespace ts
