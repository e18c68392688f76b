#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scratch.h"
#include "storage/text_file.h"

namespace ts {
namespace {

using test::le;
using test::readBytes;
using test::Scratch;
using test::writeBytes;

// Every readLine result of an open file until the first false, that one
// included.
std::vector<std::pair<std::u16string, bool>> readAllLines(TextFile& file) {
    std::vector<std::pair<std::u16string, bool>> lines;
    std::u16string line;
    bool more = true;
    while (more) {
        more = file.readLine(line);
        lines.emplace_back(line, more);
    }
    file.close();
    return lines;
}

std::vector<std::pair<std::u16string, bool>> readAllLines(const std::u16string& path) {
    TextFile file;
    if (!file.open(path, u'R')) {
        return {};
    }
    return readAllLines(file);
}

TEST(TextFile, WriteLineWritesUnitsAndAZeroUnit) {
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    TextFile file;
    ASSERT_TRUE(file.open(dir.wide("f"), u'W'));
    EXPECT_TRUE(file.writeLine(u"ab\n"));
    EXPECT_TRUE(file.writeLine(u"\u65b0"));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(readBytes(dir.file("f")), std::string("a\0b\0\n\0\0\0\xb0\x65\0\0", 12));

    // Into memory, the same bytes.
    std::string bytes = "left over";
    TextFile memory;
    ASSERT_TRUE(memory.openBytes(bytes));
    EXPECT_FALSE(memory.open(dir.wide("g"), u'W')) << "one file at a time";
    EXPECT_TRUE(memory.writeLine(u"ab\n"));
    EXPECT_TRUE(memory.writeLine(u"\u65b0"));
    EXPECT_TRUE(memory.close());
    EXPECT_EQ(bytes, readBytes(dir.file("f")));
}

TEST(TextFile, ReadLineRules) {
    using Lines = std::vector<std::pair<std::u16string, bool>>;
    const std::u16string a300(300, u'a');
    std::u16string long300 = a300;
    for (std::size_t i = 0; i < long300.size(); ++i) {
        long300[i] = static_cast<char16_t>(u'A' + i % 26);
    }
    const struct {
        const char* what;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"written line",
         le(std::u16string(u"ab\n\0", 4)),
         {{u"ab", true}, {u"", true}, {u"", false}}},
        {"empty lines", le(u"a\n\nb\n"), {{u"a", true}, {u"", true}, {u"b", true}, {u"", false}}},
        {"no line end", le(u"ab"), {{u"ab", false}}},
        {"empty file", "", {{u"", false}}},
        {"carriage return kept", le(u"a\r\n"), {{u"a\r", true}, {u"", false}}},
        {"300 units",
         le(long300 + u"\n"),
         {{long300.substr(0, 255), true}, {long300.substr(256), true}, {u"", false}}},
        {"exactly 255",
         le(a300.substr(0, 255) + u"\n"),
         {{a300.substr(0, 255), true}, {u"", false}}},
        {"256 then end", le(a300.substr(0, 256)), {{a300.substr(0, 255), true}, {u"", false}}},
        // A single odd byte at the end is one more unit: the byte as its low byte.
        {"odd byte", std::string("a\0b", 3), {{u"ab", false}}},
        {"odd byte after line", std::string("a\0\n\0\x41", 5), {{u"a", true}, {u"A", false}}},
        {"odd line feed", std::string("a\0\n", 3), {{u"a", true}, {u"", false}}},
        {"odd zero", std::string("\0", 1), {{u"", true}, {u"", false}}},
        {"high bytes", std::string("\x00\x30\x0a\x00", 4), {{u"\u3000", true}, {u"", false}}},
    };
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    for (const auto& c : cases) {
        writeBytes(dir.file("r"), c.bytes);
        EXPECT_EQ(readAllLines(dir.wide("r")), c.lines) << c.what;
        TextFile memory;
        ASSERT_TRUE(memory.openBytes(std::string_view(c.bytes)));
        EXPECT_EQ(readAllLines(memory), c.lines) << c.what << ", from memory";
    }
}

// Reading through the buffer gives what reading two bytes at a time gives,
// also across buffer refills and with an odd length.
TEST(TextFile, ReadCharMatchesUnitByUnitAcrossRefills) {
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    for (const std::size_t size : {8191u, 8192u, 8193u, 20001u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
        }
        writeBytes(dir.file("big"), bytes);
        TextFile file;
        ASSERT_TRUE(file.open(dir.wide("big"), u'R'));
        std::size_t at = 0;
        char16_t unit = 0;
        while (file.readChar(unit)) {
            ASSERT_LT(at, size);
            const auto low = static_cast<unsigned char>(bytes[at]);
            const auto high = at + 1 < size ? static_cast<unsigned char>(bytes[at + 1]) : 0u;
            ASSERT_EQ(unit, low | (high << 8)) << "size " << size << " at " << at;
            at += 2;
        }
        EXPECT_GE(at, size);
        EXPECT_LE(at, size + 1);
        EXPECT_FALSE(file.readChar(unit));  // the end stays the end
    }
}

TEST(TextFile, OpenRules) {
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    writeBytes(dir.file("f"), "x");
    TextFile file;
    EXPECT_FALSE(file.open(dir.wide("f"), u'A'));
    EXPECT_FALSE(file.open(dir.wide("f"), u'w'));  // modes are case-sensitive
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.open(dir.wide("missing"), u'R'));
    EXPECT_FALSE(file.open(u"", u'R'));
    EXPECT_FALSE(file.open(u"", u'W'));
    EXPECT_FALSE(file.open(fromUtf8(dir.path()), u'R'));  // a folder is not a file
    EXPECT_FALSE(file.open(fromUtf8(dir.path()), u'W'));
    EXPECT_FALSE(file.open(dir.wide("f/g"), u'W'));  // under a non-folder
    EXPECT_FALSE(file.open(dir.wide("no/such"), u'W'));
    // A zero unit must not cut the name down to an existing file.
    EXPECT_FALSE(file.open(dir.wide("f") + std::u16string(1, u'\0') + u"x", u'R'));
    EXPECT_FALSE(file.open(dir.wide("f") + std::u16string(1, u'\0') + u"x", u'W'));
    EXPECT_EQ(readBytes(dir.file("f")), "x");
    EXPECT_EQ(dir.listing(), "f");

