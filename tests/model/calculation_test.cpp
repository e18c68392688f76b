#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "model/calculation.h"
#include "model/party.h"

namespace ts {
namespace {

// The bit pattern of a double (std::bit_cast is missing from some of the
// standard libraries the tests are built with).
std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct GroupInput {
    std::int32_t people, ratio, advance;
};
struct GroupResult {
    std::int32_t share, balance;
    bool operator==(const GroupResult&) const = default;
};

struct Case {
    const char* what;
    std::int32_t total;
    std::int32_t unit;
    bool rounded;
    std::vector<GroupInput> groups;
    std::vector<GroupResult> expected;
    std::int32_t remainder;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.what;
}
void PrintTo(const GroupResult& r, std::ostream* os) {
    *os << "{share " << r.share << ", balance " << r.balance << "}";
}

std::unique_ptr<Party> makeParty(const Case& c) {
    auto party = Party::create(u"FIRST");
    party->total = c.total;
    party->unit = c.unit;
    for (const auto& in : c.groups) {
        auto group = Group::create(u"g");
        group->people = in.people;
        group->ratio = in.ratio;
        group->advance = in.advance;
        party->addGroup(std::move(group));
    }
    return party;
}

std::vector<GroupResult> results(Party& party) {
    std::vector<GroupResult> out;
    for (int i = 0; i < party.groupCount(); ++i) {
        out.push_back({party.groupAt(i)->share, party.groupAt(i)->balance});
    }
    return out;
}

class CalculationTest : public testing::TestWithParam<Case> {};

TEST_P(CalculationTest, GivesExactSharesBalancesAndRemainder) {
    const Case& c = GetParam();
    auto party = makeParty(c);
    party->calculate(c.rounded);
    EXPECT_EQ(results(*party), c.expected);
    EXPECT_EQ(party->remainder, c.remainder);
    // The calculation reads only inputs: a second run gives the same values.
    party->calculate(c.rounded);
    EXPECT_EQ(results(*party), c.expected);
    EXPECT_EQ(party->remainder, c.remainder);
}

// The first five are the worked examples of the bill-splitting rules. The
// "order decides" cases are ones where evaluating the same mathematics in
// another order (ratio * base / 100, say) gives a result one step off.
INSTANTIATE_TEST_SUITE_P(
    Examples, CalculationTest,
    testing::Values(
        Case{"plain, two groups",
             10000,
             100,
             false,
             {{2, 100, 0}, {1, 100, 10000}},
             {{3334, -3334}, {3334, 6666}},
             2},
        Case{"rounded to 100",
             10000,
             100,
             true,
             {{2, 100, 0}, {1, 100, 10000}},
             {{3400, -3400}, {3400, 6600}},
             200},
        Case{"rounded, refund rounded down",
             10000,
             100,
             true,
             {{2, 100, 0}, {1, 100, 9950}},
             {{3400, -3400}, {3400, 6500}},
             250},
        Case{"rounded to 1000, mixed ratios",
             25000,
             1000,
             true,
             {{4, 100, 0}, {2, 50, 0}, {1, 100, 25000}},
             {{5000, -5000}, {3000, -3000}, {5000, 20000}},
             6000},
        Case{"plain, mixed ratios",
             25000,
             1000,
             false,
             {{4, 100, 0}, {2, 50, 0}, {1, 100, 25000}},
             {{4167, -4167}, {2084, -2084}, {4167, 20833}},
             3},
        Case{"order decides: 99 yen over 9 at 90%", 99, 100, false, {{9, 90, 0}}, {{12, -12}}, 9},
        Case{"order decides: one group at 70%", 300, 1000, false, {{4, 70, 1000}}, {{75, 925}}, 0},
        Case{"order decides: 10% rounded to 10", 700, 10, true, {{7, 10, 3000}}, {{100, 2900}}, 0},
        Case{"order decides: three groups",
             10000,
             100,
             false,
             {{6, 110, 3000}, {9, 10, 0}, {5, 100, 1000}},
             {{881, 2119}, {80, -80}, {800, 200}},
             6},
        Case{"exact multiples are not moved",
             10000,
             100,
             true,
             {{1, 100, 300}, {1, 100, 0}},
             {{5000, -4700}, {5000, -5000}},
             0},
        Case{"ratio 0 pays nothing, refund rounded down",
             10000,
             100,
             true,
             {{1, 0, 250}, {2, 100, 0}},
             {{0, 200}, {5000, -5000}},
             50},
        Case{"balance of exactly 0 stays 0", 10000, 100, true, {{2, 100, 5000}}, {{5000, 0}}, 0},
        Case{"residue counted once per group, not per member",
             1000,
             100,
             true,
             {{5, 100, 250}},
             {
                 {200, 0},
             },
             50},
        Case{"unit 0 rounds to whole yen",
             10000,
             0,
             true,
             {{2, 100, 0}, {1, 100, 10000}},
             {{3334, -3334}, {3334, 6666}},
             2},
        Case{"negative unit rounds to whole yen",
             10000,
             -100,
             true,
             {{2, 100, 0}, {1, 100, 10000}},
             {{3334, -3334}, {3334, 6666}},
             2},
        Case{"negative total keeps its sign", -1000, 100, true, {{2, 100, 0}}, {{-500, 500}}, 0}),
    [](const testing::TestParamInfo<Case>& info) { return "case" + std::to_string(info.index); });

TEST(CalculationTest, WithoutGroupsNothingIsWritten) {
    Party party(u"p");
    party.total = 1000;
    party.remainder = 42;
    party.calculate(true);
    party.calculate(false);
    EXPECT_EQ(party.remainder, 42);
}

TEST(CalculationTest, WithoutWeightEveryValueStaysAsItWas) {
    for (auto [people, ratio, total] :
         {std::tuple{1, 0, 1000}, std::tuple{0, 100, 1000}, std::tuple{1, 0, 0}}) {
        Case c{"", total, 100, true, {{people, ratio, 500}, {people, ratio, 0}}, {}, 0};
        auto party = makeParty(c);
        party->remainder = 9;
        party->groupAt(0)->share = 11;
        party->groupAt(0)->balance = -11;
        party->calculate(true);
        party->calculate(false);
        EXPECT_EQ(party->remainder, 9);
        EXPECT_EQ(party->groupAt(0)->share, 11);
        EXPECT_EQ(party->groupAt(0)->balance, -11);
        EXPECT_EQ(party->groupAt(1)->share, 0);
    }
}

TEST(CalculationTest, ResultsPastTheInt32RangeSaturate) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    // One person at 1% carries the whole weight, so a full-ratio group of
    // nobody owes a hundred times the total per member.
    Case c{"", kMax, 1, true, {{1, 1, 0}, {0, 100, kMin}}, {}, 0};
    auto party = makeParty(c);
    party->calculate(false);
    EXPECT_EQ(party->groupAt(0)->share, kMax);
    EXPECT_EQ(party->groupAt(0)->balance, -kMax);
    EXPECT_EQ(party->groupAt(1)->share, kMax);
    EXPECT_EQ(party->groupAt(1)->balance, kMin);
    EXPECT_EQ(party->remainder, 0);
}

TEST(RoundToUnitTest, RoundsTheMagnitudeAndKeepsTheSign) {
    struct Row {
        double v, t;
        bool down;
        double expected;
    };
    for (const Row& r : std::initializer_list<Row>{
             {3333.34, 100, false, 3400},
             {3333.34, 100, true, 3300},
             {-3333.34, 100, false, -3400},
             {-3333.34, 100, true, -3300},
             {3400, 100, false, 3400},
             {0, 100, false, 0},
             {0.5, 1, false, 1},
             {-0.5, 1, true, -0.0},
         }) {
        EXPECT_EQ(roundToUnit(r.v, r.t, r.down), r.expected) << r.v << " step " << r.t;
    }
    EXPECT_EQ(bitsOf(roundToUnit(-0.0, 10, false)), bitsOf(-0.0));
}

TEST(TruncToInt32Test, TruncatesTowardZeroAndSaturates) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(truncToInt32(2.9), 2);
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(truncToInt32(2147483647.9), kMax);
    EXPECT_EQ(truncToInt32(1e300), kMax);
    EXPECT_EQ(truncToInt32(-2147483648.9), kMin);
    EXPECT_EQ(truncToInt32(-INFINITY), kMin);
    EXPECT_EQ(truncToInt32(NAN), 0);
}

TEST(CalculationTest, PercentFactorIsTheDoubleNearestToOneHundredth) {
    EXPECT_EQ(bitsOf(kPercent), 0x3F847AE147AE147BULL);
}

}  // namespace
}  // namespace ts
