#pragma once

#include <windows.h>

#include "resources/dialog_template.h"

namespace ts::platform {

// Private messages of the dialogs this window system runs.
inline constexpr UINT kCopyMessage = WM_APP + 1;          // Ctrl+C outside an edit field
inline constexpr UINT kContinueQuitMessage = WM_APP + 2;  // the next step of a quit request
inline constexpr UINT kHelpMessage = WM_APP + 3;          // F1

// The window class and styles a template control is created with.
struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};
ControlClass controlClassOf(const res::ControlTemplate& control);

// Routes Ctrl+C that reaches the control (a list, a button, the arrows) to
// its dialog as kCopyMessage: the modal loop of a dialog translates no
// accelerators, and only edit fields copy by themselves. F1 goes to the
// dialog as kHelpMessage in the same way.
void routeCopyKey(HWND control);

// Dots per inch of the monitor the window is on (96 where the system cannot
// tell). The procedures' pixels are those of a 96-dpi screen, as on the
// other window systems; scaled() converts them to the monitor's pixels.
int windowDpi(HWND window);
int scaled(int pixels, int dpi);
int unscaled(int pixels, int dpi);

}  // namespace ts::platform
