#include "platform/web/web_list_view.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
EM_JS(void, js_list_delete_columns, (int handle, int index, int count), {
    TSWeb.listDeleteColumns(handle, index, count);
});
EM_JS(void, js_list_insert_column, (int handle, int index, int position, const char16_t* title,
                                    int length, int width, const char* role, int roleLength), {
    TSWeb.listInsertColumn(handle, index, position, TSWeb.text(title, length), width,
                           UTF8ToString(role, roleLength));
});
EM_JS(void, js_list_apply, (int handle, int index, const std::int32_t* ops, int opCount,
                            const char16_t* texts, int textLength), {
    TSWeb.listApply(handle, index, HEAP32.subarray(ops >> 2, (ops >> 2) + opCount),
                    TSWeb.text(texts, textLength));
});
EM_JS(void, js_list_set_empty_text, (int handle, int index, const char16_t* text, int length), {
    TSWeb.listSetEmptyText(handle, index, TSWeb.text(text, length));
});
// clang-format on

// One cell as the page reads it: its length in the joined texts, and its
// tone (res::Tone, whose names the page has from the constants).
void appendCell(std::vector<std::int32_t>& ops, std::u16string& texts, const ListCell& cell) {
    ops.push_back(static_cast<std::int32_t>(cell.text.size()));
    ops.push_back(static_cast<std::int32_t>(cell.tone));
    texts.append(cell.text);
}

}  // namespace

int WebListView::selectedRow() const {
    flush();
    return js_list_selected(handle_, index_);
}

void WebListView::selectRow(int index) {
    flush();
    js_list_select(handle_, index_, index);
}

void WebListView::deleteRow(int index) {
    rows_.deleteRow(index);
}

void WebListView::deleteAllRows() {
    rows_.deleteAllRows();
}

void WebListView::deleteColumns(int count) {
    flush();
    rows_.deleteColumns(count);
    js_list_delete_columns(handle_, index_, count);
}

void WebListView::insertColumn(int position, std::u16string_view title, int width,
                               std::string_view role) {
    flush();
    const int at = std::clamp(position, 0, rows_.columnCount());
    rows_.insertColumn(at);
    const JsText text = toJs(title);
    js_list_insert_column(handle_, index_, at, text.data, text.length, width, role.data(),
                          static_cast<int>(role.size()));
}

void WebListView::setCell(std::u16string_view text, int subitem, int row, res::Tone tone) {
    rows_.setCell(text, subitem, row, tone);
}

void WebListView::setEmptyText(std::u16string_view text) {
    const JsText js = toJs(text);
    js_list_set_empty_text(handle_, index_, js.data, js.length);
}

void WebListView::flush() const {
    if (!rows_.pending()) {
        return;
    }
    const RowChanges changes = rows_.take();
    if (changes.empty() && !changes.selectionCleared) {
        return;
    }
    // The page reads: whether the selection goes, where rows go or come,
    // how many go, how many come and their cells, the cells to set; every
    // text is a length here and its units in `texts`, in the same order.
    std::vector<std::int32_t> ops{changes.selectionCleared ? 1 : 0,
                                  changes.at,
                                  changes.removed,
                                  static_cast<std::int32_t>(changes.inserted.size()),
                                  rows_.columnCount(),
                                  static_cast<std::int32_t>(changes.cells.size())};
    std::u16string texts;
    for (const RowTexts& row : changes.inserted) {
        for (const ListCell& cell : row) {
            appendCell(ops, texts, cell);
        }
    }
    for (const RowChanges::Cell& cell : changes.cells) {
        ops.push_back(cell.row);
        ops.push_back(cell.column);
        appendCell(ops, texts, cell.cell);
    }
    js_list_apply(handle_, index_, ops.data(), static_cast<int>(ops.size()), texts.data(),
                  static_cast<int>(texts.size()));
}

}  // namespace ts::platform
