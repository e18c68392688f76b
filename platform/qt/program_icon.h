#pragma once

#include <QPixmap>

namespace ts::platform {

// The program icon (resource 102), 32x32, from resources/tally-share.xpm.
QPixmap programIcon();

}  // namespace ts::platform
