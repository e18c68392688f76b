#include "ui/group_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "resources/ids.h"
#include "resources/texts.h"
#include "tests/ui/dialog_fixture.h"

namespace ts::ui {
namespace {

using test::FakeDialog;
using Texts = std::vector<std::u16string>;

struct GroupDialogTest : ::testing::Test, DialogFixture {
    void run(GroupDialogMode mode, int row, std::function<void(FakeDialog&)> body) {
        script(res::kGroupDialog, std::move(body));
        EXPECT_EQ(runGroupDialog(owner, party, mode, row), 1);
    }
    Texts fields(FakeDialog& d) {
        return {d.items[id::group::kNameField], d.items[id::group::kPeopleField],
                d.items[id::group::kRatioField], d.items[id::group::kAdvanceField],
                d.items[id::group::kAddendField]};
    }
    std::vector<std::int32_t> values(int row) const {
        const Group& g = *party.groupAt(row);
        return {g.people, g.ratio, g.advance, g.share, g.balance};
    }
};

TEST_F(GroupDialogTest, OkTestsTheFieldsInOrderAndStoresOnlyWhenAllPass) {
    const struct {
        Texts typed;  // name, people, ratio, advance
        std::optional<std::u16string_view> message;
        std::vector<std::int32_t> stored = {};  // people, ratio, advance
    } cases[] = {
        {{u"", u"", u"", u""}, text::kNeedName},
        {{u"x", u"", u"", u""}, text::kNeedPeople},
        {{u"x", u"1", u"", u""}, text::kNeedRatio},
        {{u"x", u"1", u"1", u""}, text::kNeedAdvance},
        {{u"x", u" 5", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"5人", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"0", u"-5", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50%", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50", u"1,000"}, text::kNeedNumber},
        {{u"x", u"2147483648", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50", u"99999999999"}, text::kNeedNumber},
        {{u"x", u"000", u"101", u"0"}, text::kPeopleAtLeastOne},
        {{u"x", u"1", u"101", u"0"}, text::kRatioRange},
        {{u"x", u"1", u"2147483647", u"0"}, text::kRatioRange},
        // The settings file keeps 210 units of a name whole; quotes take two.
        {{std::u16string(211, u'x'), u"1", u"1", u"0"}, text::kNameTooLong},
        {{std::u16string(105, u'"') + u"x", u"1", u"1", u"0"}, text::kNameTooLong},
        {{std::u16string(104, u'\'') + u"xx", u"1", u"1", u"0"}, std::nullopt, {1, 1, 0}},
        {{u"   ", u"1000", u"100", u"0"}, std::nullopt, {1000, 100, 0}},
        {{u"B", u"1", u"0", u"2147483647"}, std::nullopt, {1, 0, 2147483647}},
        {{u"全角", u"１２", u"０５０", u"３０００"}, std::nullopt, {12, 50, 3000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto before = values(0);
        const std::u16string nameBefore = party.groupAt(0)->name();
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            for (int i = 0; const int field : {id::group::kNameField, id::group::kPeopleField,
                                               id::group::kRatioField, id::group::kAdvanceField}) {
                d.type(field, c.typed[static_cast<std::size_t>(i++)]);
            }
            d.command(id::kOk);
        });
        if (c.message) {
            expectOneError(*c.message);
            EXPECT_EQ(values(0), before);
            EXPECT_EQ(party.groupAt(0)->name(), nameBefore);
        } else {
            EXPECT_TRUE(system.messageBoxes.empty());
            EXPECT_TRUE(ended);
            EXPECT_EQ(result, 1);
            EXPECT_EQ(party.groupAt(0)->name(), c.typed[0]);
            // The calculated share and balance stay until the next calculation.
            EXPECT_EQ(values(0), (std::vector<std::int32_t>{c.stored[0], c.stored[1], c.stored[2],
                                                            3400, -2400}));
        }
        EXPECT_EQ(party.groupCount(), 1);
    }
}

TEST_F(GroupDialogTest, NameFieldTakesWhatTheSettingsFileKeepsWhole) {
    run(GroupDialogMode::Add, -1, [&](FakeDialog& d) {
        EXPECT_EQ(d.textLimits[id::group::kNameField], 210);
        d.command(id::kCancel);
    });
    // A longer name from an older file is shown whole, and OK asks for a
    // shorter one rather than letting the file cut it.
    const std::u16string stored(230, u'n');
    party.groupAt(0)->setName(stored);
    run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
        EXPECT_EQ(d.textLimits[id::group::kNameField], 230);
        EXPECT_EQ(d.itemText(id::group::kNameField), stored);
        d.command(id::kOk);
    });
    expectOneError(text::kNameTooLong);
    EXPECT_EQ(party.groupAt(0)->name(), stored);
}

TEST_F(GroupDialogTest, AddThenOkWithoutTypingAppendsANewGroup) {
    party.addGroup(std::make_unique<Group>(u"second"));
    run(GroupDialogMode::Add, -1, [&](FakeDialog& d) {
        EXPECT_EQ(fields(d), (Texts{u"新規", u"1", u"100", u"0", u""}));
        d.command(id::kOk);
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(party.groupCount(), 3);
    EXPECT_EQ(party.groupAt(1)->name(), u"second");
    EXPECT_EQ(party.groupAt(2)->name(), u"新規");
    EXPECT_EQ(values(2), (std::vector<std::int32_t>{1, 100, 0, 0, 0}));
}

// The new group is destroyed however the dialog goes away without OK; the
// sanitizer build checks that nothing leaks.
TEST_F(GroupDialogTest, CancelStoresNothing) {
    for (const int command : {id::kCancel, id::kCancelCommand}) {
        for (const auto mode : {GroupDialogMode::Add, GroupDialogMode::Change}) {
            run(mode, 0, [&](FakeDialog& d) {
                if (mode == GroupDialogMode::Change) {
                    EXPECT_EQ(fields(d), (Texts{u"会社", u"3", u"50", u"1000", u""}));
                }
                d.type(id::group::kNameField, u"typed");
                d.type(id::group::kPeopleField, u"9");
                d.command(command);
            });
            EXPECT_TRUE(ended);
            EXPECT_EQ(result, 1);
            ASSERT_EQ(party.groupCount(), 1);
            EXPECT_EQ(party.groupAt(0)->name(), u"会社");
            EXPECT_EQ(values(0), (std::vector<std::int32_t>{3, 50, 1000, 3400, -2400}));
        }
    }
    // Closed without any command.
    EXPECT_EQ(runGroupDialog(owner, party, GroupDialogMode::Add, -1), 1);
    EXPECT_EQ(party.groupCount(), 1);
}

TEST_F(GroupDialogTest, OkWithoutAGroupToEditClosesAndStoresNothing) {
    run(GroupDialogMode::Change, 5, [&](FakeDialog& d) {
        EXPECT_EQ(fields(d), (Texts{u"", u"", u"", u"", u""}));
        d.type(id::group::kNameField, u"x");
        d.command(id::kOk);
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(system.messageBoxes.empty());
    EXPECT_EQ(party.groupCount(), 1);
}

TEST_F(GroupDialogTest, Arrows) {
    constexpr int kPeople = id::group::kPeopleArrows, kRatio = id::group::kRatioArrows;
    const struct {
        int arrows;
        std::u16string_view before;
        bool up;
        std::u16string_view after;
    } cases[] = {
        {kPeople, u"998", true, u"999"},   {kPeople, u"999", true, u"999"},
        {kPeople, u"2", false, u"1"},      {kPeople, u"1", false, u"1"},
        {kPeople, u"5000", true, u"5000"}, {kPeople, u"5000", false, u"4999"},
        {kPeople, u"１０", true, u"11"},   {kPeople, u"", true, u""},
        {kPeople, u"3人", false, u"3人"},  {kPeople, u"2147483648", false, u"2147483648"},
        {kRatio, u"100", true, u"100"},    {kRatio, u"0", false, u"0"},
        {kRatio, u"95", true, u"105"},     {kRatio, u"105", true, u"105"},
        {kRatio, u"105", false, u"95"},    {kRatio, u"5", false, u"-5"},
        {kRatio, u"-5", false, u"-5"},     {kRatio, u"", false, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const int field = c.arrows == kPeople ? id::group::kPeopleField : id::group::kRatioField;
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            EXPECT_EQ(d.upDownPosition(c.arrows), 10);
            d.type(field, c.before);
            c.up ? d.clickUp(c.arrows) : d.clickDown(c.arrows);
            // The message that ends the click finds the position at rest again.
            d.send({platform::Message::Kind::VScroll, c.arrows});
            EXPECT_EQ(d.items[field], c.after);
            EXPECT_EQ(d.upDownPosition(c.arrows), 10);
            EXPECT_EQ(fields(d)[c.arrows == kPeople ? 2 : 1], c.arrows == kPeople ? u"50" : u"3");
        });
    }
    EXPECT_TRUE(system.messageBoxes.empty());
}

TEST_F(GroupDialogTest, StepValueNeverLeavesTheInt32Range) {
    const std::int32_t max = 2147483647;
    FakeDialog d(system, res::kGroupDialog, {});
    std::int32_t out = 0;
    d.setUpDownPosition(id::group::kRatioArrows, 9);
    EXPECT_FALSE(stepValue(d, id::group::kRatioArrows, 10, 0, max, max - 5, out));
    EXPECT_TRUE(stepValue(d, id::group::kRatioArrows, 10, 0, max, max - 10, out));
    EXPECT_EQ(out, max);
    d.setUpDownPosition(id::group::kRatioArrows, 11);
    EXPECT_FALSE(stepValue(d, id::group::kRatioArrows, 10, -max - 1, 0, -max, out));
}

TEST_F(GroupDialogTest, PlusAddsTheAddendToTheAdvance) {
    const struct {
        std::u16string_view advance, addend, once, twice;
    } cases[] = {
        {u"1200", u"500", u"1700", u"2200"},
        {u"１２００", u"５００", u"1700", u"2200"},
        {u"", u"500", u"", u""},
        {u"1200", u"", u"1200", u"1200"},
        {u"12a", u"500", u"12a", u"12a"},
        {u"1200", u"-5", u"1200", u"1200"},
        {u"2147483640", u"4", u"2147483644", u"2147483644"},
        {u"1", u"2147483648", u"1", u"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            d.type(id::group::kAdvanceField, c.advance);
            d.type(id::group::kAddendField, c.addend);
            d.command(id::group::kAddAddend);
            EXPECT_EQ(d.items[id::group::kAdvanceField], c.once);
            d.command(id::group::kAddAddend);
            EXPECT_EQ(d.items[id::group::kAdvanceField], c.twice);
            EXPECT_EQ(d.items[id::group::kAddendField], c.addend);
        });
        EXPECT_FALSE(ended);
    }
    EXPECT_TRUE(system.messageBoxes.empty());
    EXPECT_EQ(party.groupAt(0)->advance, 1000);
}

}  // namespace
}  // namespace ts::ui
