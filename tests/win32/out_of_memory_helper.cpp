// A program whose dialog procedure runs out of memory while the dialog
// opens: it must show "out of memory" and end with status 1.
#include <new>

#include "platform/win32/win32_window_system.h"
#include "resources/dialog_template.h"

int wmain() {
    ts::platform::Win32WindowSystem windows;
    return windows.runModal(ts::res::kTotalDialog,
                            [](ts::platform::Dialog&, const ts::platform::Message& message) {
                                if (message.kind == ts::platform::Message::Kind::InitDialog) {
                                    throw std::bad_alloc();
                                }
                            });
}
