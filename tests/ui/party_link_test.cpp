#include "ui/party_link.h"

#include <gtest/gtest.h>

#include <string>

#include "model/party.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "tests/storage/scratch.h"
#include "tests/storage/settings_fixture.h"

namespace ts::ui {
namespace {

using test::describe;
using test::makeParty;

// The party a payload stands for, read by the settings file's own reader.
std::string readBack(std::string_view payload, Calculated& calculated) {
    std::string file;
    if (readPartyLinkPayload(payload, file, calculated) != LinkReading::Read) {
        return "<refused>";
    }
    EXPECT_TRUE(isSettingsFile(file));
    test::Scratch scratch;
    const std::string path = scratch.file("shared.cfg");
    test::writeBytes(path, file);
    auto party = Party::create(u"FIRST");
    EXPECT_TRUE(loadFromPath(fromUtf8(path), *party));
    return describe(*party);
}

TEST(PartyLink, CarriesTheRecordsAndTheCalculation) {
    const auto party = makeParty(u"忘年会 \"二次会\"", 123456789, 1000,
                                 {{u"幹事チーム", 2, 100, 3500},
                                  {u"ゲスト 田中", 3, 90, 1000},
                                  {u"O'Neil, K \U0001F600", 1, 0, -50}});
    for (const Calculated calculated :
         {Calculated::None, Calculated::ToTheYen, Calculated::ToTheUnit}) {
        const std::string payload = partyLinkPayload(*party, calculated);
        Calculated back = Calculated::None;
        EXPECT_EQ(readBack(payload, back), describe(*party));
        EXPECT_EQ(back, calculated);
    }
    // The calculation's letter, then the records without the date.
    EXPECT_EQ(partyLinkPayload(*makeParty(u"FIRST", 0, 100, {{u"A"}}), Calculated::ToTheUnit),
              "u\nPEOPLE,\"FIRST\",0,100,\nGROUP,\"A\",1,100,0\n");
    Calculated back = Calculated::None;
    EXPECT_EQ(readBack(partyLinkPayload(*makeParty(u"FIRST", 0, 100, {}), Calculated::None), back),
              "FIRST|0|100");
}

TEST(PartyLink, RefusesWhatItDoesNotMake) {
    const std::string people = "PEOPLE,\"P\",1,100,\n";
    const std::string group = "GROUP,\"G\",1,100,0\n";
    const struct {
        const char* what;
        std::string payload;
        LinkReading reading;
    } cases[] = {
        {"empty", "", LinkReading::Malformed},
        {"letter only", "y", LinkReading::Malformed},
        {"no records", "y\n", LinkReading::Malformed},
        {"unknown letter", "x\n" + people, LinkReading::Malformed},
        {"no line feed after the letter", "y" + people, LinkReading::Malformed},
        {"cut in the last record", "y\n" + people + group.substr(0, 10), LinkReading::Malformed},
        {"group before people", "y\n" + group + people, LinkReading::Malformed},
        {"two PEOPLE records", "y\n" + people + people, LinkReading::Malformed},
        {"a header of another version", "y\n" + people + "@TALLYSHARE/CONFIG,2.00\n" + group,
         LinkReading::Malformed},
        {"a field too many", "y\n" + people + "GROUP,\"G\",1,100,0,9\n", LinkReading::Malformed},
        {"an empty line", "y\n" + people + "\n" + group, LinkReading::Malformed},
        {"invalid UTF-8", "y\nPEOPLE,\"\xC3\x28\",1,100,\n", LinkReading::Malformed},
        {"a lone surrogate in UTF-8", "y\nPEOPLE,\"\xED\xA0\x80\",1,100,\n",
         LinkReading::Malformed},
        {"a zero byte", std::string("y\nPEOPLE,\"\0\",1,100,\n", 20), LinkReading::Malformed},
        {"a line longer than a record", "y\nPEOPLE,\"" + std::string(250, 'x') + "\",1,100,\n",
         LinkReading::Malformed},
        {"too large", "y\n" + people + std::string(kMaxLinkPayload, 'x'), LinkReading::TooLarge},
    };
    for (const auto& c : cases) {
        std::string file = "untouched";
        Calculated calculated = Calculated::ToTheYen;
        EXPECT_EQ(readPartyLinkPayload(c.payload, file, calculated), c.reading) << c.what;
        EXPECT_EQ(file, "untouched") << c.what;
        EXPECT_EQ(calculated, Calculated::ToTheYen) << c.what;
    }
}

}  // namespace
}  // namespace ts::ui
