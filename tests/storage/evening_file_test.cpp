#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/evening.h"
#include "settings_fixture.h"
#include "storage/evening_file.h"
#include "storage/text_file.h"

namespace ts {
namespace {

using test::describe;
using test::le;
using test::readBytes;
using test::SettingsFile;
using test::writeBytes;
using Lines = std::vector<std::u16string>;

// The records of an evening file, each as a line; the zero units come with
// `records`.
std::vector<std::u16string> eveningLines() {
    return {
        u"@TALLYSHARE/CONFIG,1.00",
        u"PEOPLE,\"FIRST\",21605,1000,2024/3/5",
        u"GROUP,\"幹事チーム\",1,100,0",
        u"GROUP,\"ゲスト 田中\",2,90,1500",
        u"@TALLYSHARE/CONFIG,2.00",
        u"EVENING,2,1",
        u"ROUND,\"\",u",
        u"ROUND,\"二次会\",y",
        u"PEOPLE,\"FIRST\",9000,100,2024/3/5",
        u"GROUP,\"幹事チーム\",1,100,0",
        u"GROUP,\"ゲスト 田中\",1,90,0",
        u"ORGANISER,\"幹事チーム\",1",
        u"PAYEE,\"PayPay: \"\"kanji-01\"\"\"",
        u"MARK,\"ゲスト 田中\",1,4000,-4000",
        u"MARK,\"ゲスト 田中\",2,1000,-2000",
    };
}

std::string fileOf(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const std::u16string& line : lines) {
        text += line + u"\n" + std::u16string(1, u'\0');
    }
    return le(text);
}

const char* const kFirstRoundAlone =
    "0 [/0/FIRST|21605|1000|幹事チーム:1:100:0|ゲスト 田中:2:90:1500] payee ";

class EveningFile : public SettingsFile {
protected:
    // Loads `bytes` into a new evening.
    std::string load(const std::string& bytes, EveningReading expected) {
        writeBytes(dir.file("in.cfg"), bytes);
        Evening evening = Evening::create();
        TextFile file;
        EXPECT_TRUE(file.open(dir.wide("in.cfg"), u'R'));
        EXPECT_EQ(readEvening(file, evening), expected);
        return describe(evening);
    }
};

TEST_F(EveningFile, ASinglePartyIsWrittenAsAlways) {
    Evening evening = Evening::create();
    auto& party = evening.party();
    party.total = 12000;
    party.addGroup(Group::create(u"A"));
    evening.current().calculation = Calculation::Rounded;  // not kept for a single party
    ASSERT_TRUE(saveToPath(path(), evening));
    const std::string written = bytes();
    ASSERT_TRUE(saveToPath(path(), party));
    EXPECT_EQ(written, bytes());
    EXPECT_EQ(eveningRecords(evening, test::march5()), partyRecords(party, test::march5()));
}

TEST_F(EveningFile, RoundsOrganiserPayeeAndMarksComeBackByteForByte) {
    const std::string file = fileOf(eveningLines());
    writeBytes(dir.file("ts.cfg"), file);
    Evening evening = Evening::create();
    ASSERT_TRUE(loadFromPath(path(), evening));
    EXPECT_EQ(describe(evening),
              "1 [/2/FIRST|21605|1000|幹事チーム:1:100:0|ゲスト 田中:2:90:1500]"
              " [二次会/1/FIRST|9000|100|幹事チーム:1:100:0|ゲスト 田中:1:90:0]"
              " organiser 幹事チーム:1 payee PayPay: \"kanji-01\""
              " mark ゲスト 田中:1:4000:-4000 mark ゲスト 田中:2:1000:-2000");
    EXPECT_FALSE(evening.roundAt(0)->resultsCurrent);

    ASSERT_TRUE(saveToPath(path(), evening));
    EXPECT_EQ(bytes(), file);
    EXPECT_EQ(dir.listing(), "ts.cfg");  // our own section is no other version
    // The records a rescue prints are the same, without the zero units.
    std::u16string text;
    for (const std::u16string& line : eveningLines()) {
        text += line + u"\n";
    }
    EXPECT_EQ(eveningRecords(evening, test::march5()), text);

    // A reader of single parties reads the first round and stops at the
    // evening's header.
    auto party = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(path(), *party));
    EXPECT_EQ(describe(*party), "FIRST|21605|1000|幹事チーム:1:100:0|ゲスト 田中:2:90:1500");
}

