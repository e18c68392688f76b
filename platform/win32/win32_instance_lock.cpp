#include "platform/win32/win32_instance_lock.h"

#include "platform/win32/win32_text.h"

namespace ts::platform {

Win32InstanceLock::Win32InstanceLock(std::u16string_view name) : name_(toWide(name)) {}

bool Win32InstanceLock::acquire() {
    mutex_ = CreateMutexW(nullptr, FALSE, name_.c_str());
    // Only an existing mutex of that name makes this copy give way; when it
    // cannot be made at all, the program runs rather than refuse to start.
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

void Win32InstanceLock::activateRunningCopy() {
    const HWND window = FindWindowW(nullptr, name_.c_str());
    if (window == nullptr) {
        return;  // still starting, or already gone
    }
    if (IsIconic(window) != FALSE) {
        ShowWindow(window, SW_RESTORE);
    }
    // A dialog open in front of the main window is what the user works in.
    const HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(popup != nullptr ? popup : window);
}

}  // namespace ts::platform
