#pragma once

#include <string_view>

namespace ts::platform {

// The program icon (resource 102) as the page shows it: the address of a
// picture the site carries, drawn at build time at three times the icon's
// 2rem. A raster picture is decoded away from the page's thread; a
// scalable one would be a document of its own, made on that thread while
// the program's code waits for it.
std::u16string_view programIconUrl();

}  // namespace ts::platform
