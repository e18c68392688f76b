#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/entry.h"
#include "model/group.h"
#include "model/party.h"
#include "settings_fixture.h"
#include "storage/field_splitter.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts {
namespace {

using test::describe;
using test::GroupValues;
using test::le;
using test::makeParty;
using test::readBytes;
using test::records;
using test::SettingsFile;
using test::writeBytes;

TEST_F(SettingsFile, ExampleIsWrittenByteForByte) {
    auto party = makeParty(u"FIRST", 12000, 100, {{u"A", 1, 100, 0}});
    ASSERT_TRUE(saveToPath(path(), *party));
    const std::string expected =
        records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"FIRST\",12000,100,2024/3/5",
                 u"GROUP,\"A\",1,100,0"});
    ASSERT_EQ(expected.size(), 158u);
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(bytes().substr(120), std::string("G\0R\0O\0U\0P\0,\0\"\0A\0\"\0,\0001\0,\0001\0"
                                               "0\0000\0,\0000\0\n\0\0\0",
                                               38));
    EXPECT_EQ(dir.listing(), "ts.cfg");
    EXPECT_EQ(settingsFileBytes(*party), expected) << "what a store is handed";

    auto loaded = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(path(), *loaded));
    EXPECT_EQ(describe(*loaded), "FIRST|12000|100|A:1:100:0");
    EXPECT_EQ(loaded->groupAt(0)->share, 0);
    EXPECT_EQ(loaded->groupAt(0)->balance, 0);
    EXPECT_EQ(loaded->groupAt(0)->parent(), loaded.get());
}

TEST_F(SettingsFile, NewPartyWritesHeaderAndPeopleOnly) {
    auto party = Party::create(u"FIRST");
    party->remainder = 77;  // results of the calculation are not stored
    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(bytes(), records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"FIRST\",0,100,2024/3/5"}));
}

TEST_F(SettingsFile, DateAndNumbersAtTheirWidest) {
    setSaveDateSource([] { return SaveDate{65535, 12, 31}; });
    auto party = makeParty(u"", INT32_MIN, INT32_MAX, {{u"", INT32_MIN, -1, INT32_MAX}});
    party->groupAt(0)->share = 5;
    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(bytes(), records({u"@TALLYSHARE/CONFIG,1.00",
                                u"PEOPLE,\"\",-2147483648,2147483647,65535/12/31",
                                u"GROUP,\"\",-2147483648,-1,2147483647"}));
    EXPECT_EQ(describe(*roundTrip(*party)), describe(*party));
}

TEST_F(SettingsFile, LocalDateIsPlausible) {
    const SaveDate date = localSaveDate();
    EXPECT_GE(date.year, 2024);
    EXPECT_GE(date.month, 1);
    EXPECT_LE(date.month, 12);
    EXPECT_GE(date.day, 1);
    EXPECT_LE(date.day, 31);
}

TEST_F(SettingsFile, NamesComeBackExactly) {
    const std::u16string_view names[] = {
        u"A,B",
        u" blank ",
        u"O'Neil",
        u"say \"hi\"",
        u"x\"y\"z",
        u"''",
        u"\"\"",
        u"'",
        u"\"",
        u"'\"'\"",
        u"a''b\"\"c",
        u",\",',",
        u"",
        u"\u65b0\u898f",
        u"\U0001F600",
        u"\uFF8A\uFF9D",
        u"tab\there",
        u"cr\rhere",
        u"\u3000full\u3000",
        u"\xD800lone",
    };
    for (const auto name : names) {
        auto party = makeParty(name, 5, 10, {{std::u16string(name), 2, 50, 300}, {u"next"}});
        const std::string want = describe(*party);
        EXPECT_EQ(describe(*roundTrip(*party)), want) << toUtf8(name);
    }
}

TEST_F(SettingsFile, GroupsKeepTheirOrder) {
    std::vector<GroupValues> groups;
    for (int i = 0; i < 50; ++i) {
        groups.push_back({u"g" + decimalText(49 - i), i, 100 - i, i * 1000 - 7});
    }
    auto party = makeParty(u"order", 1, 1, groups);
    EXPECT_EQ(describe(*roundTrip(*party)), describe(*party));
}

TEST_F(SettingsFile, QuotesAreDoubledInTheFile) {
    auto party = makeParty(u"a\"b", 0, 100, {{u"O'Neil"}});
    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(bytes(), records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"a\"\"b\",0,100,2024/3/5",
                                u"GROUP,\"O''Neil\",1,100,0"}));
}

