#include "ui/numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ts::ui {
namespace {

TEST(Numbers, DigitClassAdmitsAsciiAndFullWidthDigitsOnly) {
    for (char16_t c : std::u16string_view(u"0123456789０１２３４５６７８９")) {
        EXPECT_TRUE(isDigit(c)) << static_cast<int>(c);
    }
    // Neighbours of both ranges, signs, spaces and other digit-like characters.
    for (char16_t c : std::u16string_view(u"/:\uFF0F\uFF1A-+ \u3000人一٣²")) {
        EXPECT_FALSE(isDigit(c)) << static_cast<int>(c);
    }
}

TEST(Numbers, DigitsValue) {
    const struct {
        std::u16string_view text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {u"0", 0},
        {u"000", 0},
        {u"0042", 42},
        {u"１２３", 123},
        {u"1２3", 123},
        {u"2147483647", 2147483647},
        {u"０００2147483647", 2147483647},
        {u"2147483648", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"", std::nullopt},
        {u"-5", std::nullopt},
        {u" 5", std::nullopt},
        {u"5人", std::nullopt},
        {u"1,000", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(digitsValue(c.text), c.value) << "case " << (&c - cases);
    }
}

TEST(Numbers, NumberTextCoversTheWholeRange) {
    EXPECT_EQ(numberText(0), u"0");
    EXPECT_EQ(numberText(-50), u"-50");
    EXPECT_EQ(numberText(2147483647), u"2147483647");
    EXPECT_EQ(numberText(-2147483648LL), u"-2147483648");
    EXPECT_EQ(numberText(INT64_MIN), u"-9223372036854775808");
}

}  // namespace
}  // namespace ts::ui
