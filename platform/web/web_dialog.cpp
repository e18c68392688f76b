#include "platform/web/web_dialog.h"

#include <algorithm>

#include <emscripten.h>

#include "platform/web/web_message_box.h"
#include "platform/web/web_text.h"
#include "platform/web/web_window_system.h"

namespace ts::platform {

namespace {

// clang-format off
EM_JS(int, jsOpenWindow, (int templateId, const char16_t* caption, int length, int isMain), {
    return TSWeb.openWindow(templateId, caption, length, isMain);
});
EM_JS(void, jsShowWindow, (int handle, int firstStop), {
    TSWeb.showWindow(handle, firstStop);
});
EM_JS(void, jsCloseWindow, (int handle), {
    TSWeb.closeWindow(handle);
});
EM_ASYNC_JS(int, jsNextEvent, (int handle), {
    return await TSWeb.nextEvent(handle);
});
EM_JS(int, jsItemText, (int handle, int index, char16_t* buffer, int capacity), {
    return TSWeb.itemText(handle, index, buffer, capacity);
});
EM_JS(void, jsSetItemText, (int handle, int index, const char16_t* text, int length), {
    TSWeb.setItemText(handle, index, text, length);
});
EM_JS(void, jsLimitText, (int handle, int index, int units), {
    TSWeb.limitText(handle, index, units);
});
EM_JS(void, jsInsertComboEntry, (int handle, int index, int position, const char16_t* text,
                                 int length), {
    TSWeb.insertComboEntry(handle, index, position, text, length);
});
EM_JS(void, jsAddCommandButton, (int handle, int id, const char16_t* text, int length), {
    TSWeb.addCommandButton(handle, id, text, length);
});
EM_JS(int, jsScreenWidth, (), { return window.innerWidth | 0; });
EM_JS(int, jsScreenHeight, (), { return window.innerHeight | 0; });
// clang-format on

bool isTextControl(res::ControlKind kind) {
    switch (kind) {
        case res::ControlKind::PushButton:
        case res::ControlKind::Edit:
        case res::ControlKind::Static:
        case res::ControlKind::ComboBox:
            return true;
        case res::ControlKind::GroupBox:
        case res::ControlKind::ListView:
        case res::ControlKind::Icon:
        case res::ControlKind::UpDown:
            break;
    }
    return false;
}

}  // namespace

WebDialog::WebDialog(WebWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
                     bool isMain)
    : system_(system), layout_(layout), proc_(std::move(proc)), isMain_(isMain) {}

WebDialog::~WebDialog() {
    if (handle_ >= 0) {
        jsCloseWindow(handle_);
    }
}

bool WebDialog::open() {
    const JsText caption = toJs(layout_.caption);
    handle_ = jsOpenWindow(layout_.id, caption.data, caption.length, isMain_ ? 1 : 0);
    controls_ = buildControls(handle_, layout_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].id != res::kNoId) {
            byId_.emplace(controls_[i].id, static_cast<int>(i));  // the first control wins
        }
    }
    dispatch(Message{Message::Kind::InitDialog, 0});
    return !ended_;
}

void WebDialog::runLoop() {
    int firstStop = -1;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if ((controls_[i].style & res::kTabStop) != 0) {
            firstStop = static_cast<int>(i);
            break;
        }
    }
    jsShowWindow(handle_, firstStop);
    while (!ended_) {
        const int event = jsNextEvent(handle_);
        const int id = event & 0xFFFF;
        switch (static_cast<WebEvent>(event >> 16)) {
            case WebEvent::Command:
                dispatch(Message{Message::Kind::Command, id});
                break;
            case WebEvent::StepUp:
                step(id, -1);
                break;
            case WebEvent::StepDown:
                step(id, +1);
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
        }
    }
}

void WebDialog::step(int id, int delta) {
    const int index = indexOf(id);
    if (index < 0 || controls_[static_cast<std::size_t>(index)].kind != res::ControlKind::UpDown) {
        return;
    }
    WebControl& control = controls_[static_cast<std::size_t>(index)];
    control.position = clampUpDownPosition(control.position + delta);
    dispatch(Message{Message::Kind::VScroll, id});
}