// A reader that takes every quote as a toggle still keeps each record.
TEST_F(SettingsFile, DoubledQuotesKeepRecordsWhole) {
    for (const std::u16string_view line :
         {u"GROUP,\"O''Neil\",1,100,0", u"GROUP,\"x\"\"y,z\",1,100,0",
          u"GROUP,\"''\"\"\",1,100,0"}) {
        // Every quote character appears an even number of times in a row, so
        // each pair closes what it opened and the field count stays 5.
        std::u16string toggled;
        for (const char16_t unit : line) {
            toggled.push_back(FieldSplitter::isQuote(unit) ? u'"' : unit);
        }
        int quotes = 0;
        int fields = 1;
        for (const char16_t unit : toggled) {
            if (unit == u'"') {
                ++quotes;
            } else if (unit == u',' && quotes % 2 == 0) {
                ++fields;
            }
        }
        EXPECT_EQ(fields, 5) << toUtf8(line);
    }
}

TEST_F(SettingsFile, ReaderRules) {
    const std::u16string_view header = u"@TALLYSHARE/CONFIG,1.00";
    const std::u16string_view people = u"PEOPLE,\"P\",500,10,2024/1/2";
    const std::u16string_view group = u"GROUP,\"G\",3,80,200";
    const struct {
        const char* what;
        std::string content;
        std::string party;
    } cases[] = {
        {"empty file", "", "FIRST|0|100"},
        {"whole file", records({header, people, group}), "P|500|10|G:3:80:200"},
        {"any order, no header", records({group, people, group}), "P|500|10|G:3:80:200|G:3:80:200"},
        {"later PEOPLE wins", records({people, u"PEOPLE,\"Q\",1,2,x"}), "Q|1|2"},
        {"other version first", records({u"@TALLYSHARE/CONFIG,1.01", people, group}),
         "FIRST|0|100"},
        {"other version later", records({header, people, u"@TALLYSHARE/CONFIG,1.01", group}),
         "P|500|10"},
        {"version header with 3 fields", records({u"@TALLYSHARE/CONFIG,1.01,x", people}),
         "P|500|10"},
        {"magic alone", records({u"@TALLYSHARE/CONFIG", people}), "P|500|10"},
        {"magic in lower case", records({u"@tallyshare/config,9", people}), "P|500|10"},
        {"carriage returns with header",
         le(u"@TALLYSHARE/CONFIG,1.00\r\nPEOPLE,\"P\",500,10,2024/1/2\r\n"), "FIRST|0|100"},
        {"carriage returns without header",
         le(u"PEOPLE,\"P\",500,10,2024/1/2\r\nGROUP,\"G\",3,80,200\r\n"), "P|500|10|G:3:80:200"},
        {"PEOPLE with 4 fields", records({u"PEOPLE,\"P\",500,10"}), "FIRST|0|100"},
        {"PEOPLE with 6 fields", records({u"PEOPLE,\"P\",500,10,2024/1/2,x"}), "FIRST|0|100"},
        {"people in lower case", records({u"people,\"P\",500,10,2024/1/2"}), "FIRST|0|100"},
        {"GROUP with 4 fields", records({u"GROUP,\"G\",3,80"}), "FIRST|0|100"},
        {"GROUP with 6 fields", records({u"GROUP,\"G\",3,80,200,1"}), "FIRST|0|100"},
        {"tag with a blank", records({u"GROUP ,\"G\",3,80,200"}), "FIRST|0|100"},
        {"people not a number", records({u"GROUP,\"G\",many,80,200"}), "FIRST|0|100|G:0:80:200"},
        {"quoted tag and numbers", records({u"\"GROUP\",G,'3',\"80\",200"}),
         "FIRST|0|100|G:3:80:200"},
        {"no range test", records({u"GROUP,\"G\",0,250,-5", u"PEOPLE,\"P\",-1,0,"}),
         "P|-1|0|G:0:250:-5"},
        {"blanks and overflow", records({u"GROUP,G, 7,99999999999,-99999999999"}),
         "FIRST|0|100|G:7:2147483647:-2147483648"},
        {"last record without end", records({group}) + le(u"GROUP,\"H\",1,1,1"),
         "FIRST|0|100|G:3:80:200"},
        {"last record ends at the zero unit only", le(std::u16string(u"GROUP,H,1,1,1\0", 14)),
         "FIRST|0|100|H:1:1:1"},
        // What the earlier writer made of quotes in names reads as before.
        {"old file, one apostrophe", records({u"PEOPLE,\"O'Neil\",1,2,2024/1/1", group}),
         "FIRST|0|100|G:3:80:200"},
        {"old file, two double quotes", records({u"GROUP,\"x\"y\"z\",1,2,3"}),
         "FIRST|0|100|xyz:1:2:3"},
        {"old file, mixed quotes", records({u"GROUP,\"a'b\"c\",1,2,3"}), "FIRST|0|100|abc:1:2:3"},
        {"line of 255 units read whole",
         records({u"GROUP,\"" + std::u16string(241, u'n') + u"\",1,2,3"}),
         "FIRST|0|100|" + std::string(241, 'n') + ":1:2:3"},
        {"odd trailing byte", records({group}) + std::string(1, 'X'), "FIRST|0|100|G:3:80:200"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadBytes(c.content), c.party) << c.what;
    }
}

