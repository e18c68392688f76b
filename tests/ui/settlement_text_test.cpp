#include "ui/settlement_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ts::ui {
namespace {

// An evening of `rounds` rounds with their default names; the plans below
// are made by hand, the texts only read them.
Evening rounds(int count) {
    Evening evening = Evening::create();
    for (int i = 1; i < count; ++i) {
        evening.addRound();
    }
    return evening;
}

SettlementClass cls(std::u16string group, std::int32_t first, std::int32_t last,
                    std::vector<SettlementPart> parts) {
    SettlementClass c{std::move(group), first, last, std::move(parts), 0};
    for (const SettlementPart& part : c.parts) {
        c.figure += part.balance;
    }
    return c;
}

// A figure reads as the list reads a balance; what is left of a class
// and of the whole plan reads the same way.
TEST(SettlementText, FiguresAndWhatIsLeft) {
    EXPECT_EQ(figureText(-4000), u"4000円払う");
    EXPECT_EQ(figureText(3000), u"3000円返金");
    EXPECT_EQ(figureText(0), u"精算なし");
    // Beyond one round's int32 range, as twenty rounds can add up.
    EXPECT_EQ(figureText(-42949672940), u"42949672940円払う");
    EXPECT_EQ(leftText({0, 0}), u"なし");
    EXPECT_EQ(leftText({8000, 0}), u"8000円払う");
    EXPECT_EQ(leftText({0, 3000}), u"3000円返金");
    EXPECT_EQ(leftText({8000, 1000}), u"8000円払う・1000円返金");
    EXPECT_EQ(outstandingText({12000, 3000}), u"集金残り 12000円　返金残り 3000円");
}

TEST(SettlementText, AClassIsItsGroupItsMembersAndTheirRoundsPartByPart) {
    Evening evening = rounds(3);
    evening.setRoundTitle(2, u"カラオケ");
    const SettlementClass stayed = cls(u"社員", 1, 3, {{0, -4000}, {1, -3000}, {2, 0}});
    EXPECT_EQ(classLabel(evening, stayed), u"社員 3人（一次会・二次会・カラオケ）");
    EXPECT_EQ(partsText(evening, stayed),
              u"一次会 4000円払う + 二次会 3000円払う + カラオケ 精算なし");
    const SettlementClass left = cls(u"社員", 4, 5, {{0, 1500}});
    EXPECT_EQ(breakdownText(evening, left),
              u"社員 2人（一次会）\n一次会 1500円返金\n4〜5人目 未\n");
    EXPECT_TRUE(breakdownText(evening, stayed)
                    .starts_with(u"社員 3人（一次会・二次会・カラオケ）\n"
                                 u"一次会 4000円払う + 二次会 3000円払う + カラオケ 精算なし = "
                                 u"7000円払う\n"));
}

// Each member as the marks and the organiser leave them (the breakdown
// gives every member's line), and the class's count of members done, the
// organiser not counted.
TEST(SettlementText, MembersStandAsTheirMarksSay) {
    Evening evening = rounds(2);
    const SettlementClass pays = cls(u"社員", 1, 5, {{0, -4000}, {1, -3000}});
    evening.organiser = MemberKey{u"社員", 1};
    evening.marks[{u"社員", 2}] = Mark::settledInFull(-7000);
    evening.marks[{u"社員", 3}] = Mark{3000, -7000};
    evening.marks[{u"社員", 4}] = Mark::settledInFull(-6000);  // the figure rose since
    evening.marks[{u"社員", 1}] = Mark{100, -7000};            // the organiser's: no effect
    EXPECT_EQ(settledCountText(evening, pays), u"1/4人");
    EXPECT_EQ(breakdownText(evening, pays),
              u"社員 5人（一次会・二次会）\n一次会 4000円払う + 二次会 3000円払う = 7000円払う\n"
              u"1人目 幹事\n2人目 済\n3人目 一部 3000円・残り 4000円払う\n"
              u"4人目 一部 6000円・残り 1000円払う（差額 1000円払う）\n5人目 未\n");

    // A refund paid back in full, and a figure that fell since: more went
    // back than is now due.
    const SettlementClass refunded = cls(u"部長", 1, 2, {{0, 5000}});
    evening.marks[{u"部長", 1}] = Mark::settledInFull(5000);
    evening.marks[{u"部長", 2}] = Mark::settledInFull(6000);
    EXPECT_EQ(memberText(evening, refunded, 1), u"済");
    EXPECT_EQ(memberText(evening, refunded, 2), u"済・残り 1000円払う（差額 1000円払う）");
    EXPECT_EQ(settledCountText(evening, refunded), u"1/2人");

    // Nothing to settle: done without a mark; the organiser alone.
    const SettlementClass even = cls(u"ゲスト", 1, 3, {{0, 0}});
    EXPECT_EQ(memberText(evening, even, 2), u"精算なし");
    EXPECT_EQ(settledCountText(evening, even), u"3/3人");
    evening.organiser = MemberKey{u"ゲスト", 1};
    EXPECT_EQ(settledCountText(evening, cls(u"ゲスト", 1, 1, {{0, -100}})), u"幹事");
}

TEST(SettlementText, TheOrganiserSaysWhatTheyKeepAndWhyItDiffers) {
    Evening evening = rounds(2);
    Settlement plan;
    plan.rounds = {{10000, 0, 150, 150}, {5000, 0, 50, 50}};
    plan.organiserKeeps = 200;
    EXPECT_EQ(organiserText(evening, plan), u"幹事（グループ外）の手元に残る額：200円");

    plan.rounds[1].kept = 30;
    plan.organiserKeeps = 180;
    evening.organiser = MemberKey{u"社員", 1};
    plan.organiser = evening.organiser;
    plan.organiserFigure = -7000;
    EXPECT_EQ(organiserText(evening, plan),
              u"幹事（社員の1人目）の手元に残る額：180円\n"
              u"各会の余りの合計（200円）とは違います。幹事自身の分（7000円払う）は含みません。");
}

TEST(SettlementText, WhyThereIsNoPlanNamesTheRoundsAndTheName) {
    Evening evening = rounds(3);
    Settlement plan;
    plan.state = Settlement::State::NotCalculated;
    plan.uncalculatedRounds = {1, 2};
    EXPECT_EQ(problemText(evening, plan),
              u"二次会・三次会は計算されていません。すべての会を計算すると精算できます。");
    plan.duplicateName = u"社員";
    plan.duplicateRound = 0;
    EXPECT_EQ(problemText(evening, plan),
              u"二次会・三次会は計算されていません。すべての会を計算すると精算できます。\n"
              u"一次会に同じ名前のグループ「社員」が複数あります。名前を分けると精算できます。");
    plan = {};
    plan.state = Settlement::State::TooLarge;
    EXPECT_EQ(problemText(evening, plan), u"金額が大きすぎるため精算できません。");
    EXPECT_EQ(problemText(evening, Settlement{}), u"");
    EXPECT_EQ(reminderText(evening, plan), u"");  // no figures, no reminder
}

// Who still owes how much, member by member (members alike in runs), the
// organiser and those owed money left out, then where to pay.
TEST(SettlementText, TheReminderListsWhoStillOwesThenWhereToPay) {
    Evening evening = rounds(2);
    Settlement plan;
    plan.classes = {cls(u"社員", 1, 6, {{0, -4000}, {1, -3000}}), cls(u"社員", 7, 8, {{0, -4000}}),
                    cls(u"部長", 1, 1, {{0, 9000}, {1, 3000}})};
    evening.organiser = MemberKey{u"社員", 4};
    evening.marks[{u"社員", 2}] = Mark::settledInFull(-7000);
    evening.marks[{u"社員", 3}] = Mark{3000, -7000};
    evening.marks[{u"社員", 7}] = Mark::settledInFull(-4000);
    evening.marks[{u"社員", 8}] = Mark::settledInFull(-4000);
    evening.payee = u"PayPay: kanji-01";
    EXPECT_EQ(reminderText(evening, plan),
              u"精算のお願い\n"
              u"社員 6人（一次会・二次会）：1人 7000円払う\n"
              u"・1人目 7000円\n"
              u"・3人目 4000円（3000円受取済み）\n"
              u"・5〜6人目 7000円\n"
              u"支払先：PayPay: kanji-01\n");

    evening.marks.clear();
    evening.organiser.reset();
    evening.payee.clear();
    plan.classes = {cls(u"部長", 1, 1, {{0, 9000}})};
    EXPECT_EQ(reminderText(evening, plan),
              u"精算のお願い\nお支払いの残っている方はいません\n幹事にお支払いください\n");
}

// A class of very many members: the texts go by the marks, never member
// by member.
TEST(SettlementText, AHugeClassStaysAFewLines) {
    Evening evening = rounds(1);
    const SettlementClass many = cls(u"全員", 1, 2147483647, {{0, -1}});
    evening.organiser = MemberKey{u"全員", 2147483647};
    evening.marks[{u"全員", 2147483646}] = Mark::settledInFull(-1);
    EXPECT_EQ(settledCountText(evening, many), u"1/2147483646人");
    EXPECT_EQ(breakdownText(evening, many),
              u"全員 2147483647人（一次会）\n一次会 1円払う\n1〜2147483645人目 未\n"
              u"2147483646人目 済\n2147483647人目 幹事\n");
    Settlement plan;
    plan.classes = {many};
    EXPECT_EQ(reminderText(evening, plan),
              u"精算のお願い\n全員 2147483647人（一次会）：1人 1円払う\n・1〜2147483645人目 1円\n"
              u"幹事にお支払いください\n");
}

}  // namespace
}  // namespace ts::ui
