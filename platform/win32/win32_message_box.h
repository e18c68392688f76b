#pragma once

#include <windows.h>

#include <string_view>

#include "platform/window_system.h"

namespace ts::platform {

// The MessageBoxW style for a box of that kind, modal to its owner.
UINT messageBoxFlags(MessageStyle style);
// What the box's return value means; a box closed without a button
// (Escape, the close box, a quit request) answers as dismissedAnswer.
MessageAnswer answerOf(int result, MessageStyle style);
// The command that dismisses a box of that kind (a quit request sends it).
int dismissCommand(MessageStyle style);

// Shows the box; `owner` may be null.
MessageAnswer showMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                             MessageStyle style);

}  // namespace ts::platform
