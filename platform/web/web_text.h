#pragma once

#include <algorithm>
#include <string_view>

namespace ts::platform {

// Program text (UTF-16) at the JavaScript edge: the browser's strings are
// UTF-16 too, so a text crosses as a pointer into the program's memory and
// its length in units.
struct JsText {
    const char16_t* data;
    int length;
};

inline JsText toJs(std::u16string_view text) {
    // Texts that reach the page are at most a few thousand units.
    const std::size_t cut = std::min<std::size_t>(text.size(), 1u << 20);
    return {text.data(), static_cast<int>(cut)};
}

}  // namespace ts::platform
