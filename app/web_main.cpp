// The program in a browser tab: one tab holds the party (a later one waits
// for it), the settings file lives in the browser's storage (storage/web/),
// and the main window runs for as long as the tab.
#include <utility>

#include "app/application.h"
#include "platform/web/web_instance_lock.h"
#include "platform/web/web_window_system.h"
#include "resources/texts.h"
#include "storage/web/store.h"

int main() {
    ts::platform::WebWindowSystem windows;
    ts::platform::WebInstanceLock lock;
    if (!lock.acquire()) {
        // Two tabs would be two writers of one file: bring the other one
        // forward and wait, writing nothing, until it has gone.
        lock.activateRunningCopy();
        lock.waitForTurn(ts::text::kOpenInAnotherTab);
    }
    // Read only once the party is this tab's, so that it is the latest.
    ts::app::Startup startup;
    startup.settingsPath = ts::openBrowserStore(ts::text::kSettingsFileName);
    // A browser tab has no end of its own: every change is saved as it is
    // made, and the settings file reaches the user only through the menu.
    startup.behaviour = {.autosave = true,
                         .mainWindowCloses = false,
                         .settingsFileInMenu = true,
                         .shareLinks = false,
                         .viewOnly = false};
    return ts::app::runApplication(windows, lock, std::move(startup));
}
