#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ts {

// Decimal text of a value, with '-' when negative.
std::u16string decimalText(std::int64_t value);

// UTF-16 units: the halves of a surrogate pair.
constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool isSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}
// True when the units at `at` and `at + 1` are one character in two units.
constexpr bool isSurrogatePairAt(std::u16string_view text, std::size_t at) {
    return at + 1 < text.size() && isHighSurrogate(text[at]) && isLowSurrogate(text[at + 1]);
}

// Removes the units that do not belong to a whole character (a high
// surrogate without its low half, or the reverse), as a cut by units may
// leave them. `caret`, a position in `text`, moves back by the units removed
// before it. True when something was removed.
bool dropLoneSurrogates(std::u16string& text, std::size_t& caret);

// Cuts `text` to at most `units` units and removes what is then left of a
// character; true when it changed.
bool cutToWholeCharacters(std::u16string& text, std::size_t units);

// UTF-16 <-> UTF-8 for file names handed to the operating system.
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace ts
