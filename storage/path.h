#pragma once

#include <string>
#include <string_view>

namespace ts {

// The path of a file called `fileName` in the folder of the running
// executable; empty when the executable's path cannot be had or the result
// would not fit the platform's path limit.
std::u16string pathBesideExecutable(std::u16string_view fileName);

// The same rule applied to a given executable path (separator '/').
std::u16string pathBeside(std::u16string_view executablePath, std::u16string_view fileName);

}  // namespace ts
