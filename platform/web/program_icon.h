#pragma once

#include <string_view>

namespace ts::platform {

// The program icon (resource 102) as the page shows it: the address of the
// scalable drawing, resources/tally-share.svg, which the site carries.
std::u16string_view programIconUrl();

}  // namespace ts::platform
