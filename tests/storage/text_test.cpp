#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts {
namespace {

TEST(DecimalText, WritesSignAndDigitsOnly) {
    const struct {
        std::int32_t value;
        std::u16string_view text;
    } cases[] = {
        {0, u"0"},
        {7, u"7"},
        {-7, u"-7"},
        {12000, u"12000"},
        {std::numeric_limits<std::int32_t>::max(), u"2147483647"},
        {std::numeric_limits<std::int32_t>::min(), u"-2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decimalText(c.value), c.text) << c.value;
    }
}

TEST(FieldToInt, ReadsSignAndDigitsUpToTheFirstOtherUnit) {
    const struct {
        std::u16string_view field;
        std::int32_t value;
    } cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"-", 0},
        {u"+", 0},
        {u"42", 42},
        {u"+42", 42},
        {u"-42", -42},
        {u"007", 7},
        {u"12x34", 12},
        {u"1.00\r", 1},
        {u"1,5", 1},
        {u"--5", 0},
        {u"- 5", 0},
        // Leading blanks are skipped; inner and trailing ones end the number.
        {u"  42", 42},
        {u"\t-3", -3},
        {u"\u3000"
         u"9",
         9},
        {u"4 2", 4},
        // Full-width digits are not decimal digits of the conversion.
        {u"\uFF11", 0},
        // Values beyond the range stop at its ends.
        {u"2147483647", 2147483647},
        {u"2147483648", 2147483647},
        {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {u"-2147483649", std::numeric_limits<std::int32_t>::min()},
        {u"99999999999999999999999999", 2147483647},
        {u"-99999999999999999999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldToInt(c.field), c.value) << toUtf8(c.field);
    }
}

TEST(Utf8, RoundTripsEveryPlane) {
    const std::u16string text = u"ts.cfg \u00e9\u65b0\u898f\U0001F600/\uFF8A";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"\u65b0"), "\xe6\x96\xb0");
    EXPECT_EQ(toUtf8(u"\U0001F600"), "\xf0\x9f\x98\x80");
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
    const struct {
        std::u16string_view utf16;
        std::string_view utf8;
    } toCases[] = {
        {u"a\xD800"
         u"b",
         "a\xef\xbf\xbd"
         "b"},                        // lone high surrogate
        {u"\xDC00", "\xef\xbf\xbd"},  // lone low surrogate
        {u"\xDC00\xD800", "\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const auto& c : toCases) {
        EXPECT_EQ(toUtf8(c.utf16), c.utf8);
    }
    const struct {
        std::string_view utf8;
        std::u16string_view utf16;
    } fromCases[] = {
        {"\x80", u"\uFFFD"},  // stray continuation byte
        {"\xc3", u"\uFFFD"},  // cut sequence at the end
        {"\xc3"
         "a",
         u"\uFFFD"
         "a"},                            // cut sequence before ASCII
        {"\xc0\xaf", u"\uFFFD\uFFFD"},    // overlong form
        {"\xed\xa0\x80", u"\uFFFD"},      // encoded surrogate
        {"\xf4\x90\x80\x80", u"\uFFFD"},  // beyond U+10FFFF
        {"\xff", u"\uFFFD"},
    };
    for (const auto& c : fromCases) {
        EXPECT_EQ(fromUtf8(c.utf8), c.utf16);
    }
}

// Lone halves go wherever they stand; pairs stay whole, and the caret keeps
// its place among the units that stay.
TEST(LoneSurrogates, AreDroppedAndTheCaretFollows) {
    const struct {
        std::u16string_view text;
        std::size_t caret;
        std::u16string_view kept;
        std::size_t keptCaret;
    } cases[] = {
        {u"", 0, u"", 0},
        {u"abc", 2, u"abc", 2},
        {u"a\U0001F600b", 3, u"a\U0001F600b", 3},
        {u"ab\xD83D", 3, u"ab", 2},  // a cut at the end
        {u"\xDE00"
         u"ab",
         3, u"ab", 2},                                 // a low half first
        {u"a\xD83Dxb", 2, u"axb", 1},                  // a caret after the removal
        {u"a\xD83Dxb", 1, u"axb", 1},                  // a caret before it
        {u"\xD83D\xD83D\xDE00", 3, u"\U0001F600", 2},  // high, high, low
        {u"\xD83D\xDE00\xDE00", 3, u"\U0001F600", 2},  // high, low, low
        {u"\xDE00\xD83D", 2, u"", 0},                  // the wrong way round
    };
    for (const auto& c : cases) {
        std::u16string text(c.text);
        std::size_t caret = c.caret;
        EXPECT_EQ(dropLoneSurrogates(text, caret), c.text != c.kept);
        EXPECT_EQ(text, c.kept);
        EXPECT_EQ(caret, c.keptCaret);
    }
}

TEST(LoneSurrogates, ACutNeverSplitsACharacter) {
    const struct {
        std::u16string_view text;
        std::size_t units;
        std::u16string_view cut;
    } cases[] = {
        {u"abcd", 9, u"abcd"},
        {u"abcd", 2, u"ab"},
        {u"abcd", 0, u""},
        {u"abc\U0001F600", 4, u"abc"},
        {u"abc\U0001F600", 5, u"abc\U0001F600"},
        {u"\xDE00"
         u"abc",
         2, u"a"},  // a lone half already there goes too
    };
    for (const auto& c : cases) {
        std::u16string text(c.text);
        EXPECT_EQ(cutToWholeCharacters(text, c.units), c.text != c.cut);
        EXPECT_EQ(text, c.cut);
    }
}

}  // namespace
}  // namespace ts
