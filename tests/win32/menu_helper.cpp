// A main window whose procedure answers a context menu request with a
// menu of two entries and shows the chosen command in the total text.
#include <array>
#include <string>

#include "platform/win32/win32_window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"

int wmain() {
    using ts::platform::Message;
    ts::platform::Win32WindowSystem windows;
    return windows.runModal(
        ts::res::kMainDialog, [](ts::platform::Dialog& dialog, const Message& message) {
            if (message.kind == Message::Kind::ContextMenu) {
                const std::array<ts::platform::MenuEntry, 2> entries{
                    ts::platform::MenuEntry{7, u"コピー"}, ts::platform::MenuEntry{8, u"削除"}};
                const int chosen = dialog.popupMenu(message.id, entries);
                dialog.setItemText(
                    ts::id::main::kTotalText,
                    u"menu " + std::u16string(1, static_cast<char16_t>(u'0' + chosen % 10)));
            } else if (message.kind == Message::Kind::Command &&
                       (message.id == ts::id::kOk || message.id == ts::id::kCancel)) {
                dialog.endDialog(1);
            }
        });
}
