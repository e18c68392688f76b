#include "platform/qt/program_icon.h"

#include "resources/tally-share.xpm"

namespace ts::platform {

QPixmap programIcon() {
    return QPixmap(tally_share_xpm);
}

}  // namespace ts::platform
