#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ts {

// Cuts one line into fields at separator characters, honouring both quote
// characters (U+0022 and U+0027). Inside quotes, two equal quote characters
// in a row stand for one literal quote character.
class FieldSplitter {
public:
    static constexpr int kMaxSeparators = 11;

    void clearSeparators();
    void addSeparator(char16_t unit);  // U+0000 and a twelfth are ignored

    static bool isQuote(char16_t unit);
    static bool isLineFeed(char16_t unit);
    bool isSeparator(char16_t unit) const;

    void split(std::u16string_view line);
    int fieldCount() const;
    // The field at `index`; an empty text for an index out of range.
    std::u16string field(int index) const;

private:
    std::vector<std::u16string> fields_;
    std::array<char16_t, kMaxSeparators> separators_{};
    int separatorCount_ = 0;
};

// Exact field equality: same units, case-sensitive, no trimming.
bool fieldEquals(std::u16string_view a, std::u16string_view b);

}  // namespace ts
