#include "ui/group_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "resources/ids.h"
#include "resources/texts.h"
#include "tests/ui/dialog_fixture.h"

namespace ts::ui {
namespace {

using test::FakeDialog;
using Texts = std::vector<std::u16string>;

struct GroupDialogTest : ::testing::Test, DialogFixture {
    int run(GroupDialogMode mode, int row, std::function<void(FakeDialog&)> body) {
        script(res::kGroupDialog, std::move(body));
        return runGroupDialog(owner, party, mode, row);
    }
};

struct Fields {
    std::u16string_view name, people, ratio, advance;
};

void typeFields(FakeDialog& d, const Fields& f) {
    d.type(id::kNameField, f.name);
    d.type(id::kPeopleField, f.people);
    d.type(id::kRatioField, f.ratio);
    d.type(id::kAdvanceField, f.advance);
}

TEST_F(GroupDialogTest, OkRefusesWithTheFirstFailingTestAndStoresNothing) {
    const struct {
        Fields fields;
        std::u16string_view message;
    } cases[] = {
        {{u"", u"", u"", u""}, text::kNeedName},
        {{u"x", u"", u"", u""}, text::kNeedPeople},
        {{u"x", u"1", u"", u""}, text::kNeedRatio},
        {{u"x", u"1", u"1", u""}, text::kNeedAdvance},
        {{u"x", u" 5", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"5人", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"-5", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50%", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50", u"1,000"}, text::kNeedNumber},
        {{u"x", u"0", u"-5", u"0"}, text::kNeedNumber},
        {{u"x", u"2147483648", u"50", u"0"}, text::kNeedNumber},
        {{u"x", u"5", u"50", u"99999999999"}, text::kNeedNumber},
        {{u"x", u"0", u"50", u"0"}, text::kPeopleAtLeastOne},
        {{u"x", u"000", u"101", u"0"}, text::kPeopleAtLeastOne},
        {{u"x", u"1", u"101", u"0"}, text::kRatioRange},
        {{u"x", u"1", u"2147483647", u"0"}, text::kRatioRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        system.messageBoxes.clear();
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            typeFields(d, c.fields);
            d.command(id::kOk);
        });
        ASSERT_EQ(system.messageBoxes.size(), 1u);
        EXPECT_EQ(system.messageBoxes[0].text, c.message);
        EXPECT_EQ(system.messageBoxes[0].caption, u"エラー");
        EXPECT_EQ(system.messageBoxes[0].style, 48u);
        EXPECT_FALSE(ended);
        const Group& g = *party.groupAt(0);
        EXPECT_EQ(g.name(), u"会社");
        EXPECT_EQ(g.people, 3);
        EXPECT_EQ(g.ratio, 50);
        EXPECT_EQ(g.advance, 1000);
    }
}

TEST_F(GroupDialogTest, OkStoresAcceptedValuesInPlaceKeepingTheCalculation) {
    const struct {
        Fields fields;
        std::int32_t people, ratio, advance;
    } cases[] = {
        {{u"   ", u"1000", u"100", u"0"}, 1000, 100, 0},
        {{u"B", u"1", u"0", u"2147483647"}, 1, 0, 2147483647},
        {{u"全角", u"１２", u"０５０", u"３０００"}, 12, 50, 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            typeFields(d, c.fields);
            d.command(id::kOk);
        });
        EXPECT_TRUE(system.messageBoxes.empty());
        EXPECT_TRUE(ended);
        EXPECT_EQ(result, 1);
        ASSERT_EQ(party.groupCount(), 1);
        const Group& g = *party.groupAt(0);
        EXPECT_EQ(g.name(), c.fields.name);
        EXPECT_EQ(g.people, c.people);
        EXPECT_EQ(g.ratio, c.ratio);
        EXPECT_EQ(g.advance, c.advance);
        EXPECT_EQ(g.share, 3400);
        EXPECT_EQ(g.balance, -2400);
        EXPECT_EQ(party.remainder, 7);
    }
}

TEST_F(GroupDialogTest, ChangeModeShowsTheSelectedGroup) {
    party.addGroup(std::make_unique<Group>(u"second"));
    Texts shown;
    run(GroupDialogMode::Change, 1, [&](FakeDialog& d) {
        shown = {d.items[id::kNameField], d.items[id::kPeopleField], d.items[id::kRatioField],
                 d.items[id::kAdvanceField], d.items[id::kAddendField]};
        EXPECT_EQ(d.upDownPosition(id::kPeopleArrows), 10);
        EXPECT_EQ(d.upDownPosition(id::kRatioArrows), 10);
        d.command(id::kOk);
    });
    EXPECT_EQ(shown, (Texts{u"second", u"1", u"100", u"0", u""}));
}

