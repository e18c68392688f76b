#include "ui/column_table.h"

namespace ts::ui {

ColumnTable::ColumnTable() {
    for (int i = 0; i < kColumnCount; ++i) {
        visible_[static_cast<std::size_t>(i)] =
            res::kColumns[static_cast<std::size_t>(i)].visibleAtStart;
    }
}

bool ColumnTable::visible(int column) const {
    if (column < 0 || column >= kColumnCount) {
        return false;
    }
    return visible_[static_cast<std::size_t>(column)];
}

void ColumnTable::toggleSimpleView() {
    visible_[kRatioColumn] = !visible_[kRatioColumn];
    visible_[kAdvanceColumn] = !visible_[kAdvanceColumn];
}

}  // namespace ts::ui
