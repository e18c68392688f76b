#pragma once

#include <memory>
#include <string>

#include "app/behaviour.h"
#include "model/evening.h"
#include "model/party.h"
#include "platform/window_system.h"
#include "storage/store.h"
#include "ui/column_table.h"

namespace ts::app {

// Which calculation the user last asked for: the one a round keeps.
using Calculation = ts::Calculation;

// What the main window and its dialogs share, one of each per process.
struct AppState {
    std::unique_ptr<Party> party;        // the one party while the window is open
    platform::ListView* list = nullptr;  // the group list of the main window
    int rememberedRow = 0;               // selected row before the command; -1 for none
    ui::ColumnTable columns;             // the list's visible columns
    std::unique_ptr<Store> store;        // where ts.cfg is read and written; null: nowhere
    Behaviour behaviour;                 // what the entry point asked for
    // Once the user has asked for a calculation, every change of the party
    // runs it again, so that the figures shown always belong to the data
    // shown. Not stored: every start begins without.
    Calculation calculation = Calculation::None;
    // Whether the shares, balances and remainder are results of the party
    // as it stands (false before the first calculation and when the last
    // one could not run).
    bool resultsCurrent = false;
    std::u16string userFolder;  // the user's own data folder (rescued copies)
    // The party was saved (or rescued) because the session ends; from then
    // on nothing can change it.
    bool savedAtSessionEnd = false;
    // An autosave failed and the user has been notified; the next failures
    // stay quiet until a save works again.
    bool saveFailureNotified = false;
};

}  // namespace ts::app
