#include "platform/web/web_dialog.h"

#include <emscripten.h>

#include "platform/web/web_controls.h"
#include "platform/web/web_link.h"
#include "platform/web/web_message_box.h"
#include "platform/web/web_text.h"
#include "platform/web/web_window_system.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(int, js_open_window, (int templateId, const char16_t* caption, int length, int isMain), {
    return TSWeb.openWindow(templateId, TSWeb.text(caption, length), isMain);
});
EM_JS(void, js_show_window, (int handle, int firstStop), {
    TSWeb.showWindow(handle, firstStop);
});
EM_JS(void, js_close_window, (int handle), {
    TSWeb.closeWindow(handle);
});
EM_ASYNC_JS(int, js_next_event, (int handle), {
    return await TSWeb.nextEvent(handle);
});
EM_JS(void, js_add_command_button, (int handle, int id, const char16_t* text, int length), {
    TSWeb.addCommandButton(handle, id, TSWeb.text(text, length));
});
EM_JS(void, js_show_notice, (int handle, const char16_t* text, int length), {
    TSWeb.showNotice(handle, TSWeb.text(text, length));
});
EM_JS(void, js_show_control, (int handle, int index, int shown), {
    TSWeb.showControl(handle, index, shown !== 0);
});
EM_JS(void, js_describe_control, (int handle, int index, const char16_t* text, int length), {
    TSWeb.describeControl(handle, index, TSWeb.text(text, length));
});
// The screen's size, as the desktops give theirs. The page's own size
// (innerWidth) would lay the page out in the middle of the window's making.
EM_JS(int, js_screen_width, (), { return screen.width | 0; });
EM_JS(int, js_screen_height, (), { return screen.height | 0; });
// clang-format on

}  // namespace

WebDialog::WebDialog(WebWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
                     bool isMain)
    : DialogCore(layout, std::move(proc)),
      system_(system),
      isMain_(isMain),
      positions_(layout.controls.size(), 0) {}

WebDialog::~WebDialog() {
    if (handle_ >= 0) {
        js_close_window(handle_);
    }
}

bool WebDialog::open() {
    const JsText caption = toJs(layout().caption);
    handle_ = js_open_window(layout().id, caption.data, caption.length, isMain_ ? 1 : 0);
    web::addControls(handle_, layout());
    dispatch(Message{Message::Kind::InitDialog, 0});
    return !ended();
}

void WebDialog::runLoop() {
    int firstStop = -1;
    for (std::size_t i = 0; i < layout().controls.size(); ++i) {
        if ((control(i).style & res::kTabStop) != 0) {
            firstStop = static_cast<int>(i);
            break;
        }
    }
    flushLists();
    js_show_window(handle_, firstStop);
    while (!ended()) {
        flushLists();
        const int event = js_next_event(handle_);
        const int id = event % kWebEventKindUnit;
        switch (static_cast<WebEvent>(event / kWebEventKindUnit)) {
            case WebEvent::Command:
                dispatch(Message{Message::Kind::Command, id});
                break;
            case WebEvent::StepUp:
                stepUpDown(id, -1);
                break;
            case WebEvent::StepDown:
                stepUpDown(id, +1);
                break;
            case WebEvent::ContextMenu:
                dispatch(Message{Message::Kind::ContextMenu, id});
                break;
            case WebEvent::Copy:
                dispatch(Message{Message::Kind::Copy, 0});
                break;
            case WebEvent::Help:
                dispatch(Message{Message::Kind::Help, 0});
                break;
            case WebEvent::FieldChanged:
                repairField(id);
                break;
        }
    }
}

bool WebDialog::quitRequested() const {
    return false;
}

void WebDialog::invalidate() {}

int WebDialog::upDownAt(std::size_t index) const {
    return positions_[index];
}

void WebDialog::setUpDownAt(std::size_t index, int position) {
    positions_[index] = position;
}

