#include "platform/web/web_list_view.h"

#include <emscripten.h>

#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(int, jsListSelected, (int handle, int index), {
    return TSWeb.listSelected(handle, index);
});
EM_JS(void, jsListSelect, (int handle, int index, int row), {
    TSWeb.listSelect(handle, index, row);
});
EM_JS(void, jsListDeleteRow, (int handle, int index, int row), {
    TSWeb.listDeleteRow(handle, index, row);
});
EM_JS(void, jsListDeleteAllRows, (int handle, int index), {
    TSWeb.listDeleteAllRows(handle, index);
});
EM_JS(void, jsListDeleteColumns, (int handle, int index, int count), {
    TSWeb.listDeleteColumns(handle, index, count);
});
EM_JS(void, jsListInsertColumn, (int handle, int index, int position, const char16_t* title,
                                 int length, int width), {
    TSWeb.listInsertColumn(handle, index, position, title, length, width);
});
EM_JS(void, jsListSetCell, (int handle, int index, const char16_t* text, int length,
                            int subitem, int row), {
    TSWeb.listSetCell(handle, index, text, length, subitem, row);
});
// clang-format on

}  // namespace

int WebListView::selectedRow() const {
    return jsListSelected(handle_, index_);
}

void WebListView::selectRow(int index) {
    jsListSelect(handle_, index_, index);
}

void WebListView::deleteRow(int index) {
    jsListDeleteRow(handle_, index_, index);
}

void WebListView::deleteAllRows() {
    jsListDeleteAllRows(handle_, index_);
}

void WebListView::deleteColumns(int count) {
    jsListDeleteColumns(handle_, index_, count);
}

void WebListView::insertColumn(int position, std::u16string_view title, int width) {
    const JsText text = toJs(title);
    jsListInsertColumn(handle_, index_, position, text.data, text.length, width);
}

void WebListView::setCell(std::u16string_view text, int subitem, int row) {
    const JsText cell = toJs(text);
    jsListSetCell(handle_, index_, cell.data, cell.length, subitem, row);
}

}  // namespace ts::platform
