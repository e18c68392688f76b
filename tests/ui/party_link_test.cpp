#include "ui/party_link.h"

#include <gtest/gtest.h>

#include <string>

#include "model/evening.h"
#include "model/party.h"
#include "storage/evening_file.h"
#include "storage/link_fragment.h"
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

// --- The whole evening.

// The evening a format 2 payload stands for, imported as a settings file.
std::string readEveningBack(std::string_view payload) {
    std::string file;
    if (readEveningLinkPayload(payload, file) != LinkReading::Read) {
        return "<refused>";
    }
    EXPECT_TRUE(isSettingsFile(file));
    test::Scratch scratch;
    const std::string path = scratch.file("shared.cfg");
    test::writeBytes(path, file);
    Evening evening = Evening::create();
    if (!importFromPath(fromUtf8(path), evening)) {
        return "<not imported>";
    }
    return describe(evening);
}

Evening twoRounds() {
    Evening evening(makeParty(u"FIRST", 21605, 1000,
                              {{u"幹事チーム", 1, 100, 0}, {u"ゲスト 田中", 2, 90, 1500}}));
    evening.current().calculation = Calculation::Rounded;
    evening.addRound();
    evening.party().total = 9000;
    evening.party().groupAt(1)->people = 1;
    evening.current().calculation = Calculation::Plain;
    evening.organiser = MemberKey{u"幹事チーム", 1};
    evening.payee = u"PayPay: \"kanji-01\", 三井住友";
    evening.marks[MemberKey{u"ゲスト 田中", 2}] = Mark{1000, -2000};
    return evening;
}

TEST(EveningLink, CarriesTheWholeEveningInFormatTwo) {
    Evening evening = twoRounds();
    const LinkPayload link = eveningLinkPayload(evening);
    EXPECT_EQ(link.format, kEveningLinkFormat);
    EXPECT_EQ(link.payload,
              "E,2,1\n"
              "R,\"\",u\n"
              "P,\"FIRST\",21605,1000\n"
              "G,\"幹事チーム\",1,100,0\n"
              "G,\"ゲスト 田中\",2,90,1500\n"
              "R,\"二次会\",y\n"
              "P,\"FIRST\",9000,1000\n"
              "G,\"幹事チーム\",1,100,0\n"
              "G,\"ゲスト 田中\",1,90,0\n"
              "O,\"幹事チーム\",1\n"
              "Y,\"PayPay: \"\"kanji-01\"\", 三井住友\"\n"
              "M,\"ゲスト 田中\",2,1000,-2000\n");
    EXPECT_EQ(readEveningBack(link.payload), describe(evening));

    // One round with an organiser is an evening too.
    evening.removeRound(1);
    EXPECT_EQ(eveningLinkPayload(evening).format, kEveningLinkFormat);
    EXPECT_EQ(readEveningBack(eveningLinkPayload(evening).payload), describe(evening));
}

TEST(EveningLink, ASinglePartyMakesTodaysLink) {
    Evening evening(makeParty(u"FIRST", 12345, 1000, {{u"幹事チーム", 2, 100, 3500}}));
    const struct {
        Calculation asked;
        bool ran;
        Calculated shown;
    } cases[] = {
        {Calculation::None, false, Calculated::None},
        {Calculation::Rounded, true, Calculated::ToTheUnit},
        {Calculation::Plain, true, Calculated::ToTheYen},
        {Calculation::Plain, false, Calculated::None},
    };
    for (const auto& c : cases) {
        evening.current().calculation = c.asked;
        evening.current().resultsCurrent = c.ran;
        const LinkPayload link = eveningLinkPayload(evening);
        EXPECT_EQ(link.format, kLinkFormat);
        EXPECT_EQ(link.payload, partyLinkPayload(evening.party(), c.shown));
    }
}

TEST(EveningLink, RefusesWhatItDoesNotMake) {
    const std::string e = "E,1,0\n";
    const std::string r = "R,\"\",u\n";
    const std::string p = "P,\"FIRST\",1000,100\n";
    const std::string g = "G,\"A\",1,100,0\n";
    const std::string o = "O,\"A\",1\n";
    const struct {
        const char* what;
        std::string payload;
        LinkReading reading;
    } cases[] = {
        {"empty", "", LinkReading::Malformed},
        {"no EVENING", r + p + g, LinkReading::Malformed},
        {"no round", e + o, LinkReading::Malformed},
        {"a round without PEOPLE", e + r + g, LinkReading::Malformed},
        {"a round ending at ROUND", e + r + p + r, LinkReading::Malformed},
        {"a group before the first round", e + g + r + p, LinkReading::Malformed},
        {"a round after the marks", e + r + p + o + r + p, LinkReading::Malformed},
        {"an unknown letter", e + r + p + "Z,\"A\",1\n", LinkReading::Malformed},
        {"a quoted tag", e + r + p + "\"G\",\"A\",1,100,0\n", LinkReading::Malformed},
        {"PEOPLE with a date", e + r + "P,\"FIRST\",1000,100,2024/3/5\n", LinkReading::Malformed},
        {"a number not as written", e + r + p + "G,\"A\",+1,100,0\n", LinkReading::Malformed},
        {"a number past int32", e + r + "P,\"F\",2147483648,100\n", LinkReading::Malformed},
        {"no last line feed", e + r + p.substr(0, p.size() - 1), LinkReading::Malformed},
        {"invalid UTF-8", e + r + "P,\"\xC3\x28\",1,100\n", LinkReading::Malformed},
        {"a record too long for the file", e + r + "P,\"" + std::string(248, 'x') + "\",1,100\n",
         LinkReading::Malformed},
        {"too large", e + r + p + std::string(kMaxLinkPayload, 'x'), LinkReading::TooLarge},
    };
    for (const auto& c : cases) {
        std::string file = "untouched";
        EXPECT_EQ(readEveningLinkPayload(c.payload, file), c.reading) << c.what;
        EXPECT_EQ(file, "untouched") << c.what;
    }
    // The evening's own rules are the settings file's, when it is imported.
    EXPECT_EQ(readEveningBack(e + r + p + g + "M,\"A\",1,0,0\nM,\"A\",1,5,0\n"), "<not imported>");
    EXPECT_EQ(readEveningBack("E,2,0\n" + r + p + g), "<not imported>");
}

}  // namespace
}  // namespace ts::ui