    ASSERT_TRUE(file.open(dir.wide("f"), u'R'));
    EXPECT_FALSE(file.open(dir.wide("f"), u'R'));  // one open per file object
    EXPECT_FALSE(file.writeLine(u"no"));           // a read file is never written
    EXPECT_TRUE(file.close());
    EXPECT_FALSE(file.isOpen());
}

TEST(TextFile, NewFileAppearsOnlyAtClose) {
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    writeBytes(dir.file("f"), "old");
    {
        TextFile file;
        ASSERT_TRUE(file.open(dir.wide("f"), u'W'));
        char16_t unit = 0;
        EXPECT_FALSE(file.readChar(unit));  // a written file is never read
        file.writeLine(u"new\n");
        EXPECT_EQ(readBytes(dir.file("f")), "old");
    }  // destroyed without close: the new content is dropped
    EXPECT_EQ(readBytes(dir.file("f")), "old");
    EXPECT_EQ(dir.listing(), "f");

    TextFile file;
    ASSERT_TRUE(file.open(dir.wide("f"), u'W'));
    file.writeLine(u"new\n");
    EXPECT_TRUE(file.close());
    EXPECT_EQ(readBytes(dir.file("f")), le(std::u16string(u"new\n\0", 5)));
    EXPECT_EQ(dir.listing(), "f");
}

TEST(TextFile, NonAsciiPath) {
    Scratch dir;
    ASSERT_TRUE(dir.ok());
    const std::u16string path = fromUtf8(dir.path()) + u"/\u8a2d\u5b9a\U0001F600.cfg";
    TextFile out;
    ASSERT_TRUE(out.open(path, u'W'));
    out.writeLine(u"x\n");
    ASSERT_TRUE(out.close());
    EXPECT_EQ(readBytes(toUtf8(path)).size(), 6u);
}

}  // namespace
}  // namespace ts
