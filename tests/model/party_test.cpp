#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "model/party.h"

namespace ts {
namespace {

std::unique_ptr<Group> makeGroup(std::u16string name, std::int32_t people = 1,
                                 std::int32_t ratio = 100, std::int32_t advance = 0) {
    auto group = Group::create(name);
    group->people = people;
    group->ratio = ratio;
    group->advance = advance;
    return group;
}

std::vector<std::u16string> names(Party& party) {
    std::vector<std::u16string> result;
    for (Group* g = party.first(); !party.atEnd(); g = party.next()) {
        result.push_back(g->name());
    }
    return result;
}

TEST(PartyTest, NewPartyAndGroupHaveTheirDefaults) {
    auto party = Party::create(u"FIRST");
    ASSERT_TRUE(party);
    EXPECT_EQ(party->name(), u"FIRST");
    EXPECT_EQ(party->total, 0);
    EXPECT_EQ(party->unit, 100);
    EXPECT_EQ(party->remainder, 0);
    EXPECT_EQ(party->groupCount(), 0);
    EXPECT_EQ(party->totalPeople(), 0);
    EXPECT_EQ(party->totalAdvance(), 0);
    EXPECT_EQ(party->parent(), nullptr);

    auto group = Group::create(u"新規");
    ASSERT_TRUE(group);
    EXPECT_EQ(group->people, 1);
    EXPECT_EQ(group->ratio, 100);
    EXPECT_EQ(group->advance, 0);
    EXPECT_EQ(group->share, 0);
    EXPECT_EQ(group->balance, 0);
    EXPECT_EQ(group->parent(), nullptr);
}

TEST(PartyTest, AddedGroupsKeepTheirOrderAndKnowTheirParty) {
    Party party(u"p");
    party.addGroup(makeGroup(u"a"));
    party.addGroup(makeGroup(u"b"));
    party.addGroup(nullptr);  // a group that could not be created is skipped
    EXPECT_EQ(party.groupCount(), 2);
    EXPECT_EQ(party.groupAt(1)->name(), u"b");
    EXPECT_EQ(party.groupAt(0)->parent(), &party);
    EXPECT_EQ(names(party), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(PartyTest, RemovingClosesTheGapAndIgnoresIndexesOutOfRange) {
    Party party(u"p");
    for (auto n : {u"a", u"b", u"c"}) {
        party.addGroup(makeGroup(n));
    }
    party.removeGroupAt(-1);
    party.removeGroupAt(3);
    EXPECT_EQ(party.groupCount(), 3);
    party.removeGroupAt(0);
    EXPECT_EQ(names(party), (std::vector<std::u16string>{u"b", u"c"}));
    EXPECT_EQ(party.groupAt(2), nullptr);
    EXPECT_EQ(party.groupAt(-1), nullptr);
}

TEST(PartyTest, ClearingKeepsThePartysOwnValues) {
    Party party(u"p");
    party.total = 5000;
    party.unit = 10;
    party.remainder = 7;
    party.clearGroups();  // nothing to clear
    party.addGroup(makeGroup(u"a"));
    party.clearGroups();
    EXPECT_EQ(party.groupCount(), 0);
    EXPECT_EQ(party.first(), nullptr);
    EXPECT_TRUE(party.atEnd());
    EXPECT_EQ(party.name(), u"p");
    EXPECT_EQ(party.total, 5000);
    EXPECT_EQ(party.unit, 10);
    EXPECT_EQ(party.remainder, 7);
}

TEST(PartyTest, EditingGroupsLeavesCalculatedValuesAlone) {
    Party party(u"p");
    party.total = 3000;
    party.addGroup(makeGroup(u"a", 2));
    party.addGroup(makeGroup(u"b"));
    party.calculate(false);
    const auto remainder = party.remainder;
    party.addGroup(makeGroup(u"c"));
    party.groupAt(0)->ratio = 50;
    party.removeGroupAt(1);
    EXPECT_EQ(party.groupAt(0)->share, 1000);
    EXPECT_EQ(party.groupAt(0)->balance, -1000);
    EXPECT_EQ(party.groupAt(1)->share, 0);
    EXPECT_EQ(party.remainder, remainder);
}

TEST(PartyTest, CursorWalkVisitsEveryGroupOnce) {
    Party party(u"p");
    EXPECT_EQ(party.first(), nullptr);
    EXPECT_TRUE(party.atEnd());
    party.addGroup(makeGroup(u"only"));
    EXPECT_EQ(party.first()->name(), u"only");
    EXPECT_FALSE(party.atEnd());
    EXPECT_EQ(party.next(), nullptr);
    EXPECT_TRUE(party.atEnd());
    EXPECT_EQ(party.next(), nullptr);  // stays at the end
    EXPECT_TRUE(party.atEnd());
}

TEST(PartyTest, TotalsSumPeopleAndAdvances) {
    Party party(u"p");
    party.addGroup(makeGroup(u"a", 2, 100, 3000));
    party.addGroup(makeGroup(u"b", 1, 100, 10000));
    EXPECT_EQ(party.totalPeople(), 3);
    EXPECT_EQ(party.totalAdvance(), 16000);
}

TEST(PartyTest, TotalsClampInsteadOfOverflowing) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    Party up(u"up");
    up.addGroup(makeGroup(u"a", kMax, 100, kMax));
    up.addGroup(makeGroup(u"b", kMax, 100, kMax));
    up.addGroup(makeGroup(u"c", kMax, 100, kMax));
    EXPECT_EQ(up.totalPeople(), kMax);
    EXPECT_EQ(up.totalAdvance(), kMax);

    Party down(u"down");
    down.addGroup(makeGroup(u"a", kMin, 100, kMax));
    down.addGroup(makeGroup(u"b", kMin, 100, kMax));
    EXPECT_EQ(down.totalPeople(), kMin);
    EXPECT_EQ(down.totalAdvance(), kMin);

    // Values that cancel out come back exactly.
    Party even(u"even");
    even.addGroup(makeGroup(u"a", kMax, 100, 2));
    even.addGroup(makeGroup(u"b", kMax, 100, -2));
    even.addGroup(makeGroup(u"c", 1, 100, 5));
    EXPECT_EQ(even.totalAdvance(), 5);
}

}  // namespace
}  // namespace ts
