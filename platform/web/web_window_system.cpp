#include "platform/web/web_window_system.h"

#include <cstdlib>
#include <new>

#include <emscripten.h>

#include "platform/web/web_dialog.h"
#include "platform/web/web_message_box.h"
#include "platform/web/web_text.h"
#include "resources/dialog_template.h"
#include "resources/texts.h"
#include "storage/settings_file.h"

namespace ts::platform {

namespace {

// clang-format off
EM_ASYNC_JS(int, js_copy_text, (const char16_t* text, int length), {
    return await TSWeb.copyText(TSWeb.text(text, length));
});
EM_ASYNC_JS(int, js_share_text, (const char16_t* text, int length), {
    return await TSWeb.shareText(TSWeb.text(text, length));
});
EM_JS(int, js_download, (const char16_t* name, int nameLength, const char16_t* type,
                         int typeLength, const char* bytes, int size), {
    var copy;
    try {
        copy = HEAPU8.slice(bytes, bytes + size);
    } catch (e) {
        return 0;
    }
    return TSWeb.download(TSWeb.text(name, nameLength), TSWeb.text(type, typeLength), copy);
});
// The box is shown and not waited for: the program ends at once and the
// page keeps the box. So no allocation, which may end up here, ever waits
// for the page, and the program's code need not be made ready to (see
// never_waits.txt).
EM_JS(void, js_show_last_box, (const char16_t* text, int textLength, const char16_t* caption,
                               int captionLength, int icon), {
    TSWeb.messageBox(TSWeb.text(text, textLength), TSWeb.text(caption, captionLength),
                     TSConst.BUTTONS_OK, icon);
});
// The picker's file is kept by the page until the program has room for it:
// its size, or -1 when the user chose none.
EM_ASYNC_JS(double, js_pick_file, (const char16_t* accept, int acceptLength, double limit), {
    TSWeb.picked = await TSWeb.pickFile(TSWeb.text(accept, acceptLength), limit);
    return TSWeb.picked ? TSWeb.picked.length : -1;
});
EM_JS(void, js_take_picked_file, (char* bytes), {
    HEAPU8.set(TSWeb.picked, bytes);
    TSWeb.picked = null;
});
// clang-format on

}  // namespace

WebWindowSystem::WebWindowSystem() {
    std::set_new_handler(&WebWindowSystem::exitOutOfMemory);
}

int WebWindowSystem::runModal(int templateId, DialogProc proc) {
    return runDialog(templateId, std::move(proc));
}

int WebWindowSystem::runDialog(int templateId, DialogProc proc) {
    const res::DialogTemplate* layout = res::findDialogTemplate(templateId);
    if (layout == nullptr) {
        return -1;
    }
    // The first window without owner is the page's main window; every
    // later one is a modal dialog above it.
    const bool isMain = !mainRunning_;
    mainRunning_ = true;
    int result = 0;
    {
        WebDialog dialog(*this, *layout, std::move(proc), isMain);
        if (dialog.open()) {
            dialog.runLoop();
        }
        result = dialog.result();
    }
    if (isMain) {
        mainRunning_ = false;
    }
    return result;
}

MessageAnswer WebWindowSystem::messageBox(std::u16string_view text, std::u16string_view caption,
                                          MessageStyle style) {
    return runMessageBox(text, caption, style);
}

void WebWindowSystem::exitOutOfMemory() {
    std::set_new_handler(nullptr);
    const JsText text = toJs(text::kOutOfMemory);
    const JsText caption = toJs(text::kAppName);
    js_show_last_box(text.data, text.length, caption.data, caption.length,
                     static_cast<int>(MessageIcon::Warning));
    std::_Exit(1);
}

bool WebWindowSystem::copyText(std::u16string_view text) {
    const JsText value = toJs(text);
    return js_copy_text(value.data, value.length) != 0;
}

bool WebWindowSystem::share(std::u16string_view text) {
    const JsText value = toJs(text);
    return js_share_text(value.data, value.length) != 0;
}

bool WebWindowSystem::download(std::u16string_view name, std::u16string_view mediaType,
                               std::string_view bytes) {
    if (bytes.size() > (1u << 30)) {
        return false;
    }
    const JsText file = toJs(name);
    const JsText type = toJs(mediaType);
    return js_download(file.data, file.length, type.data, type.length, bytes.data(),
                       static_cast<int>(bytes.size())) != 0;
}

std::optional<std::string> WebWindowSystem::pickFile(std::u16string_view extension) {
    std::u16string accept = u".";
    accept.append(extension);
    const JsText filter = toJs(accept);
    // One byte more than a settings file may hold, so that a larger one is
    // seen as such without copying all of it.
    const double limit = static_cast<double>(kMaxSettingsFileBytes) + 1;
    const double size = js_pick_file(filter.data, filter.length, limit);
    if (!(size >= 0 && size <= limit)) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    js_take_picked_file(bytes.data());
    return bytes;
}

}  // namespace ts::platform
