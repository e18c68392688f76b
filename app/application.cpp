#include "app/application.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/dialog_template.h"

namespace ts::app {

int runApplication(platform::WindowSystem& windows, platform::InstanceLock& lock,
                   std::u16string settingsPath) {
    if (!lock.acquire()) {
        // Another copy runs: bring it forward and leave without a window.
        lock.activateRunningCopy();
        return 0;
    }
    AppState state;
    state.settingsPath = std::move(settingsPath);
    MainWindow mainWindow(state);
    return windows.runModal(res::kMainDialog, mainWindow.procedure());
}

}  // namespace ts::app
