#include "platform/win32/win32_list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_text.h"

namespace ts::platform {

Win32ListView::Win32ListView(HWND list) : list_(list) {
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

int Win32ListView::rowCount() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

int Win32ListView::selectedRow() const {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Win32ListView::selectRow(int index) {
    LVITEMW item{};
    if (index < 0 || index >= rowCount()) {
        // Index -1 addresses every row: take the selection off all of them.
        item.stateMask = LVIS_SELECTED;
        item.state = 0;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&item));
        return;
    }
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void Win32ListView::deleteRow(int index) {
    if (index < 0 || index >= rowCount()) {
        return;
    }
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void Win32ListView::deleteAllRows() {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

void Win32ListView::deleteColumns(int count) {
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(list_, LVM_DELETECOLUMN, 0, 0) == FALSE) {
            break;  // no column left
        }
    }
}

void Win32ListView::insertColumn(int position, std::u16string_view title, int width,
                                 std::string_view /*role*/) {
    std::wstring text = toWide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_RIGHT;
    // Widths are 96-dpi pixels, scaled like the dialog's own layout.
    column.cx = scaled(std::max(width, 0), windowDpi(list_));
    column.pszText = text.data();
    column.iSubItem = position;
    SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(std::max(position, 0)),
                 reinterpret_cast<LPARAM>(&column));
}

void Win32ListView::setCell(std::u16string_view text, int subitem, int row, res::Tone /*tone*/) {
    if (row < 0 || subitem < 0) {
        return;
    }
    std::wstring wide = toWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = subitem;
    item.pszText = wide.data();
    if (subitem == 0) {
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

POINT Win32ListView::keyboardMenuPoint() const {
    POINT at{0, 0};
    const int selected = selectedRow();
    RECT row{};
    row.left = LVIR_LABEL;
    if (selected >= 0 && SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(selected),
                                      reinterpret_cast<LPARAM>(&row)) != FALSE) {
        RECT client{};
        GetClientRect(list_, &client);
        // Beside the row's text, kept inside the list when it is scrolled away.
        at.x = std::clamp(row.left + (row.bottom - row.top), client.left, client.right);
        at.y = std::clamp(row.bottom, client.top, client.bottom);
    }
    ClientToScreen(list_, &at);
    return at;
}

}  // namespace ts::platform
