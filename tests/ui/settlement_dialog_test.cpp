#include "ui/settlement_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ids.h"
#include "resources/texts.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/round_dialog.h"

namespace ts::ui {
namespace {

using test::FakeDialog;
using Texts = std::vector<std::u16string>;
namespace settle = id::settle;

void addGroup(Party& party, std::u16string name, std::int32_t people, std::int32_t advance) {
    auto group = Group::create(std::move(name));
    group->people = people;
    group->advance = advance;
    party.addGroup(std::move(group));
}

// 一次会: 6000 yen, 社員 3 and 部長 1, who paid it; 二次会: 3000 yen, 社員 2
// and 部長, who paid again. To the yen that is 1500 and 1000 a head, so
// 社員 1-2 pay 2500, 社員 3 pays 1500 and 部長 gets 6500 back.
Evening twoRounds() {
    Evening evening = Evening::create();
    addGroup(evening.party(), u"社員", 3, 0);
    addGroup(evening.party(), u"部長", 1, 6000);
    evening.party().total = 6000;
    evening.addRound();
    evening.party().groupAt(0)->people = 2;
    evening.party().groupAt(1)->advance = 3000;
    evening.party().total = 3000;
    for (int r = 0; r < 2; ++r) {
        evening.roundAt(r)->calculation = Calculation::Plain;
    }
    evening.recalculateAll();
    return evening;
}

struct SettlementDialogTest : ::testing::Test, DialogFixture {
    // Runs the dialog; `body` plays the user. Every change is noted with
    // what the plan's first row showed at that moment.
    void run(std::function<void(FakeDialog&)> body, bool viewOnly = false) {
        script(res::kSettlementDialog, [&, body = std::move(body)](FakeDialog& d) {
            dialog = &d;
            body(d);
        });
        runSettlementDialog(owner, evening, viewOnly, [this] {
            shownWhenSaved.push_back(
                dialog != nullptr && !dialog->list.rows.empty() ? dialog->list.rows[0][2] : u"-");
        });
    }
    // Presses `command` with the row of class `row` selected.
    void press(FakeDialog& d, int row, int command) {
        d.list.selectRow(row);
        d.command(command);
    }
    Texts row(FakeDialog& d, std::size_t index) { return d.list.rows.at(index); }

