#pragma once

#include "platform/window_system.h"

namespace ts::platform {

// The report-view list as a table in the page: single selection, text-only
// rows, the first column left-aligned and the amounts right-aligned. The
// page holds the rows and the selection; this forwards each change.
class WebListView final : public ListView {
public:
    WebListView(int handle, int index) : handle_(handle), index_(index) {}

    int selectedRow() const override;
    void selectRow(int index) override;
    void deleteRow(int index) override;
    void deleteAllRows() override;
    void deleteColumns(int count) override;
    void insertColumn(int position, std::u16string_view title, int width) override;
    void setCell(std::u16string_view text, int subitem, int row) override;

private:
    int handle_;  // the window in the page
    int index_;   // the list's place in its template
};

}  // namespace ts::platform
