#include "app/application.h"

#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/rescue.h"
#include "resources/dialog_template.h"
#include "resources/texts.h"

namespace ts::app {

namespace {

// Rescued copies that the last run had to make are named once, at the next
// start. A notice that a quit request closed was not read: it comes again.
void notifyOfRescuedCopies(platform::WindowSystem& windows, std::u16string_view userFolder) {
    const std::vector<std::u16string> paths = unnotifiedRescues(userFolder);
    if (paths.empty()) {
        return;
    }
    std::u16string notice(text::kRescuedNotice);
    for (const std::u16string& path : paths) {
        notice += u'\n';
        notice += path;
    }
    notice += u'\n';
    notice += text::kRescuedHint;
    windows.messageBox(notice, text::kRescuedCaption,
                       {platform::MessageButtons::Ok, platform::MessageIcon::Information});
    if (!windows.quitRequested()) {
        markRescuesNotified(userFolder);
    }
}

}  // namespace

int runApplication(platform::WindowSystem& windows, platform::InstanceLock& lock, Startup startup) {
    // A viewer of a shared party writes nothing, so it needs no lock and may
    // run beside the copy that holds one.
    if (!startup.behaviour.viewOnly && !lock.acquire()) {
        // Another copy runs: bring it forward and leave without a window.
        lock.activateRunningCopy();
        return 0;
    }
    notifyOfRescuedCopies(windows, startup.userFolder);
    if (windows.quitRequested()) {
        // Asked to quit before the main window opened: nothing was loaded,
        // so nothing is saved, and the program ends as after a close.
        return 1;
    }
    AppState state;
    state.store = std::move(startup.store);
    state.userFolder = std::move(startup.userFolder);
    state.behaviour = startup.behaviour;
    state.calculation = startup.calculation;
    state.site = startup.site;
    MainWindow mainWindow(state);
    return windows.runModal(res::kMainDialog, mainWindow.procedure());
}

}  // namespace ts::app
