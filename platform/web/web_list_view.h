#pragma once

#include <string>
#include <string_view>

#include "platform/list_rows.h"
#include "platform/window_system.h"

namespace ts::platform {

// The report-view list as a grid in the page: single selection, text-only
// rows, the first column left-aligned and the amounts right-aligned; on a
// narrow screen the page shows each row as a card. The page holds the
// selection. The rows are kept here too, and a change reaches the page
// only when the screen must be right: at a selection (the last call of a
// refresh), a column change, or before the program waits for the user.
// Then the page gets what differs from what it shows, in one call.
class WebListView final : public ListView {
public:
    WebListView(int handle, int index) : handle_(handle), index_(index) {}

    TS_LIST_VIEW_CALLS;
    void setEmptyText(std::u16string_view text) override;

    // Hands the changes not yet shown to the page (the list as the program
    // set it does not change).
    void flush() const;

private:
    int handle_;  // the window in the page
    int index_;   // the list's place in its template
    mutable RowBuffer rows_;
};

}  // namespace ts::platform
