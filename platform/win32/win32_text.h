#pragma once

#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace ts::platform {

// Program text (UTF-16) at the Win32 edge, where wchar_t is 16 bits wide.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace ts::platform
