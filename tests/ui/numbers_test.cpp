#include "ui/numbers.h"

#include <gtest/gtest.h>

namespace ts::ui {
namespace {

TEST(Numbers, DigitsAndTheirValue) {
    const struct {
        std::u16string_view text;
        bool allDigits;
        std::optional<std::int32_t> value;
    } cases[] = {
        {u"000", true, 0},
        {u"0042", true, 42},
        {u"１２3", true, 123},
        {u"０００2147483647", true, 2147483647},
        {u"2147483648", true, std::nullopt},
        {u"99999999999999999999", true, std::nullopt},
        {u"", true, std::nullopt},
        {u"-5", false, std::nullopt},
        {u" 5", false, std::nullopt},
        {u"5人", false, std::nullopt},
        // Neighbours of both digit ranges and other digit-like characters.
        {u"/", false, std::nullopt},
        {u":", false, std::nullopt},
        {u"\uFF0F", false, std::nullopt},
        {u"\uFF1A", false, std::nullopt},
        {u"٣", false, std::nullopt},
        {u"²", false, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isAllDigits(c.text), c.allDigits) << "case " << (&c - cases);
        EXPECT_EQ(digitsValue(c.text), c.value) << "case " << (&c - cases);
    }
}

}  // namespace
}  // namespace ts::ui
