#pragma once

#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/behaviour.h"
#include "platform/instance_lock.h"
#include "platform/site.h"
#include "platform/window_system.h"
#include "storage/store.h"

namespace ts::app {

// What an entry point starts the program with.
struct Startup {
    std::unique_ptr<Store> store;  // where the party is read from (and saved to)
    // The user's own data folder, where a party that could not be saved at
    // a quit request is rescued to; empty when there is none.
    std::u16string userFolder;
    Behaviour behaviour;
    // How the party's figures are to be calculated from the start: none for
    // the user's own party; a shared party is shown as its sender had it.
    Calculation calculation = Calculation::None;
    // Where the program is a site (the browser): its links and file picker.
    platform::Site* site = nullptr;
};

// The program from start to end: gives way to a running copy (0), or runs
// the main window and returns its result (1 after a close, or
// kTakeSharedParty).
int runApplication(platform::WindowSystem& windows, platform::InstanceLock& lock, Startup startup);

}  // namespace ts::app
