#include "platform/web/web_message_box.h"

#include <array>

#include <emscripten.h>

#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

// clang-format off
EM_ASYNC_JS(int, js_message_box, (const char16_t* text, int textLength,
                                   const char16_t* caption, int captionLength, int buttons,
                                   int icon), {
    return await TSWeb.messageBox(TSWeb.text(text, textLength),
                                  TSWeb.text(caption, captionLength), buttons, icon);
});
EM_JS(void, js_menu_add, (int command, const char16_t* text, int length), {
    TSWeb.menuAdd(command, TSWeb.text(text, length));
});
EM_ASYNC_JS(int, js_menu_run, (const char16_t* label, int length), {
    return await TSWeb.menuRun(TSWeb.text(label, length));
});
// clang-format on

}  // namespace

MessageAnswer runMessageBox(std::u16string_view text, std::u16string_view caption,
                            MessageStyle style) {
    // The buttons of each style, in the order the page shows them.
    using A = MessageAnswer;
    std::array<MessageAnswer, 2> answers{A::Ok, A::Ok};
    switch (style.buttons) {
        case MessageButtons::Ok:
            break;
        case MessageButtons::OkCancel:
            answers = {A::Ok, A::Cancel};
            break;
        case MessageButtons::RetryCancel:
            answers = {A::Retry, A::Cancel};
            break;
        case MessageButtons::YesNo:
            answers = {A::Yes, A::No};
            break;
    }
    const JsText body = toJs(text);
    const JsText title = toJs(caption);
    const int pressed =
        js_message_box(body.data, body.length, title.data, title.length,
                       static_cast<int>(style.buttons), static_cast<int>(style.icon));
    if (pressed < 0 || pressed >= static_cast<int>(answers.size())) {
        return dismissedAnswer(style);
    }
    return answers[static_cast<std::size_t>(pressed)];
}

int runMenu(std::u16string_view label, std::span<const MenuEntry> entries) {
    if (entries.empty()) {
        return 0;
    }
    for (const MenuEntry& entry : entries) {
        const JsText text = toJs(entry.text);
        js_menu_add(entry.command, text.data, text.length);
    }
    const JsText name = toJs(label);
    const int chosen = js_menu_run(name.data, name.length);
    for (const MenuEntry& entry : entries) {
        if (entry.command == chosen) {
            return chosen;
        }
    }
    return 0;
}

}  // namespace ts::platform
