#include "platform/web/web_link.h"

#include <emscripten.h>

#include "platform/web/web_text.h"
#include "storage/link_fragment.h"
#include "storage/text.h"

namespace ts::platform::web {

namespace {

// clang-format off
EM_ASYNC_JS(int, js_deflate, (const char* bytes, int size, char* out, int capacity), {
    var compressed = await TSWeb.deflate(HEAPU8.slice(bytes, bytes + size));
    if (compressed === null || compressed.length > capacity) {
        return -1;
    }
    HEAPU8.set(compressed, out);
    return compressed.length;
});
EM_ASYNC_JS(int, js_inflate, (const char* bytes, int size, char* out, int capacity), {
    var inflated = await TSWeb.inflate(HEAPU8.slice(bytes, bytes + size), capacity);
    if (inflated === null) {
        return -1;
    }
    HEAPU8.set(inflated, out);
    return inflated.length;
});
EM_JS(int, js_page_address, (char16_t* out, int capacity), {
    // A page opened from a file has no address another device could open.
    if (location.protocol !== 'https:' && location.protocol !== 'http:') {
        return 0;
    }
    return TSWeb.copyOut(location.origin + location.pathname, out, capacity);
});
EM_JS(int, js_page_fragment, (char* out, int capacity), {
    return TSWeb.pageFragment(out, capacity);
});
EM_JS(void, js_forget_fragment, (), {
    TSWeb.forgetFragment();
});
EM_ASYNC_JS(void, js_show_link, (const char16_t* link, int length), {
    await TSWeb.showLink(TSWeb.text(link, length));
});
// clang-format on

// Room for an address: more than any site's origin and path.
constexpr int kMaxAddress = 4096;

}  // namespace

std::u16string linkWithData(std::string_view data, char format) {
    if (data.size() > kMaxLinkData) {
        return {};
    }
    // Deflate adds a few bytes to data it cannot compress.
    std::string compressed(data.size() + data.size() / 8 + 64, '\0');
    const int size = js_deflate(data.data(), static_cast<int>(data.size()), compressed.data(),
                                static_cast<int>(compressed.size()));
    if (size < 0) {
        return {};
    }
    compressed.resize(static_cast<std::size_t>(size));
    const std::string fragment = linkFragment(compressed, format);
    if (fragment.empty()) {
        return {};
    }
    std::u16string link(kMaxAddress, u'\0');
    link.resize(static_cast<std::size_t>(js_page_address(link.data(), kMaxAddress)));
    if (link.empty() || link.size() == kMaxAddress) {
        return {};
    }
    link += u'#';
    link += fromUtf8(fragment);
    return link;
}

void showLinkDialog(std::u16string_view link) {
    // Its texts and the densest code it draws come with the page script
    // (web_constants.cpp).
    const JsText address = toJs(link);
    js_show_link(address.data, address.length);
}

std::string pageFragment() {
    std::string fragment(kMaxLinkFragment + 1, '\0');
    const int size = js_page_fragment(fragment.data(), static_cast<int>(fragment.size()));
    fragment.resize(static_cast<std::size_t>(std::max(size, 0)));
    return fragment;
}

bool inflateLinkData(std::string_view data, std::size_t limit, std::string& out) {
    std::string inflated(limit, '\0');
    const int size = js_inflate(data.data(), static_cast<int>(data.size()), inflated.data(),
                                static_cast<int>(inflated.size()));
    if (size < 0) {
        return false;
    }
    inflated.resize(static_cast<std::size_t>(size));
    out = std::move(inflated);
    return true;
}

void forgetPageFragment() {
    js_forget_fragment();
}

}  // namespace ts::platform::web
