// The program in a browser tab: one tab holds the party (a later one waits
// for it), the settings file lives in the browser's IndexedDB, and the main
// window runs for as long as the tab.
#include <emscripten.h>

#include "app/application.h"
#include "platform/web/web_instance_lock.h"
#include "platform/web/web_window_system.h"
#include "resources/texts.h"

namespace {

// Where the settings file lives: a folder that IndexedDB keeps.
constexpr char16_t kSettingsPath[] = u"/data/ts.cfg";

// clang-format off
// Mounts the folder and copies what IndexedDB holds into it. Without
// IndexedDB (some private modes) the folder stays empty and every save says
// that it failed.
EM_ASYNC_JS(void, openBrowserStorage, (), {
    FS.mkdir('/data');
    FS.mount(IDBFS, {}, '/data');
    await new Promise(function (resolve) { FS.syncfs(true, function () { resolve(); }); });
    // Asked once a start; the browser decides without asking the user, and
    // answers yes for an installed app.
    if (navigator.storage && navigator.storage.persisted) {
        navigator.storage.persisted().then(function (persisted) {
            if (!persisted && navigator.storage.persist) {
                navigator.storage.persist();
            }
        });
    }
});
// clang-format on

}  // namespace

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
    openBrowserStorage();
    // A browser tab has no end of its own: every change is saved as it is
    // made, and the settings file reaches the user only through the menu.
    const ts::app::Behaviour behaviour{
        .autosave = true, .mainWindowCloses = false, .settingsFileInMenu = true};
    return ts::app::runApplication(windows, lock, kSettingsPath, {}, behaviour);
}
