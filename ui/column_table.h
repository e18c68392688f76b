#pragma once

#include <array>

#include "resources/tables.h"

namespace ts::ui {

// The visible flags of the group list's columns. They live in memory only:
// every start shows the detailed view.
class ColumnTable {
public:
    static constexpr int kColumnCount = 6;
    static constexpr int kRatioColumn = 2;
    static constexpr int kAdvanceColumn = 3;

    ColumnTable();

    bool visible(int column) const;
    // Hides or shows the ratio and advance columns together.
    void toggleSimpleView();
    // True in the detailed view, where the ratio column is visible.
    bool detailed() const { return visible_[kRatioColumn]; }

private:
    std::array<bool, kColumnCount> visible_{};
};

}  // namespace ts::ui
