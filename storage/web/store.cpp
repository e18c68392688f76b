// The browser's side of the store: the bytes go to IndexedDB (web_store.js)
// and come back from it, with no file in between.
#include "storage/web/store.h"

#include <cstddef>
#include <string>

#include <emscripten.h>

#include "storage/text.h"

namespace ts {

namespace {

// clang-format off
// The stored file's size, its bytes kept for js_store_take; -2 when there is
// no such file, -1 without a store or when it could not be read.
EM_ASYNC_JS(int, js_store_load, (const char* name), {
    return await TSStore.load(UTF8ToString(name));
});
EM_JS(void, js_store_take, (char* to), {
    TSStore.take(to);
});
EM_ASYNC_JS(int, js_store_put, (const char* name, const char* bytes, int size), {
    return (await TSStore.put(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size))) ? 1 : 0;
});
// clang-format on

constexpr int kNoFile = -2;
// IndexedDB takes larger values, but no settings file comes near this.
constexpr std::size_t kMaxStoredBytes = std::size_t{1} << 30;

class BrowserStore final : public Store {
public:
    explicit BrowserStore(std::u16string_view fileName) : name_(toUtf8(fileName)) {}
    std::u16string where() const override { return fromUtf8(name_); }

protected:
    Reading readBytes(std::string& bytes) override {
        bytes.clear();
        const int size = js_store_load(name_.c_str());
        if (size == kNoFile) {
            return Reading::Missing;
        }
        if (size < 0) {
            return Reading::Unreadable;
        }
        bytes.resize(static_cast<std::size_t>(size));
        js_store_take(bytes.data());
        return Reading::Read;
    }
    bool writeBytes(std::string_view bytes) override { return put(name_, bytes); }
    bool keepCopy(std::string_view bytes) override { return put(name_ + ".bak", bytes); }

private:
    static bool put(const std::string& name, std::string_view bytes) {
        return bytes.size() <= kMaxStoredBytes &&
               js_store_put(name.c_str(), bytes.data(), static_cast<int>(bytes.size())) != 0;
    }

    std::string name_;
};

}  // namespace

std::unique_ptr<Store> openBrowserStore(std::u16string_view fileName) {
    return std::make_unique<BrowserStore>(fileName);
}

}  // namespace ts
