#pragma once

#include <QIcon>
#include <QPixmap>

namespace ts::platform {

// The program icon (resource 102) at 32x32, as the main window's icon
// control shows it, drawn by drawProgramIcon.
QPixmap programIcon();

// The program icon at the sizes a desktop asks for (16 to 256 pixels), for
// the windows' title bars and task bars.
QIcon programIcons();

}  // namespace ts::platform
