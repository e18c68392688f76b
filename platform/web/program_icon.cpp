#include "platform/web/program_icon.h"

namespace ts::platform {

std::u16string_view programIconUrl() {
    return u"icons/tally-share.svg";
}

}  // namespace ts::platform
