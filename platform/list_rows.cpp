#include "platform/list_rows.h"

#include <algorithm>
#include <cstddef>

namespace ts::platform {

namespace {

bool inRange(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

auto offset(int index) {
    return static_cast<std::ptrdiff_t>(index);
}

bool sameItem(const RowTexts& a, const RowTexts& b) {
    const std::u16string none;
    return (a.empty() ? none : a.front().text) == (b.empty() ? none : b.front().text);
}

// The cells of `wanted` that differ from `shown`, as changes of row `row`.
void changedCells(const RowTexts& shown, const RowTexts& wanted, int row,
                  std::vector<RowChanges::Cell>& out) {
    for (std::size_t column = 0; column < wanted.size(); ++column) {
        if (column >= shown.size() || shown[column] != wanted[column]) {
            out.push_back({row, static_cast<int>(column), wanted[column]});
        }
    }
}

}  // namespace

RowChanges rowChanges(const std::vector<RowTexts>& shown, const std::vector<RowTexts>& wanted) {
    RowChanges changes;
    const int oldCount = static_cast<int>(shown.size());
    const int newCount = static_cast<int>(wanted.size());
    const int common = std::min(oldCount, newCount);
    int prefix = 0;
    while (prefix < common && sameItem(shown[static_cast<std::size_t>(prefix)],
                                       wanted[static_cast<std::size_t>(prefix)])) {
        ++prefix;
    }
    int suffix = 0;
    while (suffix < common - prefix &&
           sameItem(shown[static_cast<std::size_t>(oldCount - 1 - suffix)],
                    wanted[static_cast<std::size_t>(newCount - 1 - suffix)])) {
        ++suffix;
    }
    // Between the matched ends, rows are changed in place as far as both
    // have rows; the rest go or come in at the end of that stretch.
    const int inPlace = std::min(oldCount, newCount) - prefix - suffix;
    changes.at = prefix + inPlace;
    changes.removed = oldCount - newCount > 0 ? oldCount - newCount : 0;
    for (int row = changes.at; row < newCount - suffix; ++row) {
        changes.inserted.push_back(wanted[static_cast<std::size_t>(row)]);
    }
    // The kept rows by their places after that: the first prefix + inPlace
    // stay where they were, the suffix follows the inserted or removed run.
    for (int row = 0; row < prefix + inPlace; ++row) {
        changedCells(shown[static_cast<std::size_t>(row)], wanted[static_cast<std::size_t>(row)],
                     row, changes.cells);
    }
    for (int i = 0; i < suffix; ++i) {
        const int row = newCount - suffix + i;
        const int was = oldCount - suffix + i;
        changedCells(shown[static_cast<std::size_t>(was)], wanted[static_cast<std::size_t>(row)],
                     row, changes.cells);
    }
    return changes;
}

void RowBuffer::deleteRow(int index) {
    if (inRange(index, wanted_.size())) {
        wanted_.erase(wanted_.begin() + offset(index));
        pending_ = true;
    }
}

void RowBuffer::deleteAllRows() {
    wanted_.clear();
    selectionCleared_ = true;
    pending_ = true;
}

void RowBuffer::deleteColumns(int count) {
    for (int i = 0; i < count && columns_ > 0; ++i) {
        --columns_;
        for (auto* rows : {&shown_, &wanted_}) {
            for (auto& row : *rows) {
                row.erase(row.begin());
            }
        }
    }
}

void RowBuffer::insertColumn(int position) {
    const int at = std::clamp(position, 0, columns_);
    ++columns_;
    for (auto* rows : {&shown_, &wanted_}) {
        for (auto& row : *rows) {
            row.insert(row.begin() + offset(at), ListCell());
        }
    }
}

void RowBuffer::setCell(std::u16string_view text, int subitem, int row, res::Tone tone) {
    if (subitem == 0) {
        if (row < 0) {
            return;
        }
        RowTexts cells(static_cast<std::size_t>(columns_));
        if (!cells.empty()) {
            cells.front() = ListCell(text, tone);
        }
        const int at = std::min(row, rowCount());
        wanted_.insert(wanted_.begin() + offset(at), std::move(cells));
        pending_ = true;
        return;
    }
    if (!inRange(row, wanted_.size()) || !inRange(subitem, static_cast<std::size_t>(columns_))) {
        return;
    }
    wanted_[static_cast<std::size_t>(row)][static_cast<std::size_t>(subitem)] =
        ListCell(text, tone);
    pending_ = true;
}

RowChanges RowBuffer::take() {
    RowChanges changes = rowChanges(shown_, wanted_);
    changes.selectionCleared = selectionCleared_;
    shown_ = wanted_;
    pending_ = false;
    selectionCleared_ = false;
    return changes;
}

}  // namespace ts::platform