    Evening evening = twoRounds();
    FakeDialog* dialog = nullptr;
    Texts shownWhenSaved;
};

TEST_F(SettlementDialogTest, ShowsThePlanTheOrganisersMoneyAndWhatIsLeft) {
    run([&](FakeDialog& d) {
        ASSERT_EQ(d.list.columns.size(), 5u);
        EXPECT_EQ(d.list.columns[0].title, u"区分");
        EXPECT_EQ(d.list.rows.size(), 3u);  // a row per class, their figures the plan's
        EXPECT_EQ(row(d, 0), (Texts{u"社員 2人（一次会・二次会）", u"2500円払う", u"0/2人",
                                    u"5000円払う", u"一次会 1500円払う + 二次会 1000円払う"}));
        EXPECT_EQ(d.list.selected, 0);
        EXPECT_EQ(d.items[settle::kOrganiserText], u"幹事（グループ外）の手元に残る額：0円");
        EXPECT_EQ(d.items[settle::kOutstandingText], u"集金残り 6500円　返金残り 6500円");
        EXPECT_EQ(d.comboEntries[settle::kOrganiserCombo],
                  (Texts{u"グループ外", u"社員の1人目", u"部長の1人目"}));
        EXPECT_EQ(d.comboSelected[settle::kOrganiserCombo], 0);
        EXPECT_EQ(d.textLimits[settle::kPayeeField], 100);
        EXPECT_EQ(system.commandButtons.back(),
                  (std::pair<int, std::u16string>{settle::kSendReminder, u"送る"}));
        d.command(id::kCancel);
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(shownWhenSaved.empty());  // looking changes nothing
}

// 済 goes member by member through the selected class and is saved before
// the list shows it; 取り消し takes the last mark back.
TEST_F(SettlementDialogTest, MarksGoMemberByMemberAndAreSavedBeforeTheyAreShown) {
    run([&](FakeDialog& d) {
        // The count of who has settled is settled in tone once nobody is
        // left for 済 (a phone's card then offers none).
        EXPECT_EQ(d.list.tones.at(0).at(2), res::Tone::None);
        press(d, 0, settle::kMarkPaid);
        press(d, 0, settle::kMarkPaid);
        EXPECT_EQ(row(d, 0)[2], u"2/2人");
        EXPECT_EQ(d.list.tones.at(0).at(2), res::Tone::Settled);
        EXPECT_EQ(d.list.tones.at(1).at(2), res::Tone::None);
        EXPECT_EQ(row(d, 0)[3], u"なし");
        EXPECT_EQ(d.items[settle::kOutstandingText], u"集金残り 1500円　返金残り 6500円");
        press(d, 0, settle::kMarkPaid);
        EXPECT_EQ(system.messageBoxes.back().text, u"この区分に精算の残っている人はいません");

        press(d, 0, settle::kTakeBack);
        EXPECT_EQ(evening.marks.count({u"社員", 2}), 0u);
        EXPECT_EQ(evening.marks.count({u"社員", 1}), 1u);
        press(d, 0, settle::kTakeBack);
        press(d, 0, settle::kTakeBack);
        EXPECT_EQ(system.messageBoxes.back().text, u"この区分に取り消せる記録はありません");
        EXPECT_EQ(row(d, 0)[2], u"0/2人");

        // No row selected: nothing happens.
        d.list.selectRow(-1);
        d.command(settle::kMarkPaid);
        EXPECT_TRUE(evening.marks.empty());
        d.command(id::kOk);
    });
    EXPECT_EQ(shownWhenSaved, (Texts{u"0/2人", u"1/2人", u"2/2人", u"1/2人"}));
}

TEST_F(SettlementDialogTest, APartPaymentAsksHowMuchAndAddsUp) {
    const struct {
        std::u16string_view typed;
        std::u16string_view error;
    } refused[] = {
        {u"", text::kNeedAmount},
        {u"1,000", text::kNeedNumber},
        {u"0", text::kAmountAtLeastOne},
        {u"2501", text::kAmountTooLarge},
    };
    std::vector<std::u16string> asked;
    for (const auto& r : refused) {
        system.onNextRun(res::kAmountDialog, [&](FakeDialog& a) {
            asked.push_back(a.items[id::amount::kWhoText]);
            a.type(id::amount::kAmountField, r.typed);
            a.command(id::kOk);
            EXPECT_EQ(system.messageBoxes.back().text, r.error);
            EXPECT_FALSE(a.ended());
            a.command(id::kCancel);
        });
    }
    for (const std::u16string_view typed : {u"1000", u"１５００", u"500"}) {
        system.onNextRun(res::kAmountDialog, [&, typed](FakeDialog& a) {
            asked.push_back(a.items[id::amount::kWhoText]);
            a.type(id::amount::kAmountField, typed);
            a.command(id::kOk);
        });
    }
    run([&](FakeDialog& d) {
        for (std::size_t i = 0; i < std::size(refused); ++i) {
            press(d, 0, settle::kPartPaid);
        }
        EXPECT_TRUE(evening.marks.empty());
        press(d, 0, settle::kPartPaid);
        EXPECT_EQ(evening.marks.at({u"社員", 1}), (Mark{1000, -2500}));
        EXPECT_EQ(row(d, 0)[2], u"0/2人");
        press(d, 0, settle::kPartPaid);  // the rest of it
        EXPECT_EQ(evening.marks.at({u"社員", 1}), (Mark{2500, -2500}));
        EXPECT_EQ(row(d, 0)[2], u"1/2人");
        press(d, 2, settle::kPartPaid);  // paid back, in part
        EXPECT_EQ(evening.marks.at({u"部長", 1}), (Mark{500, 6500}));
        EXPECT_EQ(row(d, 2)[3], u"6000円返金");
        d.command(id::kCancel);
    });
    EXPECT_EQ(asked[0], u"社員の1人目・残り 2500円払う\n受け取った額を入れてください");
    EXPECT_EQ(asked[5], u"社員の1人目・残り 1500円払う\n受け取った額を入れてください");
    EXPECT_EQ(asked[6], u"部長の1人目・残り 6500円返金\n返金した額を入れてください");
    EXPECT_EQ(shownWhenSaved.size(), 3u);
}

TEST_F(SettlementDialogTest, TheOrganiserAndWhereToPayAreTheEveningsAndTheReminderEndsWithThem) {
    run([&](FakeDialog& d) {
        d.choose(settle::kOrganiserCombo, 2);
        EXPECT_EQ(evening.organiser, (MemberKey{u"部長", 1}));
        EXPECT_EQ(row(d, 2)[2], u"幹事");
        EXPECT_EQ(
            d.items[settle::kOrganiserText],
            u"幹事（部長の1人目）の手元に残る額：0円\n幹事自身の分（6500円返金）は含みません。");
        EXPECT_EQ(d.items[settle::kOutstandingText], u"集金残り 6500円　返金残り 0円");

        press(d, 1, settle::kMarkPaid);
        d.type(settle::kPayeeField, u"PayPay ID: bucho");
        d.command(settle::kCopyReminder);
        EXPECT_EQ(system.clipboard,
                  u"精算のお願い\n社員 2人（一次会・二次会）：1人 2500円払う\n・1〜2人目 2500円\n"
                  u"支払先：PayPay ID: bucho\n");
        d.command(settle::kSendReminder);
        ASSERT_EQ(system.shared.size(), 1u);
        EXPECT_EQ(system.shared[0], system.clipboard);
        // A 支払先 past its room is cut at a character's end when the dialog closes.
        d.type(settle::kPayeeField, std::u16string(99, u'x') + u"\U0001F4B4");
        d.command(id::kCancel);
    });
    EXPECT_EQ(evening.payee, std::u16string(99, u'x'));
    EXPECT_EQ(shownWhenSaved.size(), 4u);  // organiser, mark, 支払先, 支払先 again
}

// Without figures the dialog says why, and nothing acts on a plan.
TEST_F(SettlementDialogTest, WithARoundNotCalculatedItSaysWhichAndGivesNoFigures) {
    evening.roundAt(1)->calculation = Calculation::None;
    evening.recalculateAll();
    run([&](FakeDialog& d) {
        EXPECT_TRUE(d.list.rows.empty());
        const std::u16string why =
            u"二次会は計算されていません。すべての会を計算すると精算できます。";
        EXPECT_EQ(d.items[settle::kOrganiserText], why);
        EXPECT_EQ(d.items[settle::kOutstandingText], u"");
        d.command(settle::kMarkPaid);
        d.command(settle::kBreakdown);
        EXPECT_TRUE(system.messageBoxes.empty());
        d.command(settle::kCopyReminder);
        EXPECT_EQ(system.messageBoxes.back().text, why);
        d.command(id::kCancel);
    });
    EXPECT_TRUE(evening.marks.empty());
}

TEST_F(SettlementDialogTest, AReadOnlyViewShowsTheMarksAndChangesNothing) {
    evening.marks[{u"社員", 1}] = Mark::settledInFull(-2500);
    evening.payee = u"口座 1234";
    run(
        [&](FakeDialog& d) {
            for (const int control : {settle::kMarkPaid, settle::kPartPaid, settle::kTakeBack,
                                      settle::kOrganiserCombo, settle::kPayeeField}) {
                EXPECT_TRUE(d.hidden[control]) << control;
            }
            EXPECT_EQ(row(d, 0)[2], u"1/2人");
            press(d, 0, settle::kMarkPaid);
            press(d, 0, settle::kTakeBack);
            d.command(settle::kBreakdown);
            EXPECT_EQ(system.messageBoxes.back().text,
                      u"社員 2人（一次会・二次会）\n"
                      u"一次会 1500円払う + 二次会 1000円払う = 2500円払う\n1人目 済\n2人目 未\n");
            d.command(settle::kCopyReminder);
            EXPECT_TRUE(system.clipboard.ends_with(u"支払先：口座 1234\n"));
            d.command(id::kCancel);
        },
        /*viewOnly=*/true);
    EXPECT_EQ(evening.marks.size(), 1u);
    EXPECT_TRUE(shownWhenSaved.empty());
}

// After a figure turned, a mark noted against the old one: 済 settles the
// difference, and a part payment is noted the way the money went.
TEST_F(SettlementDialogTest, MarksFollowFiguresThatChangedAfterThem) {
    const SettlementClass pays{u"社員", 1, 3, {{0, -2000}}, -2000};
    evening.marks[{u"社員", 1}] = Mark::settledInFull(-2000);
    evening.marks[{u"社員", 2}] = Mark::settledInFull(500);  // was refunded 500, now pays
    EXPECT_EQ(nextUnsettled(evening, pays, true), 2);
    EXPECT_EQ(markAfterPayment(evening, pays, 2, 2500), (Mark{2000, -2000}));
    EXPECT_EQ(markAfterPayment(evening, pays, 2, 300), (Mark{200, 500}));  // still 200 out
    EXPECT_EQ(markAfterPayment(evening, pays, 3, 700), (Mark{700, -2000}));

    const SettlementClass even{u"社員", 1, 3, {{0, 0}}, 0};
    EXPECT_EQ(nextUnsettled(evening, even, false), std::nullopt);  // none owes
    EXPECT_EQ(nextUnsettled(evening, even, true), 1);              // 1 paid 2000 that goes back
    evening.organiser = MemberKey{u"社員", 1};
    EXPECT_EQ(nextUnsettled(evening, even, true), 2);
    evening.marks.clear();
    EXPECT_EQ(nextUnsettled(evening, even, true), std::nullopt);
    EXPECT_EQ(nextUnsettled(evening, pays, false), 2);  // past the organiser
}

TEST(RoundNameDialog, NamesAreTestedAsGroupNamesAndAgainstTheOtherRounds) {
    const struct {
        std::u16string typed;
        std::u16string_view error;  // empty: renamed
    } cases[] = {
        {u"", text::kNeedRoundName},
        {std::u16string(211, u'x'), text::kNameTooLong},
        {u"一次会", text::kRoundNameTaken},
        {u"二次会", {}},  // its own name
        {u"カラオケ", {}},
    };
    for (const auto& c : cases) {
        DialogFixture f;
        Evening evening = Evening::create();
        evening.addRound();
        f.script(res::kRoundNameDialog, [&](FakeDialog& d) {
            EXPECT_EQ(d.items[id::round::kNameField], u"二次会");
            d.type(id::round::kNameField, c.typed);
            d.command(id::kOk);
            if (!c.error.empty()) {
                f.expectOneError(c.error);
                d.command(id::kCancel);
            }
        });
        EXPECT_EQ(runRoundNameDialog(f.owner, evening, 1), c.error.empty()) << c.error.size();
        EXPECT_EQ(evening.roundName(1), c.error.empty() ? c.typed : u"二次会");
        EXPECT_TRUE(f.ended);
    }
}

}  // namespace
}  // namespace ts::ui
