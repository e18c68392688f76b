#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ts {

// Decimal text of a value, with '-' when negative.
std::u16string decimalText(std::int64_t value);

// UTF-16 <-> UTF-8 for file names handed to the operating system.
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace ts
