#pragma once

#include <array>
#include <string_view>

#include "model/group_fields.h"

namespace ts::res {

// One column of the group list: the group's field its cells show, its title
// and width, and whether the simple view (簡易表示) hides it. Every start
// shows every column.
struct ColumnSpec {
    GroupField field;
    std::u16string_view title;
    int width;  // pixels
    bool detailOnly;
};

// The columns in their order.
extern const std::array<ColumnSpec, 6> kColumns;

// What a list cell's value means beyond its text, as the list tells the
// window system (which may colour it, or ignore it): which way a balance's
// money goes, or that the figures are no results yet. Each has the name
// the page and its style sheet know it by, the words a phone's card shows
// beside such a figure (none when empty), and its colour in the light and
// the dark scheme (none when empty).
enum class Tone { None, Pay, Refund, Settled, NotCalculated };

struct ToneSpec {
    Tone tone;
    std::string_view id;
    std::u16string_view words;
    std::string_view light;
    std::string_view dark;
};

// One row per Tone, in its order.
extern const std::array<ToneSpec, 5> kTones;

// One column of the settlement's plan (one row per class of members): its
// title, width (pixels) and role (the name the page and its style sheet
// know its cells by), and the command each row offers on its own where a
// row stands alone (a phone's card): a button beside the cell that selects
// the row and gives that command, with the text of the window's own button
// for it and shown while that button is. 0 for none.
struct PlanColumnSpec {
    std::u16string_view title;
    int width;
    std::string_view role;
    int rowCommand;
};

// 区分, 1人あたり, 済, 残り, 内訳.
extern const std::array<PlanColumnSpec, 5> kPlanColumns;

// Choices offered by the unit combo box, top to bottom.
extern const std::array<std::u16string_view, 5> kUnitChoices;

}  // namespace ts::res
