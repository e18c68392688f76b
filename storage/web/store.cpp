// The browser's side of the storage seam: the files of the data folder are
// handed to IndexedDB (web_store.js) whenever a save puts one in place.
#include "storage/web/store.h"

#include <string>

#include <emscripten.h>

#include "storage/atomic_file.h"
#include "storage/system.h"
#include "storage/text.h"

namespace ts {

namespace {

// Whether the store opened and its files were read; saves fail otherwise.
bool storeUsable = false;

// clang-format off
EM_ASYNC_JS(int, js_store_load, (const char* name, const char* path), {
    return await TSStore.load(UTF8ToString(name), UTF8ToString(path));
});
EM_ASYNC_JS(int, js_store_put, (const char* name, const char* bytes, int size), {
    return (await TSStore.put(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size))) ? 1 : 0;
});
// clang-format on

// The name a file of the data folder is stored under; empty for a path
// outside the folder (the store keeps only that folder).
std::u16string storedName(std::u16string_view path) {
    if (path.size() <= kBrowserDataFolder.size() + 1 || !path.starts_with(kBrowserDataFolder) ||
        path[kBrowserDataFolder.size()] != u'/') {
        return {};
    }
    const std::u16string_view name = path.substr(kBrowserDataFolder.size() + 1);
    return name.find(u'/') == std::u16string_view::npos ? std::u16string(name) : std::u16string();
}

}  // namespace

std::u16string openBrowserStore(std::u16string_view fileName) {
    std::u16string path(kBrowserDataFolder);
    sys::makePrivateFolder(path);
    path += u'/';
    path += fileName;
    storeUsable = js_store_load(toUtf8(fileName).c_str(), toUtf8(path).c_str()) >= 0;
    return path;
}

namespace sys {

bool persist(std::u16string_view path) {
    const std::u16string name = storedName(path);
    if (name.empty()) {
        return true;  // a file outside the data folder lives for the tab only
    }
    std::string bytes;
    if (!storeUsable || !detail::readWholeFile(path, bytes) || bytes.size() > (1u << 30)) {
        return false;
    }
    return js_store_put(toUtf8(name).c_str(), bytes.data(), static_cast<int>(bytes.size())) != 0;
}

}  // namespace sys

}  // namespace ts
