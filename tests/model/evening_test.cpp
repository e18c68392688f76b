#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/evening.h"

namespace ts {
namespace {

void addGroup(Party& party, std::u16string name, std::int32_t people, std::int32_t ratio,
              std::int32_t advance) {
    auto group = Group::create(name);
    group->people = people;
    group->ratio = ratio;
    group->advance = advance;
    party.addGroup(std::move(group));
}

std::vector<std::u16string> roundNames(const Evening& evening) {
    std::vector<std::u16string> names;
    for (int i = 0; i < evening.roundCount(); ++i) {
        names.push_back(evening.roundName(i));
    }
    return names;
}

TEST(EveningTest, DefaultNamesAreKanjiNumerals) {
    const std::vector<std::pair<int, std::u16string>> cases{
        {0, u"一次会"},    {1, u"二次会"},      {8, u"九次会"},
        {9, u"十次会"},    {10, u"十一次会"},   {18, u"十九次会"},
        {19, u"二十次会"}, {20, u"二十一次会"}, {-1, u""},
    };
    for (const auto& [position, name] : cases) {
        EXPECT_EQ(Evening::defaultRoundName(position), name) << position;
    }
}

TEST(EveningTest, AddedRoundCopiesTheCurrentRoundsPeopleButNotItsMoney) {
    Evening evening = Evening::create();
    ASSERT_TRUE(evening.ok());
    Party& first = evening.party();
    first.total = 21605;
    first.unit = 1000;
    addGroup(first, u"幹事チーム", 1, 100, 0);
    addGroup(first, u"ゲスト 田中", 2, 90, 1500);
    evening.current().calculation = Calculation::Rounded;
    ASSERT_TRUE(evening.current().recalculate());

    ASSERT_TRUE(evening.addRound());
    EXPECT_EQ(evening.currentIndex(), 1);
    const Round& second = evening.current();
    EXPECT_EQ(second.calculation, Calculation::None);
    EXPECT_FALSE(second.resultsCurrent);
    EXPECT_EQ(second.party->total, 0);
    EXPECT_EQ(second.party->unit, 1000);
    ASSERT_EQ(second.party->groupCount(), 2);
    const Group& guest = *second.party->groupAt(1);
    EXPECT_EQ(guest.name(), u"ゲスト 田中");
    EXPECT_EQ(guest.people, 2);
    EXPECT_EQ(guest.ratio, 90);
    EXPECT_EQ(guest.advance, 0);
    EXPECT_EQ(guest.share, 0);
    EXPECT_EQ(guest.balance, 0);
    // The copy is the current round's: from 一次会 again, not from the last.
    second.party->groupAt(0)->people = 7;
    evening.setCurrent(0);
    ASSERT_TRUE(evening.addRound());
    EXPECT_EQ(evening.party().groupAt(0)->people, 1);
    EXPECT_EQ(roundNames(evening), (std::vector<std::u16string>{u"一次会", u"二次会", u"三次会"}));
}

TEST(EveningTest, AddedRoundTakesAFreeNameAndStopsAtTwenty) {
    Evening evening = Evening::create();
    ASSERT_TRUE(evening.addRound());
    evening.setRoundTitle(1, u"三次会");
    ASSERT_TRUE(evening.addRound());
    EXPECT_EQ(evening.roundName(2), u"四次会");
    while (evening.roundCount() < Evening::kMaxRounds) {
        ASSERT_TRUE(evening.addRound());
    }
    EXPECT_FALSE(evening.addRound());
    EXPECT_EQ(evening.roundCount(), Evening::kMaxRounds);
    const std::vector<std::u16string> names = roundNames(evening);
    EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()).size(), names.size());
    // An empty title brings the default name back.
    evening.setRoundTitle(1, u"");
    EXPECT_EQ(evening.roundName(1), u"二次会");
}

TEST(EveningTest, RemovingARoundKeepsTheCurrentOneWherePossible) {
    struct Case {
        int current, removed, expected;
    };
    for (const Case c : {Case{2, 0, 1}, Case{2, 2, 1}, Case{0, 0, 0}, Case{1, 2, 1}}) {
        Evening evening = Evening::create();
        evening.addRound();
        evening.addRound();
        evening.setCurrent(c.current);
        EXPECT_TRUE(evening.removeRound(c.removed));
        EXPECT_EQ(evening.currentIndex(), c.expected) << c.current << " " << c.removed;
    }
    Evening evening = Evening::create();
    EXPECT_FALSE(evening.removeRound(0));
    evening.addRound();
    EXPECT_FALSE(evening.removeRound(2));
    // A round keeps the name it was given when an earlier one goes.
    EXPECT_TRUE(evening.removeRound(0));
    EXPECT_EQ(roundNames(evening), std::vector<std::u16string>{u"二次会"});
    EXPECT_FALSE(evening.isSingleParty());
}

TEST(EveningTest, OnlyAPlainSingleRoundIsASingleParty) {
    // Whether it is one decides how it is stored and linked.
    const std::vector<std::pair<bool, void (*)(Evening&)>> cases{
        {true, [](Evening&) {}},
        {true, [](Evening& e) { e.setRoundTitle(0, u"一次会"); }},
        {true, [](Evening& e) { e.current().calculation = Calculation::Plain; }},
        {false, [](Evening& e) { e.addRound(); }},
        {false, [](Evening& e) { e.setRoundTitle(0, u"歓迎会"); }},
        {false,
         [](Evening& e) {
             e.organiser = MemberKey{u"A", 1};
         }},
        {false, [](Evening& e) { e.payee = u"PayPay"; }},
        {false,
         [](Evening& e) {
             e.marks[MemberKey{u"A", 1}] = Mark{100, -100};
         }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Evening evening = Evening::create();
        cases[i].second(evening);
        EXPECT_EQ(evening.isSingleParty(), cases[i].first) << i;
    }
}

TEST(EveningTest, RecalculatingKeepsNoFiguresOfEarlierData) {
    Evening evening = Evening::create();
    Round& round = evening.current();
    round.party->total = 10000;
    addGroup(*round.party, u"A", 2, 100, 0);
    EXPECT_TRUE(round.recalculate());  // nothing asked for yet
    EXPECT_FALSE(round.resultsCurrent);

    round.calculation = Calculation::Rounded;
    EXPECT_TRUE(round.recalculate());
    EXPECT_TRUE(round.resultsCurrent);
    EXPECT_EQ(round.party->groupAt(0)->balance, -5000);

    round.party->groupAt(0)->people = 0;  // nothing left to weigh
    EXPECT_FALSE(evening.recalculateAll());
    EXPECT_FALSE(round.resultsCurrent);
    EXPECT_EQ(round.party->groupAt(0)->share, 0);
    EXPECT_EQ(round.party->groupAt(0)->balance, 0);
    EXPECT_EQ(round.party->remainder, 0);
}

}  // namespace
}  // namespace ts
