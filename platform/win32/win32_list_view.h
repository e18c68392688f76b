#pragma once

#include <windows.h>

#include "platform/window_system.h"

namespace ts::platform {

// The report-view list over a native SysListView32 control: single
// selection shown also without focus, full-row selection, text-only rows.
class Win32ListView final : public ListView {
public:
    explicit Win32ListView(HWND list);

    int selectedRow() const override;
    void selectRow(int index) override;
    void deleteRow(int index) override;
    void deleteAllRows() override;
    void deleteColumns(int count) override;
    // The role and the tone of a cell are not shown: the columns' titles
    // and the words of the balances say it.
    void insertColumn(int position, std::u16string_view title, int width,
                      std::string_view role) override;
    void setCell(std::u16string_view text, int subitem, int row, res::Tone tone) override;

    HWND handle() const { return list_; }
    // Where a context menu asked for by keyboard opens: beside the selected
    // row, else at the list's top left corner (screen coordinates).
    POINT keyboardMenuPoint() const;

private:
    int rowCount() const;

    HWND list_;
};

}  // namespace ts::platform
