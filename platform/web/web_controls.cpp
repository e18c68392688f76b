#include "platform/web/web_controls.h"

#include <emscripten.h>

#include "platform/web/program_icon.h"
#include "platform/web/web_text.h"

namespace ts::platform::web {

namespace {

// clang-format off
EM_JS(void, js_add_control, (int handle, int index, int id, int kind, unsigned style,
                             const char16_t* text, int textLength, const char16_t* name,
                             int nameLength, const char* place, int placeLength), {
    TSWeb.addControl(handle, index, id, kind, style, TSWeb.text(text, textLength),
                     TSWeb.text(name, nameLength), UTF8ToString(place, placeLength));
});
EM_JS(int, js_control_text_length, (int handle, int index), {
    return TSWeb.controlText(handle, index).length;
});
EM_JS(int, js_control_text, (int handle, int index, char16_t* buffer, int capacity), {
    return TSWeb.copyOut(TSWeb.controlText(handle, index), buffer, capacity);
});
EM_JS(void, js_set_control_text, (int handle, int index, const char16_t* text, int length), {
    TSWeb.setControlText(handle, index, TSWeb.text(text, length));
});
EM_JS(void, js_set_spoken_name, (int handle, int index, const char16_t* name, int length), {
    TSWeb.setSpokenName(handle, index, TSWeb.text(name, length));
});
EM_JS(void, js_limit_field, (int handle, int index, int units), {
    TSWeb.limitField(handle, index, units);
});
EM_JS(int, js_field_caret, (int handle, int index), {
    return TSWeb.fieldCaret(handle, index);
});
EM_JS(void, js_set_field_text, (int handle, int index, const char16_t* text, int length,
                                int caret), {
    TSWeb.setFieldText(handle, index, TSWeb.text(text, length), caret);
});
EM_JS(void, js_insert_choice, (int handle, int index, int position, const char16_t* text,
                               int length), {
    TSWeb.insertChoice(handle, index, position, TSWeb.text(text, length));
});
EM_JS(void, js_clear_choices, (int handle, int index), {
    TSWeb.clearChoices(handle, index);
});
EM_JS(int, js_choice_at, (int handle, int index), {
    return TSWeb.choiceAt(handle, index);
});
EM_JS(void, js_select_choice, (int handle, int index, int position), {
    TSWeb.selectChoice(handle, index, position);
});
EM_JS(int, js_choice_count, (int handle, int index), {
    return TSWeb.choiceCount(handle, index);
});
// clang-format on

int at(std::size_t index) {
    return static_cast<int>(index);
}

}  // namespace

void addControls(int handle, const res::DialogTemplate& layout) {
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const res::ControlTemplate& control = layout.controls[i];
        // An icon's text is the address of its picture.
        const JsText text =
            toJs(control.kind == res::ControlKind::Icon ? programIconUrl() : control.text);
        const std::u16string spoken = res::spokenName(control, control.text);
        const JsText name = toJs(spoken);
        js_add_control(handle, at(i), control.id, static_cast<int>(control.kind), control.style,
                       text.data, text.length, name.data, name.length, control.place.data(),
                       static_cast<int>(control.place.size()));
    }
}

std::u16string controlText(int handle, std::size_t index) {
    std::u16string text(
        static_cast<std::size_t>(std::max(js_control_text_length(handle, at(index)), 0)), u'\0');
    const int copied =
        js_control_text(handle, at(index), text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, static_cast<int>(text.size()))));
    return text;
}

void setControlText(int handle, std::size_t index, std::u16string_view text) {
    const JsText value = toJs(text);
    js_set_control_text(handle, at(index), value.data, value.length);
}

void setSpokenName(int handle, std::size_t index, std::u16string_view name) {
    const JsText value = toJs(name);
    js_set_spoken_name(handle, at(index), value.data, value.length);
}

void limitField(int handle, std::size_t index, int units) {
    js_limit_field(handle, at(index), units);
}

std::size_t fieldCaret(int handle, std::size_t index) {
    return static_cast<std::size_t>(std::max(js_field_caret(handle, at(index)), 0));
}

void setFieldText(int handle, std::size_t index, std::u16string_view text, std::size_t caret) {
    const JsText value = toJs(text);
    js_set_field_text(handle, at(index), value.data, value.length,
                      static_cast<int>(std::min<std::size_t>(caret, text.size())));
}

void insertChoice(int handle, std::size_t index, int position, std::u16string_view text) {
    const JsText entry = toJs(text);
    js_insert_choice(handle, at(index), position, entry.data, entry.length);
}

void clearChoices(int handle, std::size_t index) {
    js_clear_choices(handle, at(index));
}

int choiceAt(int handle, std::size_t index) {
    return js_choice_at(handle, at(index));
}

void selectChoice(int handle, std::size_t index, int position) {
    js_select_choice(handle, at(index), position);
}

int choiceCount(int handle, std::size_t index) {
    return std::max(js_choice_count(handle, at(index)), 0);
}

}  // namespace ts::platform::web
