#include "platform/list_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ts::platform {
namespace {

using Rows = std::vector<RowTexts>;

// What the page does with the changes: the run of rows out or in, then the
// cells by their rows' new places.
Rows applied(Rows rows, const RowChanges& changes) {
    rows.erase(rows.begin() + changes.at, rows.begin() + changes.at + changes.removed);
    rows.insert(rows.begin() + changes.at, changes.inserted.begin(), changes.inserted.end());
    for (const auto& cell : changes.cells) {
        rows.at(static_cast<std::size_t>(cell.row)).at(static_cast<std::size_t>(cell.column)) =
            cell.cell;
    }
    return rows;
}

// Each case: the rows shown, the rows wanted, and what the change may cost
// at most (rows in, rows out, cells set).
TEST(ListRows, ChangesTurnTheShownRowsIntoTheWantedOnesAtTheCostOfWhatDiffers) {
    const RowTexts a{u"A", u"1人", u"0円"}, b{u"B", u"2人", u"0円"}, c{u"C", u"3人", u"0円"};
    const RowTexts x{u"X", u"9人", u"0円"};
    const RowTexts a2{u"A", u"1人", u"500円"}, b2{u"B", u"2人", u"500円"},
        c2{u"C", u"3人", u"500円"};
    const RowTexts n1{u"新規", u"1人", u"0円"}, n2{u"新規", u"2人", u"0円"};
    // The same texts, now results: only the tone differs.
    const RowTexts a3{u"A", u"1人", {u"0円", res::Tone::Settled}};
    const struct {
        const char* what;
        Rows shown, wanted;
        int in, out, cells;
    } cases[] = {
        {"nothing changed", {a, b, c}, {a, b, c}, 0, 0, 0},
        {"a row added last", {a, b}, {a, b, c}, 1, 0, 0},
        {"a row added first", {b, c}, {a, b, c}, 1, 0, 0},
        {"a row added between", {a, c}, {a, x, c}, 1, 0, 0},
        {"a row deleted between", {a, x, c}, {a, c}, 0, 1, 0},
        {"the first row deleted", {a, b, c}, {b, c}, 0, 1, 0},
        {"the last row deleted", {a, b, c}, {a, b}, 0, 1, 0},
        {"one cell changed", {a, b, c}, {a, b2, c}, 0, 0, 1},
        {"a new calculation", {a, b, c}, {a2, b2, c2}, 0, 0, 3},
        {"a tone alone changed", {a, b}, {a3, b}, 0, 0, 1},
        {"a row added and every figure new", {a, c}, {a2, x, c2}, 1, 0, 2},
        {"every row another", {a, b}, {x, c, n1}, 1, 0, 6},
        {"the first rows", {}, {a, b, c}, 3, 0, 0},
        {"every row deleted", {a, b, c}, {}, 0, 3, 0},
        // Rows are told apart by their names: among namesakes a cell more.
        {"a namesake added", {n1, n1}, {n1, n2, n1}, 1, 0, 1},
        {"a namesake deleted", {n1, n2, n1}, {n1, n1}, 0, 1, 1},
    };
    for (const auto& c : cases) {
        const RowChanges changes = rowChanges(c.shown, c.wanted);
        EXPECT_EQ(applied(c.shown, changes), c.wanted) << c.what;
        EXPECT_LE(static_cast<int>(changes.inserted.size()), c.in) << c.what;
        EXPECT_LE(changes.removed, c.out) << c.what;
        EXPECT_LE(static_cast<int>(changes.cells.size()), c.cells) << c.what;
        EXPECT_TRUE(changes.removed == 0 || changes.inserted.empty()) << c.what;
    }
}

TEST(ListRows, ARefreshOfEveryRowHandsOverOnlyWhatItChanged) {
    RowBuffer list;
    for (int i = 0; i < 3; ++i) {
        list.insertColumn(i);
    }
    const auto fill = [&list](const std::vector<std::u16string>& names, std::u16string_view share) {
        list.deleteAllRows();
        for (int row = 0; row < static_cast<int>(names.size()); ++row) {
            list.setCell(names[static_cast<std::size_t>(row)], 0, row);
            list.setCell(u"1人", 1, row);
            list.setCell(share, 2, row);
        }
    };
    fill({u"A", u"B"}, u"0円");
    const RowChanges first = list.take();
    EXPECT_EQ(first.inserted.size(), 2u);
    EXPECT_TRUE(first.selectionCleared);
    EXPECT_FALSE(list.pending());

    fill({u"A", u"B", u"C"}, u"0円");
    const RowChanges added = list.take();
    EXPECT_EQ(added.at, 2);
    ASSERT_EQ(added.inserted.size(), 1u);
    EXPECT_EQ(added.inserted[0], (RowTexts{u"C", u"1人", u"0円"}));
    EXPECT_TRUE(added.cells.empty());

    fill({u"A", u"B", u"C"}, u"300円");
    const RowChanges figures = list.take();
    EXPECT_TRUE(figures.inserted.empty());
    ASSERT_EQ(figures.cells.size(), 3u);
    EXPECT_EQ(figures.cells[2].row, 2);
    EXPECT_EQ(figures.cells[2].column, 2);
    EXPECT_EQ(figures.cells[2].cell, ListCell(u"300円"));

    // A figure that becomes a result keeps its text and takes its tone.
    list.deleteAllRows();
    for (int row = 0; row < 3; ++row) {
        list.setCell(row == 0 ? u"A" : row == 1 ? u"B" : u"C", 0, row);
        list.setCell(u"1人", 1, row);
        list.setCell(u"300円", 2, row, row == 1 ? res::Tone::Pay : res::Tone::None);
    }
    const RowChanges toned = list.take();
    ASSERT_EQ(toned.cells.size(), 1u);
    EXPECT_EQ(toned.cells[0].cell, ListCell(u"300円", res::Tone::Pay));

    // A row deleted on its own, as the main window does before its refresh.
    list.deleteRow(0);
    list.deleteRow(7);
    EXPECT_EQ(list.rows(), (std::vector<RowTexts>{{u"B", u"1人", {u"300円", res::Tone::Pay}},
                                                  {u"C", u"1人", u"300円"}}));
    const RowChanges deleted = list.take();
    EXPECT_EQ(deleted.removed, 1);
    EXPECT_FALSE(deleted.selectionCleared);
}

TEST(ListRows, CellsOutOfRangeAreIgnoredAndColumnsReachEveryRow) {
    RowBuffer list;
    list.setCell(u"no columns yet", 0, 0);
    EXPECT_EQ(list.rows(), (std::vector<RowTexts>{{}}));
    list.deleteAllRows();
    list.insertColumn(0);
    list.setCell(u"A", 0, 5);  // past the end: appended
    list.setCell(u"B", 0, 0);
    list.setCell(u"x", 1, 0);   // no such column
    list.setCell(u"x", 0, -1);  // no such row
    list.setCell(u"x", 1, 9);
    EXPECT_EQ(list.rows(), (std::vector<RowTexts>{{u"B"}, {u"A"}}));
    static_cast<void>(list.take());
    list.insertColumn(9);  // past the last: appended, empty in every row
    list.setCell(u"1人", 1, 1);
    EXPECT_EQ(list.rows(), (std::vector<RowTexts>{{u"B", u""}, {u"A", u"1人"}}));
    const RowChanges changes = list.take();
    ASSERT_EQ(changes.cells.size(), 1u);  // the new empty cells are shown already
    list.deleteColumns(5);
    EXPECT_EQ(list.columnCount(), 0);
    EXPECT_EQ(list.rows(), (std::vector<RowTexts>{{}, {}}));
}

}  // namespace
}  // namespace ts::platform
