#include "ui/group_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/party.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "tests/support/fake_window_system.h"

namespace ts::ui {
namespace {

using Texts = std::vector<std::u16string>;
using Columns = std::vector<std::pair<std::u16string, int>>;

std::unique_ptr<Group> makeGroup(std::u16string name, std::int32_t people, std::int32_t ratio,
                                 std::int32_t advance, std::int32_t share, std::int32_t balance) {
    auto group = std::make_unique<Group>(std::move(name));
    group->people = people;
    group->ratio = ratio;
    group->advance = advance;
    group->share = share;
    group->balance = balance;
    return group;
}

TEST(GroupList, CellTexts) {
    const std::int32_t min = -2147483647 - 1;
    const struct {
        std::int32_t people, ratio, advance, share, balance;
        Texts cells;  // after the name
    } cases[] = {
        {3, 50, 1000, 3400, -2400, {u"3人", u"50%", u"1000円", u"3400円", u"2400円払う"}},
        {1, 100, 0, 0, 6600, {u"1人", u"100%", u"0円", u"0円", u"6600円返金"}},
        {1, 0, 0, 0, 0, {u"1人", u"0%", u"0円", u"0円", u"0円\u3000\u3000"}},
        {-2, -5, -50, min, min, {u"-2人", u"-5%", u"-50円", u"-2147483648円", u"2147483648円払う"}},
    };
    for (const auto& c : cases) {
        const auto texts =
            cellTexts(*makeGroup(u"会社", c.people, c.ratio, c.advance, c.share, c.balance));
        EXPECT_EQ(texts[0], u"会社");
        EXPECT_EQ(Texts(texts.begin() + 1, texts.end()), c.cells) << "case " << (&c - cases);
    }
}

// A balance's tone says which way its money goes once the figures are
// results, and that they are none before; no other field has a tone.
TEST(GroupList, CellTones) {
    using res::Tone;
    const struct {
        std::int32_t balance;
        bool results;
        Tone tone;
    } cases[] = {
        {-2400, true, Tone::Pay},        {6600, true, Tone::Refund},
        {0, true, Tone::Settled},        {-2147483647 - 1, true, Tone::Pay},
        {0, false, Tone::NotCalculated}, {-2400, false, Tone::NotCalculated},
    };
    for (const auto& c : cases) {
        const auto group = makeGroup(u"会社", 1, 100, 0, 0, c.balance);
        EXPECT_EQ(cellTone(*group, GroupField::Balance, c.results), c.tone)
            << c.balance << (c.results ? "" : ", not calculated");
        for (const GroupFieldSpec& other : kGroupFields) {
            if (other.field != GroupField::Balance) {
                EXPECT_EQ(cellTone(*group, other.field, c.results), Tone::None) << other.id;
            }
        }
    }
}

// Logs the requests as the list control receives them.
struct RecordingList final : platform::ListView {
    int selectedRow() const override { return -1; }
    void selectRow(int) override {}
    void deleteRow(int) override {}
    void deleteAllRows() override {}
    void deleteColumns(int count) override { log.push_back("delete " + std::to_string(count)); }
    void insertColumn(int position, std::u16string_view, int width,
                      std::string_view role) override {
        log.push_back("column " + std::to_string(position) + " " + std::to_string(width) + " " +
                      std::string(role));
    }
    void setCell(std::u16string_view, int subitem, int row, res::Tone tone) override {
        log.push_back("cell " + std::to_string(row) + "." + std::to_string(subitem) + " " +
                      std::string(res::kTones[static_cast<std::size_t>(tone)].id));
    }
    std::vector<std::string> log;
};

struct ListTest : ::testing::Test {
    ListTest() {
        party.addGroup(makeGroup(u"A", 3, 50, 1000, 3400, -2400));
        party.addGroup(makeGroup(u"B", 2, 100, 7000, 400, 6600));
        buildColumns(window.list, columns);
    }
    void refresh() {
        window.list.deleteAllRows();
        fillRows(window.list, columns, party, true);
    }
    Columns shownColumns() const {
        Columns out;
        for (const auto& column : window.list.columns) {
            out.emplace_back(column.title, column.width);
        }
        return out;
    }

    test::FakeWindowSystem system;
    test::FakeDialog window{system, res::kMainDialog, {}};
    Party party{u"FIRST"};
    ColumnTable columns;
};

TEST_F(ListTest, ViewButtonSwitchesColumnsAndBackAgain) {
    refresh();
    const Columns detailed{{u"ｸﾞﾙｰﾌﾟ名", 70}, {u"人数", 40},   {u"割合", 50},
                           {u"負担額", 80},   {u"支払額", 80}, {u"差引額", 80}};
    const Texts detailedRowB{u"B", u"2人", u"100%", u"7000円", u"400円", u"6600円返金"};
    EXPECT_EQ(shownColumns(), detailed);
    ASSERT_EQ(window.list.rows.size(), 2u);
    EXPECT_EQ(window.list.rows[1], detailedRowB);

    toggleView(window, columns, window.list);
    refresh();
    EXPECT_EQ(window.items[id::main::kViewToggle], u"詳細表示");
    EXPECT_EQ(shownColumns(),
              (Columns{{u"ｸﾞﾙｰﾌﾟ名", 70}, {u"人数", 40}, {u"支払額", 80}, {u"差引額", 80}}));
    EXPECT_EQ(window.list.rows[0], (Texts{u"A", u"3人", u"3400円", u"2400円払う"}));

    toggleView(window, columns, window.list);
    refresh();
    EXPECT_EQ(window.items[id::main::kViewToggle], u"簡易表示");
    EXPECT_EQ(shownColumns(), detailed);
    EXPECT_EQ(window.list.rows[1], detailedRowB);
}

TEST_F(ListTest, SimpleViewInsertsAtTableRowsAndFillsConsecutiveSubitems) {
    RecordingList list;
    columns.toggleSimpleView();
    buildColumns(list, columns);
    fillRow(list, columns, 7, *party.groupAt(0), true);
    EXPECT_EQ(list.log,
              (std::vector<std::string>{"delete 6", "column 0 70 name", "column 1 40 people",
                                        "column 4 80 share", "column 5 80 balance", "cell 7.0 none",
                                        "cell 7.1 none", "cell 7.2 none", "cell 7.3 pay"}));
}

TEST_F(ListTest, TotalsLine) {
    party.total = -50;
    party.unit = 1000;
    party.remainder = 30;
    window.textLog.clear();
    showTotals(window, party);
    party.clearGroups();
    refresh();
    showTotals(window, party);
    EXPECT_TRUE(window.list.rows.empty());
    EXPECT_EQ(window.textLog,
              (std::vector<std::pair<int, std::u16string>>{{id::main::kTotalText, u"-50円"},
                                                           {id::main::kUnitText, u"1000円"},
                                                           {id::main::kRemainderText, u"30円"},
                                                           {id::main::kPeopleText, u"5人"},
                                                           {id::main::kTotalText, u"-50円"},
                                                           {id::main::kUnitText, u"1000円"},
                                                           {id::main::kRemainderText, u"30円"},
                                                           {id::main::kPeopleText, u"0人"}}));
}

}  // namespace
}  // namespace ts::ui
