#pragma once

#include <windows.h>

namespace ts::platform {

// The program icon (resource 102 of the executable) at the system's large
// or small icon size; null when the executable carries none.
HICON programIcon(bool small);

}  // namespace ts::platform