TEST_F(GroupDialogTest, AddThenOkWithoutTypingAppendsANewGroup) {
    Texts shown;
    EXPECT_EQ(run(GroupDialogMode::Add, -1,
                  [&](FakeDialog& d) {
                      shown = {d.items[id::kNameField], d.items[id::kPeopleField],
                               d.items[id::kRatioField], d.items[id::kAdvanceField]};
                      d.command(id::kOk);
                  }),
              1);
    EXPECT_EQ(shown, (Texts{u"新規", u"1", u"100", u"0"}));
    EXPECT_EQ(result, 1);
    ASSERT_EQ(party.groupCount(), 2);
    const Group& g = *party.groupAt(1);
    EXPECT_EQ(g.name(), u"新規");
    EXPECT_EQ(std::vector<int>({g.people, g.ratio, g.advance, g.share, g.balance}),
              std::vector<int>({1, 100, 0, 0, 0}));
    EXPECT_EQ(g.parent(), &party);
}

TEST_F(GroupDialogTest, AddAfterAFailedOkStoresOnceTheInputIsFixed) {
    run(GroupDialogMode::Add, -1, [&](FakeDialog& d) {
        d.type(id::kPeopleField, u"0");
        d.command(id::kOk);
        d.type(id::kPeopleField, u"4");
        d.command(id::kOk);
    });
    EXPECT_EQ(messages(), Texts{std::u16string(text::kPeopleAtLeastOne)});
    ASSERT_EQ(party.groupCount(), 2);
    EXPECT_EQ(party.groupAt(1)->people, 4);
}

// The new group is destroyed however the dialog goes away without OK; the
// sanitizer build checks that nothing leaks.
TEST_F(GroupDialogTest, CancellingLeavesThePartyUnchanged) {
    for (const int command : {id::kCancel, id::kCancelCommand}) {
        for (const auto mode : {GroupDialogMode::Add, GroupDialogMode::Change}) {
            ended = false;
            run(mode, 0, [&](FakeDialog& d) {
                typeFields(d, {u"typed", u"9", u"10", u"99"});
                d.command(command);
            });
            EXPECT_TRUE(ended);
            EXPECT_EQ(result, 1);
            ASSERT_EQ(party.groupCount(), 1);
            EXPECT_EQ(party.groupAt(0)->name(), u"会社");
            EXPECT_EQ(party.groupAt(0)->people, 3);
        }
    }
    // Closed by the platform without any command.
    EXPECT_EQ(runGroupDialog(owner, party, GroupDialogMode::Add, -1), 1);
    EXPECT_EQ(party.groupCount(), 1);
    EXPECT_TRUE(system.messageBoxes.empty());
}

TEST_F(GroupDialogTest, OkWithoutAGroupToEditClosesAndStoresNothing) {
    run(GroupDialogMode::Change, 5, [&](FakeDialog& d) {
        EXPECT_EQ(d.items[id::kNameField], u"");
        typeFields(d, {u"x", u"1", u"1", u"1"});
        d.command(id::kOk);
    });
    EXPECT_TRUE(ended);
    EXPECT_EQ(party.groupCount(), 1);
    EXPECT_EQ(party.groupAt(0)->name(), u"会社");
}

