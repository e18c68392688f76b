#pragma once

#include <string>

#include "app/behaviour.h"
#include "platform/instance_lock.h"
#include "platform/window_system.h"

namespace ts::app {

// The program from start to end: gives way to a running copy (0), or runs
// the main window and returns its result (1). `userFolder` is the user's own
// data folder, where a party that could not be saved at a quit request is
// rescued to; empty when there is none.
int runApplication(platform::WindowSystem& windows, platform::InstanceLock& lock,
                   std::u16string settingsPath, std::u16string userFolder = {},
                   Behaviour behaviour = {});

}  // namespace ts::app
