#pragma once

#include <windows.h>

#include <string_view>

namespace ts::platform {

// Gives the control the name that screen readers (Narrator, NVDA) speak for
// it, in place of the one Windows would guess from the label before it in
// tab order. An empty name takes the annotation away again. False when the
// system's accessibility services could not be reached.
bool setAccessibleName(HWND control, std::u16string_view name);

// Forgets every name given to the control; called before it is destroyed.
void clearAccessibleName(HWND control);

}  // namespace ts::platform