TEST_F(GroupDialogTest, Arrows) {
    enum Click { Up, Down };
    const struct {
        int arrows;
        std::u16string_view before;
        Click click;
        std::u16string_view after;
    } cases[] = {
        {id::kPeopleArrows, u"998", Up, u"999"},
        {id::kPeopleArrows, u"999", Up, u"999"},
        {id::kPeopleArrows, u"2", Down, u"1"},
        {id::kPeopleArrows, u"1", Down, u"1"},
        {id::kPeopleArrows, u"5000", Up, u"5000"},
        {id::kPeopleArrows, u"5000", Down, u"4999"},
        {id::kPeopleArrows, u"0", Up, u"1"},
        {id::kPeopleArrows, u"１０", Up, u"11"},
        {id::kPeopleArrows, u"", Up, u""},
        {id::kPeopleArrows, u"3人", Down, u"3人"},
        {id::kPeopleArrows, u"2147483648", Down, u"2147483648"},
        {id::kRatioArrows, u"90", Up, u"100"},
        {id::kRatioArrows, u"100", Up, u"100"},
        {id::kRatioArrows, u"95", Up, u"105"},
        {id::kRatioArrows, u"105", Up, u"105"},
        {id::kRatioArrows, u"105", Down, u"95"},
        {id::kRatioArrows, u"0", Down, u"0"},
        {id::kRatioArrows, u"5", Down, u"-5"},
        {id::kRatioArrows, u"-5", Down, u"-5"},
        {id::kRatioArrows, u"-5", Up, u"-5"},
        {id::kRatioArrows, u"", Down, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const int field = c.arrows == id::kPeopleArrows ? id::kPeopleField : id::kRatioField;
        const int other = c.arrows == id::kPeopleArrows ? id::kRatioField : id::kPeopleField;
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            d.type(field, c.before);
            c.click == Up ? d.clickUp(c.arrows) : d.clickDown(c.arrows);
            EXPECT_EQ(d.items[field], c.after);
            EXPECT_EQ(d.items[other], other == id::kPeopleField ? u"3" : u"50");
            EXPECT_EQ(d.upDownPosition(c.arrows), 10);
            d.command(id::kCancel);
        });
    }
    EXPECT_TRUE(system.messageBoxes.empty());
}

TEST_F(GroupDialogTest, ArrowsStepOncePerClickAndOnlyForTheirOwnScrollMessages) {
    run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
        d.clickUp(id::kPeopleArrows);
        // The message that ends the click finds the position at rest.
        d.send({platform::Message::Kind::VScroll, id::kPeopleArrows});
        EXPECT_EQ(d.items[id::kPeopleField], u"4");
        d.setUpDownPosition(id::kPeopleArrows, 9);
        d.send({platform::Message::Kind::VScroll, id::kPeopleField});
        EXPECT_EQ(d.items[id::kPeopleField], u"4");
        EXPECT_EQ(d.upDownPosition(id::kPeopleArrows), 9);
        d.command(id::kCancel);
    });
}

TEST_F(GroupDialogTest, StepValueNeverLeavesTheInt32Range) {
    const std::int32_t max = 2147483647;
    FakeDialog d(system, res::kGroupDialog, {});
    std::int32_t out = 0;
    d.setUpDownPosition(id::kRatioArrows, 9);
    EXPECT_FALSE(stepValue(d, id::kRatioArrows, 10, 0, max, max - 5, out));
    EXPECT_TRUE(stepValue(d, id::kRatioArrows, 10, 0, max, max - 10, out));
    EXPECT_EQ(out, max);
    d.setUpDownPosition(id::kRatioArrows, 11);
    EXPECT_FALSE(stepValue(d, id::kRatioArrows, 10, -max - 1, 0, -max, out));
    d.setUpDownPosition(id::kRatioArrows, 10);
    EXPECT_FALSE(stepValue(d, id::kRatioArrows, 10, 0, 100, 50, out));
}

TEST_F(GroupDialogTest, PlusAddsTheAddendToTheAdvance) {
    const struct {
        std::u16string_view advance, addend, after;
    } cases[] = {
        {u"1200", u"500", u"1700"},
        {u"１２００", u"５００", u"1700"},
        {u"", u"500", u""},
        {u"1200", u"", u"1200"},
        {u"12a", u"500", u"12a"},
        {u"1200", u"-5", u"1200"},
        {u"2147483647", u"1", u"2147483647"},
        {u"2147483640", u"7", u"2147483647"},
        {u"1", u"2147483648", u"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
            d.type(id::kAdvanceField, c.advance);
            d.type(id::kAddendField, c.addend);
            d.command(id::kAddAddend);
            EXPECT_EQ(d.items[id::kAdvanceField], c.after);
            EXPECT_EQ(d.items[id::kAddendField], c.addend);
            EXPECT_FALSE(d.ended);
            d.command(id::kCancel);
        });
    }
    EXPECT_TRUE(system.messageBoxes.empty());
    EXPECT_EQ(party.groupAt(0)->advance, 1000);
}

TEST_F(GroupDialogTest, PlusPressedTwiceAddsTwice) {
    run(GroupDialogMode::Change, 0, [&](FakeDialog& d) {
        d.type(id::kAdvanceField, u"1200");
        d.type(id::kAddendField, u"500");
        d.command(id::kAddAddend);
        d.command(id::kAddAddend);
        EXPECT_EQ(d.items[id::kAdvanceField], u"2200");
        d.command(id::kOk);
    });
    EXPECT_EQ(party.groupAt(0)->advance, 2200);
}

}  // namespace
}  // namespace ts::ui
