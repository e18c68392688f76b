#pragma once

#include <span>
#include <string_view>

#include "platform/window_system.h"

namespace ts::platform {

// A modal message box in the page, with Japanese button texts; waits for
// the answer. Escape answers as a box closed without a choice does.
MessageAnswer runMessageBox(std::u16string_view text, std::u16string_view caption,
                            MessageStyle style);

// A menu of `entries` as a modal list in the page; the chosen entry's
// command, or 0 when it was closed without a choice.
int runMenu(std::u16string_view label, std::span<const MenuEntry> entries);

}  // namespace ts::platform
