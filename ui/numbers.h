#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Numbers as the user types them into the dialogs.
namespace ts::ui {

// ASCII digits and full-width digits (U+FF10 to U+FF19), which a Japanese
// input method produces.
bool isDigit(char16_t unit);
// True when every unit is a digit; true for the empty text.
bool isAllDigits(std::u16string_view text);
// The value of a non-empty all-digit text; nothing when the text holds
// another character or the value does not fit a signed 32-bit integer.
std::optional<std::int32_t> digitsValue(std::u16string_view text);

}  // namespace ts::ui
