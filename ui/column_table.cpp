#include "ui/column_table.h"

#include <cstddef>

namespace ts::ui {

bool ColumnTable::visible(int column) const {
    if (column < 0 || column >= kColumnCount) {
        return false;
    }
    return detailed_ || !res::kColumns[static_cast<std::size_t>(column)].detailOnly;
}

}  // namespace ts::ui
