#pragma once

#include <string_view>

namespace ts {

// Writes `bytes` as the whole new content of the file at `path`, crash-safely:
// the new content goes to a temporary file beside it that replaces the old
// file in one rename. False when the file could not be written whole; a
// previous file at `path` is then left as it was.
bool writeFileAtomically(std::u16string_view path, std::string_view bytes);

}  // namespace ts
