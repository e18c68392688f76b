#pragma once

#include <windows.h>

#include "platform/window_system.h"

namespace ts::platform {

// The report-view list over a native SysListView32 control: single
// selection shown also without focus, full-row selection, text-only rows.
class Win32ListView final : public ListView {
public:
    explicit Win32ListView(HWND list);

    TS_LIST_VIEW_CALLS;

    HWND handle() const { return list_; }
    // Where a context menu asked for by keyboard opens: beside the selected
    // row, else at the list's top left corner (screen coordinates).
    POINT keyboardMenuPoint() const;

private:
    int rowCount() const;

    HWND list_;
};

}  // namespace ts::platform