TEST_F(EveningFile, WhatTheReaderWouldRefuseIsNotWritten) {
    Evening evening = Evening::create();
    evening.setRoundTitle(0, u"歓迎会");
    evening.payee = std::u16string(Evening::kMaxPayeeUnits + 20, u'x');
    evening.marks[MemberKey{u"A", 0}] = Mark{100, -100};
    evening.marks[MemberKey{u"A", 1}] = Mark{-1, -100};
    evening.marks[MemberKey{u"A", 2}] = Mark{100, -100};
    // Two names that only differ beyond what a record keeps.
    const std::u16string wide(250, u'名');
    evening.marks[MemberKey{wide + u"1", 1}] = Mark{1, -1};
    evening.marks[MemberKey{wide + u"2", 1}] = Mark{2, -2};
    ASSERT_TRUE(saveToPath(path(), evening));
    Evening back = Evening::create();
    TextFile file;
    ASSERT_TRUE(file.open(path(), u'R'));
    ASSERT_EQ(readEvening(file, back), EveningReading::Read);
    EXPECT_EQ(back.payee.size(), Evening::kMaxPayeeUnits);
    EXPECT_EQ(back.marks.size(), 2u);
    EXPECT_EQ(back.marks.count(MemberKey{u"A", 2}), 1u);
}

TEST_F(EveningFile, EveryMalformedSectionLeavesTheFirstRoundAlone) {
    struct Case {
        const char* what;
        void (*change)(Lines&);
    };
    const std::vector<Case> cases{
        {"unknown tag", [](Lines& l) { l.push_back(u"TIP,\"x\",1"); }},
        {"wrong field count", [](Lines& l) { l[7] = u"ROUND,\"二次会\",y,1"; }},
        {"fewer rounds than said", [](Lines& l) { l[5] = u"EVENING,3,1"; }},
        {"more rounds than said", [](Lines& l) { l[5] = u"EVENING,1,0"; }},
        {"current out of range", [](Lines& l) { l[5] = u"EVENING,2,2"; }},
        {"more than 20 rounds", [](Lines& l) { l[5] = u"EVENING,21,1"; }},
        {"no EVENING first", [](Lines& l) { l.erase(l.begin() + 5); }},
        {"bad calculation letter", [](Lines& l) { l[6] = u"ROUND,\"\",U"; }},
        {"later round without PEOPLE", [](Lines& l) { l.erase(l.begin() + 8); }},
        {"GROUP before any later round", [](Lines& l) { l.insert(l.begin() + 7, l[2]); }},
        {"number not as written", [](Lines& l) { l[10] = u"GROUP,\"ゲスト 田中\",01,90,0"; }},
        {"people not a number", [](Lines& l) { l[10] = u"GROUP,\"ゲスト 田中\",x,90,0"; }},
        {"organiser member 0", [](Lines& l) { l[11] = u"ORGANISER,\"幹事チーム\",0"; }},
        {"mark member 0", [](Lines& l) { l[13] = u"MARK,\"ゲスト 田中\",0,4000,-4000"; }},
        {"negative amount", [](Lines& l) { l[13] = u"MARK,\"ゲスト 田中\",1,-4000,-4000"; }},
        {"figure out of range",
         [](Lines& l) { l[13] = u"MARK,\"ゲスト 田中\",1,0,-100000000000"; }},
        {"duplicate mark", [](Lines& l) { l.push_back(l[13]); }},
        {"second ORGANISER", [](Lines& l) { l.push_back(l[11]); }},
        {"second PAYEE", [](Lines& l) { l.push_back(u"PAYEE,\"\""); }},
        {"支払先 too long", [](Lines& l) { l[12] = u"PAYEE," + std::u16string(101, u'x'); }},
        {"ROUND after the marks", [](Lines& l) { l.push_back(u"ROUND,\"\",-"); }},
        {"header of this version inside", [](Lines& l) { l.push_back(l[0]); }},
        {"empty section", [](Lines& l) { l.resize(5); }},
    };
    for (const Case& c : cases) {
        Lines lines = eveningLines();
        c.change(lines);
        EXPECT_EQ(load(fileOf(lines), EveningReading::SectionUnread), kFirstRoundAlone) << c.what;
    }
    // A last record without its line end was cut short.
    std::string cut = fileOf(eveningLines());
    cut.resize(cut.size() - 6);
    EXPECT_EQ(load(cut, EveningReading::SectionUnread), kFirstRoundAlone);

    // Nothing beyond the first round changes in an evening that has more.
    Lines refused = eveningLines();
    refused[5] = u"EVENING,9,1";
    writeBytes(dir.file("in.cfg"), fileOf(refused));
    Evening evening = Evening::create();
    evening.addRound();
    evening.payee = u"bank";
    ASSERT_TRUE(loadFromPath(dir.wide("in.cfg"), evening));
    EXPECT_EQ(evening.roundCount(), 2);
    EXPECT_EQ(evening.currentIndex(), 1);
    EXPECT_EQ(evening.payee, u"bank");
    EXPECT_EQ(evening.roundAt(0)->party->groupCount(), 2);
    // An import refuses it and leaves the evening as it was.
    EXPECT_FALSE(importFromPath(dir.wide("in.cfg"), evening));
    EXPECT_EQ(evening.roundAt(0)->party->groupCount(), 2);
}

