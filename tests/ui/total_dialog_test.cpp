#include "ui/total_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "resources/ids.h"
#include "resources/texts.h"
#include "tests/ui/dialog_fixture.h"

namespace ts::ui {
namespace {

using test::FakeDialog;

struct TotalDialogTest : ::testing::Test, DialogFixture {
    void run(std::function<void(FakeDialog&)> body) {
        script(res::kTotalDialog, std::move(body));
        EXPECT_EQ(runTotalDialog(owner, party), 1);
    }
};

TEST_F(TotalDialogTest, OkTestsBothFieldsAndStoresWithoutCalculating) {
    const struct {
        std::u16string_view total, unit;
        std::optional<std::u16string_view> message;  // none: stored
        std::int32_t storedTotal = 0;
        std::int32_t storedUnit = 0;
    } cases[] = {
        {u"", u"", text::kNeedTotal},
        {u"5", u"", text::kNeedUnit},
        {u"1,000", u"100", text::kNeedTotalNumbers},
        {u" 100", u"100", text::kNeedTotalNumbers},
        {u"100円", u"100", text::kNeedTotalNumbers},
        {u"100", u"1 000", text::kNeedTotalNumbers},
        {u"2147483648", u"100", text::kNeedTotalNumbers},
        {u"100", u"99999999999", text::kNeedTotalNumbers},
        {u"2147483647", u"1000", std::nullopt, 2147483647, 1000},
        {u"0", u"0", std::nullopt, 0, 0},
        {u"１２０００", u"２５０", std::nullopt, 12000, 250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        party.total = 3;
        party.unit = 100;
        run([&](FakeDialog& d) {
            d.type(id::total::kTotalField, c.total);
            d.type(id::total::kUnitCombo, c.unit);
            d.command(id::kOk);
            EXPECT_EQ(d.items[id::total::kTotalField], c.total);
            EXPECT_EQ(d.items[id::total::kUnitCombo], c.unit);
        });
        if (c.message) {
            expectOneError(*c.message);
            EXPECT_EQ(party.total, 3);
            EXPECT_EQ(party.unit, 100);
        } else {
            EXPECT_TRUE(system.messageBoxes.empty());
            EXPECT_EQ(result, 1);
            EXPECT_EQ(party.total, c.storedTotal);
            EXPECT_EQ(party.unit, c.storedUnit);
            EXPECT_EQ(party.remainder, 7);
            EXPECT_EQ(party.groupAt(0)->balance, -2400);
        }
    }
}

TEST_F(TotalDialogTest, SumOfAdvancesIsShownAndStoredOnlyByOk) {
    party.clearGroups();
    party.unit = 250;
    for (const int closing : {id::kCancel, id::kCancelCommand, id::kOk}) {
        SCOPED_TRACE(closing);
        run([&](FakeDialog& d) {
            EXPECT_EQ(d.comboEntries[id::total::kUnitCombo],
                      (std::vector<std::u16string>{u"1", u"10", u"100", u"1000", u"10000"}));
            EXPECT_EQ(d.items[id::total::kTotalField], u"0");
            EXPECT_EQ(d.items[id::total::kUnitCombo], u"250");
            d.command(id::total::kTakeAdvances);
            EXPECT_EQ(d.items[id::total::kTotalField], party.groupCount() == 0 ? u"0" : u"16000");
            EXPECT_EQ(d.items[id::total::kUnitCombo], u"250");
            d.command(closing);
        });
        EXPECT_TRUE(ended);
        EXPECT_EQ(result, 1);
        if (party.groupCount() == 0) {
            for (const auto& [people, advance] : {std::pair{2, 3000}, std::pair{1, 10000}}) {
                auto g = std::make_unique<Group>(u"g");
                g->people = people;
                g->advance = advance;
                party.addGroup(std::move(g));
            }
        }
    }
    EXPECT_EQ(party.total, 16000);
    EXPECT_EQ(party.unit, 250);
}

}  // namespace
}  // namespace ts::ui
