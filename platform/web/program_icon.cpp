#include "platform/web/program_icon.h"

namespace ts::platform {

std::u16string_view programIconUrl() {
    return u"icons/icon-96.png";
}

}  // namespace ts::platform
