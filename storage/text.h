#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ts {

// Decimal text of a signed 32-bit value, with '-' when negative.
std::u16string decimalText(std::int32_t value);

// UTF-16 <-> UTF-8 for file names handed to the operating system.
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace ts