TEST_F(SettingsFile, LoadAddsToExistingGroups) {
    writeBytes(dir.file("ts.cfg"), records({u"GROUP,\"new\",1,100,0"}));
    auto party = makeParty(u"keep", 9, 8, {{u"old"}});
    ASSERT_TRUE(loadFromPath(path(), *party));
    EXPECT_EQ(describe(*party), "keep|9|8|old:1:100:0|new:1:100:0");
}

TEST_F(SettingsFile, MissingFileLoadsNothing) {
    auto party = Party::create(u"FIRST");
    EXPECT_FALSE(loadFromPath(path(), *party));
    EXPECT_FALSE(loadFromPath(u"", *party));
    EXPECT_EQ(describe(*party), "FIRST|0|100");
}

TEST_F(SettingsFile, LongNamesAreShortenedToFitTheLine) {
    const std::u16string x237(237, u'x');
    const struct {
        const char* what;
        std::u16string name;
        std::u16string kept;
    } cases[] = {
        {"plain", std::u16string(300, u'x'), std::u16string(238, u'x')},
        {"just fits", std::u16string(238, u'x'), std::u16string(238, u'x')},
        {"surrogate pair at the edge", x237 + u"\U0001F600", x237},
        {"pair inside", x237.substr(1) + u"\U0001F600" + u"yy", x237.substr(1) + u"\U0001F600"},
        {"quote at the edge", x237 + u"'", x237},
        {"quote inside", x237.substr(1) + u"\"yy", x237.substr(1) + u"\""},
    };
    for (const auto& c : cases) {
        auto party = makeParty(u"FIRST", 0, 100, {{c.name}});
        auto loaded = roundTrip(*party);
        ASSERT_EQ(loaded->groupCount(), 1) << c.what;
        EXPECT_EQ(loaded->groupAt(0)->name(), c.kept) << c.what;
        // GROUP,"<name>",1,100,0 and the line feed fill at most 255 units.
        const std::string file = bytes();
        const std::size_t groupLine = file.find(le(u"GROUP"));
        const std::size_t lineEnd = file.find(le(u"\n"), groupLine);
        EXPECT_LE((lineEnd - groupLine) / 2 + 1, 255u) << c.what;
    }

    // Up to 210 units always fit, with every number and the year at their widest.
    setSaveDateSource([] { return SaveDate{9999, 12, 31}; });
    const std::u16string name210(210, u'n');
    auto wide =
        makeParty(name210, INT32_MIN, INT32_MIN, {{name210, INT32_MIN, INT32_MIN, INT32_MIN}});
    EXPECT_EQ(describe(*roundTrip(*wide)), describe(*wide));

    // The party's name is shortened the same way; the numbers stay whole.
    auto longParty = makeParty(std::u16string(400, u'p'), INT32_MIN, -1, {});
    auto loaded = roundTrip(*longParty);
    EXPECT_EQ(loaded->total, INT32_MIN);
    EXPECT_EQ(loaded->unit, -1);
    // PEOPLE," + name + ",-2147483648,-1,9999/12/31 and the line feed.
    EXPECT_EQ(loaded->name(), std::u16string(255 - 8 - 1 - 27, u'p'));
}

// The group dialog takes names up to kGroupNameRoom units of the record; any
// such name comes back whole, whatever the group's numbers.
TEST_F(SettingsFile, NamesAsWideAsTheRoomAlwaysSurvive) {
    ASSERT_EQ(kGroupNameRoom, 210u);
    const std::u16string quotes = std::u16string(52, u'"') + std::u16string(53, u'\'');
    const struct {
        const char* what;
        std::u16string name;
    } cases[] = {
        {"plain", std::u16string(210, u'x')},
        {"only quotes", quotes},
        {"pairs and a quote", std::u16string(104, u'x') + u"'" +
                                  std::u16string(u"\U0001F600").append(u"\U0001F600") +
                                  std::u16string(100, u'y') + u"\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storedNameWidth(c.name), kGroupNameRoom) << c.what;
        auto party = makeParty(
            u"FIRST", 0, 100,
            {{c.name, INT32_MIN, INT32_MIN, INT32_MIN}, {c.name, INT32_MAX, INT32_MAX, INT32_MAX}});
        auto loaded = roundTrip(*party);
        ASSERT_EQ(loaded->groupCount(), 2) << c.what;
        std::u16string expected = c.name;
        std::erase(expected, u'\n');  // a line feed is never written
        EXPECT_EQ(loaded->groupAt(0)->name(), expected) << c.what;
        EXPECT_EQ(loaded->groupAt(1)->name(), expected) << c.what;
    }
}

TEST_F(SettingsFile, LineBreaksInNamesAreLeftOut) {
    auto party = makeParty(u"a\nb", 1, 2, {{std::u16string(u"c\0d", 3)}});
    EXPECT_EQ(describe(*roundTrip(*party)), "ab|1|2|cd:1:100:0");
}

TEST_F(SettingsFile, KeepsAFileOfAnotherVersionAsBackup) {
    const std::string newer = records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"P\",1,1,2030/1/1",
                                       u"@TALLYSHARE/CONFIG,2.00", u"GROUP2,\"x\",1,2,3,4"}) +
                              std::string(1, '\x7f');
    writeBytes(dir.file("ts.cfg"), newer);
    auto party = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(path(), *party));
    EXPECT_EQ(describe(*party), "P|1|1");

    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(readBytes(dir.file("ts.cfg.bak")), newer);
    EXPECT_EQ(bytes(), records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"P\",1,1,2024/3/5"}));

    // The next save replaces a file of this version and leaves the copy alone.
    party->total = 2;
    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(readBytes(dir.file("ts.cfg.bak")), newer);
    EXPECT_EQ(dir.listing(), "ts.cfg ts.cfg.bak");
}

