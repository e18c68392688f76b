// The edit-field repair after a paste cut at a text limit.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_controls.h"

namespace ts::platform {
namespace {

TEST(DropLoneSurrogates, KeepsWholeCharactersAndMovesTheCaret) {
    struct Row {
        std::u16string text;
        std::size_t caret;
        std::u16string kept;
        std::size_t keptCaret;
    };
    // U+1F600 is the pair D83D DE00: one character, two units.
    const Row rows[] = {
        {u"abc", 3, u"abc", 3},
        {u"ab\xD83D\xDE00", 4, u"ab\xD83D\xDE00", 4},
        // A paste cut after the high half, at the end and before older text.
        {u"ab\xD83D", 3, u"ab", 2},
        {u"a\xD83D"
         u"bc",
         2, u"abc", 1},
        // A low half left alone, and halves in the wrong order.
        {u"\xDE00x", 0, u"x", 0},
        {u"\xDE00\xD83D", 2, u"", 0},
        {u"", 0, u"", 0},
    };
    for (const Row& row : rows) {
        std::u16string text = row.text;
        std::size_t caret = row.caret;
        const bool changed = dropLoneSurrogates(text, caret);
        EXPECT_EQ(changed, row.kept != row.text);
        EXPECT_EQ(text, row.kept);
        EXPECT_EQ(caret, row.keptCaret);
    }
}

}  // namespace
}  // namespace ts::platform
