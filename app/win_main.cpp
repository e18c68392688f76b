// The program's entry on Windows: one copy at a time, then the main window
// until it closes. Running out of memory anywhere ends the program with the
// message box "out of memory" and status 1.
#include <windows.h>

#include <new>

#include "app/application.h"
#include "platform/win32/win32_instance_lock.h"
#include "platform/win32/win32_window_system.h"
#include "resources/texts.h"
#include "storage/path.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    ts::platform::Win32WindowSystem windows;
    try {
        ts::platform::Win32InstanceLock lock(ts::text::kAppName);
        return ts::app::runApplication(windows, lock,
                                       ts::pathBesideExecutable(ts::text::kSettingsFileName));
    } catch (const std::bad_alloc&) {
        windows.exitOutOfMemory();
    }
}