TEST_F(SettingsFile, NoBackupForThisVersionOrOddHeaders) {
    for (const std::string& content :
         {records({u"@TALLYSHARE/CONFIG,1.00", u"GROUP,\"G\",1,1,1"}),
          records({u"@TALLYSHARE/CONFIG,2.00,extra"}), std::string("junk")}) {
        writeBytes(dir.file("ts.cfg"), content);
        auto party = Party::create(u"FIRST");
        ASSERT_TRUE(saveToPath(path(), *party));
        EXPECT_EQ(dir.listing(), "ts.cfg");
    }
}

TEST_F(SettingsFile, NoSaveWhenTheBackupCannotBeMade) {
    const std::string newer = records({u"@TALLYSHARE/CONFIG,2.00"});
    writeBytes(dir.file("ts.cfg"), newer);
    ASSERT_TRUE(test::makeFolder(dir.file("ts.cfg.bak")));
    auto party = Party::create(u"FIRST");
    EXPECT_FALSE(saveToPath(path(), *party));
    EXPECT_EQ(bytes(), newer);
    EXPECT_EQ(dir.listing(), "ts.cfg ts.cfg.bak");
}
TEST_F(SettingsFile, SaveRemovesWhatInterruptedSavesLeft) {
    auto party = makeParty(u"FIRST", 1, 1, {{u"A"}});
    // Leftovers of this file go; look-alikes and other files' stay.
    for (const char* name : {".ts.cfg.0123abcd.tmp", ".ts.cfg.ffffffff.tmp", ".ts.cfg.0123abcz.tmp",
                             ".ts.cfg.0123abc.tmp", ".other.0123abcd.tmp", "ts.cfg.0123abcd.tmp"}) {
        writeBytes(dir.file(name), "partial");
    }
    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(dir.listing(),
              ".other.0123abcd.tmp .ts.cfg.0123abc.tmp .ts.cfg.0123abcz.tmp ts.cfg "
              "ts.cfg.0123abcd.tmp");
}

// The records a rescue prints are the file's records line for line, and
// loaded as a file (UTF-16LE, without the zero units) give the party back.
TEST_F(SettingsFile, PartyRecordsAreTheFilesRecordsAndLoadBack) {
    const std::vector<std::unique_ptr<Party>> parties = [] {
        std::vector<std::unique_ptr<Party>> out;
        out.push_back(makeParty(u"FIRST", 0, 100, {}));
        out.push_back(
            makeParty(u"say \"hi\"", 12000, 1000, {{u"O'Neil", 2, 80, 500}, {u"A,B", 1, 100, -3}}));
        out.push_back(makeParty(u"宴会", -5, 0, {{u"\"", 3, 100, 0}, {u"幹事", 1, 50, 7}}));
        return out;
    }();
    for (const auto& party : parties) {
        SCOPED_TRACE(describe(*party));
        const std::u16string text = partyRecords(*party, SaveDate{2026, 12, 7});
        setSaveDateSource([] { return SaveDate{2026, 12, 7}; });
        ASSERT_TRUE(saveToPath(path(), *party));
        std::u16string file;
        const std::string stored = bytes();
        for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
            const auto unit = static_cast<char16_t>(static_cast<unsigned char>(stored[i]) |
                                                    static_cast<unsigned char>(stored[i + 1]) << 8);
            if (unit != u'\0') {
                file.push_back(unit);
            }
        }
        EXPECT_EQ(toUtf8(text), toUtf8(file));
        EXPECT_NE(text.find(u",2026/12/7\n"), std::u16string::npos);
        EXPECT_EQ(loadBytes(le(text)), describe(*party));
    }
}

}  // namespace
}  // namespace ts
