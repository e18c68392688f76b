#pragma once

#include <string>
#include <string_view>

// A browser tab's storage: its files live in memory (emscripten's file
// system) and IndexedDB keeps those of the data folder between visits.
namespace ts {

inline constexpr std::u16string_view kBrowserDataFolder = u"/data";

// Opens the browser's store, moves over what an earlier version of the site
// kept in its own database, and puts the stored settings file `fileName`
// into the data folder, where it is read like a file on any other system.
// Returns its path there. Without a usable store (no IndexedDB, as in some
// private modes, or a stored file that cannot be read) the folder stays
// empty and every later save fails, so that a party that could not be read
// is never overwritten.
std::u16string openBrowserStore(std::u16string_view fileName);

}  // namespace ts
