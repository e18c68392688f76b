#pragma once

#include "resources/tables.h"

namespace ts::ui {

// Which of the group list's columns (res::kColumns) are shown: all of them
// in the detailed view, all but the detail-only ones in the simple view.
// The view lives in memory only: every start shows the detailed view.
class ColumnTable {
public:
    static constexpr int kColumnCount = static_cast<int>(res::kColumns.size());

    bool visible(int column) const;
    // Switches between the detailed and the simple view.
    void toggleSimpleView() { detailed_ = !detailed_; }
    bool detailed() const { return detailed_; }

private:
    bool detailed_ = true;
};

}  // namespace ts::ui
