#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

// The group list's rows kept on the program's side, for a window system
// whose every call is expensive (the browser, where each one crosses into
// the page and touches its document): the list's calls change the rows here,
// and the screen is brought up to date in one go with only what differs.
namespace ts::platform {

// One cell: its text and what its value means.
struct ListCell {
    std::u16string text;
    res::Tone tone = res::Tone::None;

    ListCell() = default;
    // Most cells are their text alone.
    ListCell(std::u16string_view text, res::Tone tone = res::Tone::None) : text(text), tone(tone) {}
    ListCell(const char16_t* text) : text(text) {}
    bool operator==(const ListCell&) const = default;
};

using RowTexts = std::vector<ListCell>;

// What turns the rows shown into the rows wanted: first `removed` rows at
// `at` go and `inserted` rows come in at `at` (never both), then the cells
// listed take their texts, by their rows' places once that is done.
struct RowChanges {
    struct Cell {
        int row;
        int column;
        ListCell cell;
    };
    int at = 0;
    int removed = 0;
    std::vector<RowTexts> inserted;
    std::vector<Cell> cells;
    // The selection went with deleteAllRows: no row is selected before the
    // changes are applied.
    bool selectionCleared = false;

    bool empty() const { return removed == 0 && inserted.empty() && cells.empty(); }
};

// Compares `shown` with `wanted` row by row. Rows are matched by their first
// text (the item a report view's row stands for) from the top and from the
// bottom; what lies between is changed in place, and the rows left over go
// or come in one run. So a row added, changed or deleted anywhere costs its
// own row plus the cells that really changed, such as the figures a new
// calculation gives every row.
RowChanges rowChanges(const std::vector<RowTexts>& shown, const std::vector<RowTexts>& wanted);

// The list's calls kept as rows: ListView's semantics on plain vectors,
// without a selection (the window system keeps that). take() hands over
// what changed since the last take().
class RowBuffer {
public:
    // The ListView calls, with the same rules for indexes out of range.
    void deleteRow(int index);
    void deleteAllRows();
    void deleteColumns(int count);
    void insertColumn(int position);
    void setCell(std::u16string_view text, int subitem, int row, res::Tone tone = res::Tone::None);

    bool pending() const { return pending_; }
    int rowCount() const { return static_cast<int>(wanted_.size()); }
    int columnCount() const { return columns_; }
    const std::vector<RowTexts>& rows() const { return wanted_; }
    // The changes since the last take(); the rows then count as shown.
    RowChanges take();

private:
    std::vector<RowTexts> shown_;
    std::vector<RowTexts> wanted_;
    int columns_ = 0;
    bool pending_ = false;
    bool selectionCleared_ = false;
};

}  // namespace ts::platform
