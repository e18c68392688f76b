// The program's entry on Windows: one copy at a time, then the main window
// until it closes. Running out of memory anywhere ends the program with the
// message box "out of memory" and status 1.
#include <windows.h>

#include <new>
#include <string>
#include <utility>

#include "app/application.h"
#include "platform/win32/win32_instance_lock.h"
#include "platform/win32/win32_window_system.h"
#include "resources/texts.h"
#include "storage/path.h"
#include "storage/store.h"

namespace {

// Where a party that cannot be saved at the end of the session is rescued:
// the user's local application data, since the portable program's own
// folder is the one that just refused the save.
std::u16string rescueFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::u16string folder(buffer, buffer + length);
    folder += u"\\TALLY-SHARE";
    return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    ts::platform::Win32WindowSystem windows;
    try {
        ts::platform::Win32InstanceLock lock(ts::text::kAppName);
        ts::app::Startup startup;
        startup.store =
            std::make_unique<ts::FileStore>(ts::pathBesideExecutable(ts::text::kSettingsFileName));
        startup.userFolder = rescueFolder();
        startup.behaviour = ts::app::kDesktop;
        return ts::app::runApplication(windows, lock, std::move(startup));
    } catch (const std::bad_alloc&) {
        windows.exitOutOfMemory();
    }
}
