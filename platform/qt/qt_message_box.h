#pragma once

#include <string_view>

#include "platform/window_system.h"

class QMessageBox;

namespace ts::platform {

// Fills `box` with the text, caption, icon and buttons of `style`. The
// buttons carry Japanese texts, since the program loads no Qt translation.
void prepareMessageBox(QMessageBox& box, std::u16string_view text, std::u16string_view caption,
                       MessageStyle style);

// What the button that closed a prepared box means.
MessageAnswer answerOf(const QMessageBox& box, MessageStyle style);

}  // namespace ts::platform
