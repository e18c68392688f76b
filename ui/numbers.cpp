#include "ui/numbers.h"

#include <algorithm>
#include <limits>

namespace ts::ui {

namespace {

constexpr char16_t kFullWidthZero = u'\uFF10';
constexpr char16_t kFullWidthNine = u'\uFF19';

int digitOf(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    return unit - kFullWidthZero;
}

}  // namespace

bool isDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= kFullWidthZero && unit <= kFullWidthNine);
}

bool isAllDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

std::optional<std::int32_t> digitsValue(std::u16string_view text) {
    if (text.empty() || !isAllDigits(text)) {
        return std::nullopt;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (const char16_t unit : text) {
        // Leading zeros keep the value at 0, so any number of them is fine.
        value = value * 10 + digitOf(unit);
        if (value > kMax) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace ts::ui
