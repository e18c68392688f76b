#pragma once

#include <string>

#include "platform/instance_lock.h"
#include "platform/window_system.h"

namespace ts::app {

// The program from start to end: gives way to a running copy (0), or runs
// the main window and returns its result (1).
int runApplication(platform::WindowSystem& windows, platform::InstanceLock& lock,
                   std::u16string settingsPath);

}  // namespace ts::app