void WebDialog::dispatch(const Message& message) {
    // After endDialog the procedure hears nothing more.
    if (!ended_ && proc_) {
        proc_(*this, message);
    }
}

int WebDialog::indexOf(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? -1 : found->second;
}

std::u16string WebDialog::itemText(int id) const {
    const int index = indexOf(id);
    if (index < 0 || !isTextControl(controls_[static_cast<std::size_t>(index)].kind)) {
        return {};
    }
    return readJsText([&](char16_t* buffer, int capacity) {
        return jsItemText(handle_, index, buffer, capacity);
    });
}

void WebDialog::setItemText(int id, std::u16string_view text) {
    const int index = indexOf(id);
    if (index < 0 || !isTextControl(controls_[static_cast<std::size_t>(index)].kind)) {
        return;
    }
    const JsText value = toJs(text);
    jsSetItemText(handle_, index, value.data, value.length);
}

void WebDialog::limitText(int id, int units) {
    const int index = indexOf(id);
    if (index >= 0 && controls_[static_cast<std::size_t>(index)].kind == res::ControlKind::Edit) {
        jsLimitText(handle_, index, std::max(units, 0));
    }
}

void WebDialog::endDialog(int result) {
    if (!ended_) {
        ended_ = true;
        result_ = result;
    }
}

MessageAnswer WebDialog::messageBox(std::u16string_view text, std::u16string_view caption,
                                    MessageStyle style) {
    return runMessageBox(text, caption, style);
}

int WebDialog::popupMenu(int id, std::span<const MenuEntry> entries) {
    const int index = indexOf(id);
    if (index < 0) {
        return 0;
    }
    return runMenu(layout_.controls[static_cast<std::size_t>(index)].accessibleName, entries);
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

std::u16string WebDialog::pickFile(std::u16string_view extension) {
    return WebWindowSystem::pickFile(extension);
}

bool WebDialog::shareText(std::u16string_view text) {
    return WebWindowSystem::share(text);
}

void WebDialog::addCommandButton(int id, std::u16string_view text) {
    const JsText label = toJs(text);
    jsAddCommandButton(handle_, id, label.data, label.length);
}

int WebDialog::runModal(int templateId, DialogProc proc) {
    return system_.runDialog(templateId, std::move(proc));
}

int WebDialog::upDownPosition(int id) const {
    const int index = indexOf(id);
    if (index < 0 || controls_[static_cast<std::size_t>(index)].kind != res::ControlKind::UpDown) {
        return 0;
    }
    return controls_[static_cast<std::size_t>(index)].position;
}

void WebDialog::setUpDownPosition(int id, int position) {
    const int index = indexOf(id);
    if (index >= 0 && controls_[static_cast<std::size_t>(index)].kind == res::ControlKind::UpDown) {
        controls_[static_cast<std::size_t>(index)].position = clampUpDownPosition(position);
    }
}

void WebDialog::insertComboEntry(int id, int position, std::u16string_view text) {
    const int index = indexOf(id);
    if (index >= 0 &&
        controls_[static_cast<std::size_t>(index)].kind == res::ControlKind::ComboBox) {
        const JsText entry = toJs(text);
        jsInsertComboEntry(handle_, index, position, entry.data, entry.length);
    }
}

ListView* WebDialog::listView(int id) {
    const int index = indexOf(id);
    if (index < 0 ||
        controls_[static_cast<std::size_t>(index)].kind != res::ControlKind::ListView) {
        return nullptr;
    }
    auto& list = lists_[index];
    if (!list) {
        list = std::make_unique<WebListView>(handle_, index);
    }
    return list.get();
}

int WebDialog::screenWidth() const {
    return jsScreenWidth();
}

int WebDialog::screenHeight() const {
    return jsScreenHeight();
}

void WebDialog::placeWindow(int /*x*/, int /*y*/, int /*width*/, int /*height*/) {}

}  // namespace ts::platform
