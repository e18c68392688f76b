#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/field_splitter.h"
#include "storage/text.h"

namespace ts {
namespace {

std::vector<std::u16string> fieldsOf(std::u16string_view line) {
    FieldSplitter splitter;
    splitter.clearSeparators();
    splitter.addSeparator(u',');
    splitter.split(line);
    std::vector<std::u16string> fields;
    for (int i = 0; i < splitter.fieldCount(); ++i) {
        fields.push_back(splitter.field(i));
    }
    return fields;
}

using Fields = std::vector<std::u16string>;

TEST(FieldSplitter, SplitsAtCommasAndHonoursQuotes) {
    const struct {
        std::u16string_view line;
        Fields fields;
    } cases[] = {
        {u"a,b", {u"a", u"b"}},
        {u"a,,b,", {u"a", u"", u"b", u""}},
        {u"", {u""}},
        {u",", {u"", u""}},
        {u"\"x,y\",z", {u"x,y", u"z"}},
        {u"x\"y\"z", {u"xyz"}},
        {u"'x,y\",z", {u"x,y", u"z"}},  // either quote ends the other's
        {u"a'b,c,d", {u"ab,c,d"}},      // an open quote runs to the end
        {u"a\nb", {u"ab"}},             // line feeds are dropped
        {u"\"a\nb\"", {u"ab"}},
        {u" a , b ", {u" a ", u" b "}},  // blanks are kept
        // Two equal quotes inside quotes are one literal quote.
        {u"\"O''Neil\",1", {u"O'Neil", u"1"}},
        {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
        {u"\"''\"\"\"", {u"'\""}},
        {u"\"\"\"\"", {u"\""}},
        {u"'a\"\"b'", {u"a\"b"}},  // doubled quotes inside ' quotes
        // Outside quotes two quotes are an empty quotation.
        {u"a''b", {u"ab"}},
        {u"\"\",x", {u"", u"x"}},
        // Mixed pairs are not a doubled quote.
        {u"\"a'\"b\"", {u"ab"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldsOf(c.line), c.fields) << toUtf8(c.line);
    }
}

TEST(FieldSplitter, SeparatorSet) {
    FieldSplitter splitter;
    EXPECT_FALSE(splitter.isSeparator(u','));
    splitter.addSeparator(u'\0');
    EXPECT_FALSE(splitter.isSeparator(u'\0'));
    const std::u16string eleven = u",;:|/ \t-+*#";
    for (const char16_t unit : eleven) {
        splitter.addSeparator(unit);
    }
    splitter.addSeparator(u'=');  // a twelfth is ignored
    for (const char16_t unit : eleven) {
        EXPECT_TRUE(splitter.isSeparator(unit)) << static_cast<int>(unit);
    }
    EXPECT_FALSE(splitter.isSeparator(u'='));
    EXPECT_FALSE(splitter.isSeparator(u'\0'));

    splitter.split(u"a;b c=d");
    EXPECT_EQ(splitter.fieldCount(), 3);
    EXPECT_EQ(splitter.field(2), u"c=d");
    EXPECT_EQ(splitter.field(3), u"");  // out of range gives an empty text
    EXPECT_EQ(splitter.field(-1), u"");

    splitter.clearSeparators();
    EXPECT_FALSE(splitter.isSeparator(u','));
    splitter.split(u"a,b");
    EXPECT_EQ(splitter.fieldCount(), 1);
}

TEST(FieldSplitter, CharacterClasses) {
    EXPECT_TRUE(FieldSplitter::isQuote(u'"'));
    EXPECT_TRUE(FieldSplitter::isQuote(u'\''));
    EXPECT_FALSE(FieldSplitter::isQuote(u'`'));
    EXPECT_FALSE(FieldSplitter::isQuote(u'\uFF02'));
    EXPECT_TRUE(FieldSplitter::isLineFeed(u'\n'));
    EXPECT_FALSE(FieldSplitter::isLineFeed(u'\r'));
}

TEST(FieldEquals, IsExact) {
    EXPECT_TRUE(fieldEquals(u"GROUP", u"GROUP"));
    EXPECT_TRUE(fieldEquals(u"", u""));
    EXPECT_FALSE(fieldEquals(u"GROUP", u"GROUP "));
    EXPECT_FALSE(fieldEquals(u"GROUP", u"group"));
    EXPECT_FALSE(fieldEquals(u"GROUP", u"GROU"));
    EXPECT_FALSE(fieldEquals(std::u16string_view(u"a\0b", 3), u"a"));
}

}  // namespace
}  // namespace ts