TEST_F(EveningFile, RecordsThisProgramDoesNotReadAreKeptAsBackup) {
    Lines later = eveningLines();
    later.push_back(u"@TALLYSHARE/CONFIG,3.00");
    later.push_back(u"SOMETHING,new");
    Lines refused = eveningLines();
    refused.push_back(u"TIP,\"x\",1");
    const std::vector<std::pair<std::string, EveningReading>> files{
        {fileOf(later), EveningReading::LaterUnread},
        {fileOf(refused), EveningReading::SectionUnread},
        {fileOf({u"@TALLYSHARE/CONFIG,1.00", u"@TALLYSHARE/CONFIG,3.00", u"X"}),
         EveningReading::SectionUnread},
    };
    for (const auto& [content, reading] : files) {
        test::Scratch folder;
        ASSERT_TRUE(folder.ok());
        writeBytes(folder.file("ts.cfg"), content);
        Evening evening = Evening::create();
        TextFile file;
        ASSERT_TRUE(file.open(folder.wide("ts.cfg"), u'R'));
        EXPECT_EQ(readEvening(file, evening), reading);
        file.close();
        // A later version's records end the evening's section: what came
        // before them is read.
        EXPECT_EQ(evening.roundCount(), reading == EveningReading::LaterUnread ? 2 : 1);
        ASSERT_TRUE(saveToPath(folder.wide("ts.cfg"), evening));
        EXPECT_EQ(readBytes(folder.file("ts.cfg.bak")), content);
        ASSERT_TRUE(saveToPath(folder.wide("ts.cfg"), evening));
        EXPECT_EQ(readBytes(folder.file("ts.cfg.bak")), content);
        EXPECT_EQ(folder.listing(), "ts.cfg ts.cfg.bak");
    }
}

TEST_F(EveningFile, ImportReplacesTheWholeEvening) {
    writeBytes(dir.file("in.cfg"), fileOf(eveningLines()));
    Evening evening = Evening::create();
    evening.party().addGroup(Group::create(u"mine"));
    ASSERT_TRUE(importFromPath(dir.wide("in.cfg"), evening));
    EXPECT_EQ(evening.roundCount(), 2);
    EXPECT_EQ(evening.roundAt(0)->party->groupCount(), 2);
    writeBytes(dir.file("in.cfg"), "not a settings file");
    EXPECT_FALSE(importFromPath(dir.wide("in.cfg"), evening));
    EXPECT_EQ(evening.roundCount(), 2);
}

}  // namespace
}  // namespace ts
