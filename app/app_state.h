#pragma once

#include <memory>
#include <string>

#include "app/behaviour.h"
#include "model/evening.h"
#include "platform/site.h"
#include "platform/window_system.h"
#include "storage/store.h"
#include "ui/column_table.h"

namespace ts::app {

// Which calculation the user last asked for: the one a round keeps.
using Calculation = ts::Calculation;

// What the main window and its dialogs share, one of each per process.
struct AppState {
    // The evening while the window is open: its rounds, each with the
    // calculation the user last asked for in it (once asked for, every
    // change of the round runs it again, so that the figures shown always
    // belong to the data shown), and the round the screens act on.
    std::unique_ptr<Evening> evening;
    platform::ListView* list = nullptr;  // the group list of the main window
    int rememberedRow = 0;               // selected row before the command; -1 for none
    ui::ColumnTable columns;             // the list's visible columns
    std::unique_ptr<Store> store;        // where ts.cfg is read and written; null: nowhere
    Behaviour behaviour;                 // what the entry point asked for
    platform::Site* site = nullptr;      // links and the file picker; null but on a site
    // How the first round is calculated from the start when the settings
    // file does not say: a shared party is shown as its sender had it.
    Calculation calculation = Calculation::None;
    std::u16string userFolder;  // the user's own data folder (rescued copies)
    // The evening was saved (or rescued) because the session ends; from
    // then on nothing can change it.
    bool savedAtSessionEnd = false;
    // An autosave failed and the user has been notified; the next failures
    // stay quiet until a save works again.
    bool saveFailureNotified = false;
};

}  // namespace ts::app
