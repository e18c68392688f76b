#pragma once

#include <memory>
#include <string_view>

#include "storage/store.h"

// A browser tab's store: the settings file kept in IndexedDB by the page's
// half, web_store.js, as the bytes the program hands it.
namespace ts {

// The IndexedDB database and object store that keep each file under its
// name; and where earlier versions of the site kept their folder (one
// record a path in emscripten's IDBFS), moved over at the first start. The
// page's scripts, index.html and the browser tests have these names from
// the constants the build prints (platform/web/web_constants.cpp).
inline constexpr std::string_view kBrowserDatabase = "tally-share";
inline constexpr std::string_view kBrowserFileStore = "files";
inline constexpr std::string_view kEarlierDatabase = "/data";
inline constexpr std::string_view kEarlierFileStore = "FILE_DATA";

// Opens the browser's store of the file `fileName` (its copy is kept as
// `fileName`.bak), moving over what an earlier version of the site kept in
// its own database. Without a usable store (no IndexedDB, as in some
// private modes, or a stored file that cannot be read) the store reads as
// unreadable, so that every save fails and a party that could not be read
// is never overwritten.
std::unique_ptr<Store> openBrowserStore(std::u16string_view fileName);

}  // namespace ts
