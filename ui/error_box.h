#pragma once

#include <string_view>

#include "platform/window_system.h"
#include "resources/texts.h"

namespace ts::ui {

// Reports one user error: caption "エラー", one OK button, the exclamation
// icon. The dialog stays open with what the user typed.
inline void showError(platform::Dialog& dialog, std::u16string_view message) {
    dialog.messageBox(message, text::kErrorCaption,
                      {platform::MessageButtons::Ok, platform::MessageIcon::Warning});
}

}  // namespace ts::ui
