#include "platform/web/web_controls.h"

#include <algorithm>

#include <emscripten.h>

#include "platform/web/program_icon.h"
#include "platform/web/web_text.h"

namespace ts::platform {

namespace {

constexpr int kMinUpDownPosition = -32768;
constexpr int kMaxUpDownPosition = 32767;

// clang-format off
EM_JS(void, jsAddControl, (int handle, int index, int id, int kind, unsigned style,
                           const char16_t* text, int textLength, const char16_t* name,
                           int nameLength), {
    TSWeb.addControl(handle, index, id, kind, style, text, textLength, name, nameLength);
});
// clang-format on

}  // namespace

std::vector<WebControl> buildControls(int handle, const res::DialogTemplate& layout) {
    std::vector<WebControl> controls;
    controls.reserve(layout.controls.size());
    int index = 0;
    for (const res::ControlTemplate& control : layout.controls) {
        // An icon's text is the address of its picture.
        const JsText text =
            toJs(control.kind == res::ControlKind::Icon ? programIconUrl() : control.text);
        const JsText name = toJs(control.accessibleName);
        jsAddControl(handle, index, control.id, static_cast<int>(control.kind), control.style,
                     text.data, text.length, name.data, name.length);
        controls.push_back(WebControl{control.id, control.kind, control.style});
        ++index;
    }
    return controls;
}

int clampUpDownPosition(int position) {
    return std::clamp(position, kMinUpDownPosition, kMaxUpDownPosition);
}

}  // namespace ts::platform