std::u16string WebDialog::controlText(std::size_t index) const {
    return web::controlText(handle_, index);
}

void WebDialog::setControlText(std::size_t index, std::u16string_view text) {
    web::setControlText(handle_, index, text);
}

void WebDialog::setSpokenName(std::size_t index, std::u16string_view name) {
    web::setSpokenName(handle_, index, name);
}

int WebDialog::limitField(std::size_t index, int units) {
    web::limitField(handle_, index, units);
    return units;
}

std::size_t WebDialog::fieldCaret(std::size_t index) const {
    return web::fieldCaret(handle_, index);
}

void WebDialog::setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) {
    web::setFieldText(handle_, index, text, caret);
}

void WebDialog::insertChoice(std::size_t index, int position, std::u16string_view text) {
    web::insertChoice(handle_, index, position, text);
}

void WebDialog::clearChoices(std::size_t index) {
    web::clearChoices(handle_, index);
}

int WebDialog::choiceAt(std::size_t index) const {
    return web::choiceAt(handle_, index);
}

void WebDialog::selectChoice(std::size_t index, int position) {
    web::selectChoice(handle_, index, position);
}

int WebDialog::choiceCount(std::size_t index) const {
    return web::choiceCount(handle_, index);
}

ListView* WebDialog::listAt(std::size_t index) {
    auto& list = lists_[index];
    if (!list) {
        list = std::make_unique<WebListView>(handle_, static_cast<int>(index));
    }
    return list.get();
}

void WebDialog::flushLists() {
    for (const auto& [index, list] : lists_) {
        list->flush();
    }
}

int WebDialog::showMenu(std::size_t index, std::span<const MenuEntry> entries) {
    flushLists();
    return runMenu(control(index).accessibleName, entries);
}

void WebDialog::outOfMemory() {
    WebWindowSystem::exitOutOfMemory();
}

MessageAnswer WebDialog::messageBox(std::u16string_view text, std::u16string_view caption,
                                    MessageStyle style) {
    flushLists();
    return runMessageBox(text, caption, style);
}

bool WebDialog::setClipboardText(std::u16string_view text) {
    return WebWindowSystem::copyText(text);
}

std::u16string WebDialog::askSavePath(std::u16string_view /*suggestedName*/,
                                      std::u16string_view /*typeName*/,
                                      std::u16string_view /*extension*/) {
    return {};  // a page saves by download
}

Delivery WebDialog::deliverFile(const FileToDeliver& file, std::string_view bytes) {
    return WebWindowSystem::download(file.name, file.mediaType, bytes) ? Delivery::Delivered
                                                                       : Delivery::Failed;
}

bool WebDialog::shareText(std::u16string_view text) {
    return WebWindowSystem::share(text);
}

void WebDialog::addCommandButton(int id, std::u16string_view text) {
    const JsText label = toJs(text);
    js_add_command_button(handle_, id, label.data, label.length);
}

void WebDialog::showNotice(std::u16string_view text) {
    const JsText line = toJs(text);
    js_show_notice(handle_, line.data, line.length);
}

void WebDialog::describeItem(int id, std::u16string_view text) {
    if (const std::size_t* index = indexOf(id)) {
        const JsText words = toJs(text);
        js_describe_control(handle_, static_cast<int>(*index), words.data, words.length);
    }
}

int WebDialog::runModal(int templateId, DialogProc proc) {
    flushLists();
    return system_.runDialog(templateId, std::move(proc));
}

int WebDialog::screenWidth() const {
    return js_screen_width();
}

int WebDialog::screenHeight() const {
    return js_screen_height();
}

void WebDialog::placeWindow(int /*x*/, int /*y*/, int /*width*/, int /*height*/) {}

void WebDialog::showControl(std::size_t index, bool shown) {
    js_show_control(handle_, static_cast<int>(index), shown ? 1 : 0);
}

}  // namespace ts::platform
