#include "platform/web/web_list_view.h"

#include <emscripten.h>

#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(int, js_list_selected, (int handle, int index), {
    return TSWeb.listSelected(handle, index);
});
EM_JS(void, js_list_select, (int handle, int index, int row), {
    TSWeb.listSelect(handle, index, row);
});
EM_JS(void, js_list_delete_row, (int handle, int index, int row), {
    TSWeb.listDeleteRow(handle, index, row);
});
EM_JS(void, js_list_delete_all_rows, (int handle, int index), {
    TSWeb.listDeleteAllRows(handle, index);
});
EM_JS(void, js_list_delete_columns, (int handle, int index, int count), {
    TSWeb.listDeleteColumns(handle, index, count);
});
EM_JS(void, js_list_insert_column, (int handle, int index, int position, const char16_t* title,
                                    int length, int width), {
    TSWeb.listInsertColumn(handle, index, position, TSWeb.text(title, length), width);
});
EM_JS(void, js_list_set_cell, (int handle, int index, const char16_t* text, int length,
                               int subitem, int row), {
    TSWeb.listSetCell(handle, index, TSWeb.text(text, length), subitem, row);
});
// clang-format on

}  // namespace

int WebListView::selectedRow() const {
    return js_list_selected(handle_, index_);
}

void WebListView::selectRow(int index) {
    js_list_select(handle_, index_, index);
}

void WebListView::deleteRow(int index) {
    js_list_delete_row(handle_, index_, index);
}

void WebListView::deleteAllRows() {
    js_list_delete_all_rows(handle_, index_);
}

void WebListView::deleteColumns(int count) {
    js_list_delete_columns(handle_, index_, count);
}

void WebListView::insertColumn(int position, std::u16string_view title, int width) {
    const JsText text = toJs(title);
    js_list_insert_column(handle_, index_, position, text.data, text.length, width);
}

void WebListView::setCell(std::u16string_view text, int subitem, int row) {
    const JsText cell = toJs(text);
    js_list_set_cell(handle_, index_, cell.data, cell.length, subitem, row);
}

}  // namespace ts::platform
