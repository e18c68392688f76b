#include "ui/result_export.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/party.h"

namespace ts::ui {
namespace {

// Names a spreadsheet or a CSV reader trips over: a formula, a quote with a
// comma, full-width text, and a leading minus with a tab.
std::unique_ptr<Party> trickyParty() {
    auto party = std::make_unique<Party>(u"FIRST");
    party->total = 10000;
    party->unit = 100;
    party->remainder = 200;
    const struct {
        std::u16string_view name;
        std::int32_t people, ratio, advance, share, balance;
    } groups[] = {
        {u"=1+2", 2, 100, 0, 2900, -2900},
        {u"O\"Neil, K", 1, 50, 10000, 1500, 8500},
        {u"幹事", 1, 100, 2900, 2900, 0},
        {u"-5\t件", 1, 0, 0, 0, 0},
    };
    for (const auto& g : groups) {
        auto group = std::make_unique<Group>(std::u16string(g.name));
        group->people = g.people;
        group->ratio = g.ratio;
        group->advance = g.advance;
        group->share = g.share;
        group->balance = g.balance;
        party->addGroup(std::move(group));
    }
    return party;
}

TEST(ResultExport, TableTextReadsAsTheListAndTotalsLine) {
    const auto party = trickyParty();
    EXPECT_EQ(tableText(*party, ColumnTable(), u"\n"),
              u"ｸﾞﾙｰﾌﾟ名\t人数\t割合\t負担額\t支払額\t差引額\n"
              u"=1+2\t2人\t100%\t0円\t2900円\t2900円払う\n"
              u"O\"Neil, K\t1人\t50%\t10000円\t1500円\t8500円返金\n"
              u"幹事\t1人\t100%\t2900円\t2900円\t0円\u3000\u3000\n"
              u"-5 件\t1人\t0%\t0円\t0円\t0円\u3000\u3000\n"
              u"\n"
              u"総人数\t5人\n"
              u"総額\t10000円\n"
              u"区切額\t100円\n"
              u"余り\t200円\n");
}

TEST(ResultExport, CsvBytes) {
    const auto party = trickyParty();
    EXPECT_EQ(csvBytes(*party, true),
              "\xEF\xBB\xBF"
              "ｸﾞﾙｰﾌﾟ名,人数,割合,負担額,支払額,差引額\r\n"
              "'=1+2,2,100,0,2900,-2900\r\n"
              "\"O\"\"Neil, K\",1,50,10000,1500,8500\r\n"
              "幹事,1,100,2900,2900,0\r\n"
              "'-5\t件,1,0,0,0,0\r\n"
              "\r\n"
              "総人数,5\r\n"
              "総額,10000\r\n"
              "区切額,100\r\n"
              "余り,200\r\n");

    // Before any calculation the results are left empty; a negative number
    // stays a number, and a line break inside a name stays inside its field.
    party->total = -50;
    party->groupAt(2)->setName(u"a\r\nb");
    EXPECT_EQ(csvBytes(*party, false),
              "\xEF\xBB\xBF"
              "ｸﾞﾙｰﾌﾟ名,人数,割合,負担額,支払額,差引額\r\n"
              "'=1+2,2,100,0,,\r\n"
              "\"O\"\"Neil, K\",1,50,10000,,\r\n"
              "\"a\r\nb\",1,100,2900,,\r\n"
              "'-5\t件,1,0,0,,\r\n"
              "\r\n"
              "総人数,5\r\n"
              "総額,-50\r\n"
              "区切額,100\r\n"
              "余り,\r\n");
}

TEST(ResultExport, ChatTextReadsWithoutTabsOrAlignment) {
    const auto party = trickyParty();
    const struct {
        Calculated results;
        std::u16string_view text;
    } cases[] = {
        {Calculated::ToTheUnit,
         u"総額 10000円（100円単位で割り勘）\n"
         u"=1+2 2人：1人 2900円払う\n"
         u"O\"Neil, K 1人：1人 8500円返金\n"
         u"幹事 1人：1人 精算なし\n"
         u"-5 件 1人：1人 精算なし\n"
         u"余り 200円（幹事の手元に残ります）\n"},
        {Calculated::ToTheYen,
         u"総額 10000円（1円単位で割り勘）\n"
         u"=1+2 2人：1人 2900円払う\n"
         u"O\"Neil, K 1人：1人 8500円返金\n"
         u"幹事 1人：1人 精算なし\n"
         u"-5 件 1人：1人 精算なし\n"
         u"余り 200円（幹事の手元に残ります）\n"},
        // Figures of an earlier calculation must not be sent as results.
        {Calculated::None,
         u"総額 10000円（区切額 100円・未計算）\n"
         u"=1+2 2人\n"
         u"O\"Neil, K 1人\n"
         u"幹事 1人\n"
         u"-5 件 1人\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chatText(*party, c.results), c.text);
    }
}

TEST(ResultExport, CsvFileNameCarriesTheDate) {
    EXPECT_EQ(csvFileName({2026, 12, 7}), u"tally-share-20261207.csv");
    EXPECT_EQ(csvFileName({987, 1, 31}), u"tally-share-09870131.csv");
}

}  // namespace
}  // namespace ts::ui
