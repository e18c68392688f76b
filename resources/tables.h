#pragma once

#include <array>
#include <string_view>

namespace ts::res {

// One column of the group list.
struct ColumnSpec {
    std::u16string_view title;
    int width;  // pixels
    bool visibleAtStart;
};

// Row index = column identity: name, people, ratio, advance, share, balance.
extern const std::array<ColumnSpec, 6> kColumns;

// Choices offered by the unit combo box, top to bottom.
extern const std::array<std::u16string_view, 5> kUnitChoices;

}  // namespace ts::res
