// Prints the numbers the page's JavaScript shares with the program, taken
// from the program's own headers, as the first part of the page script:
// the event kinds of the message loops, the control kinds and style bits of
// the templates, the ids the page itself acts on and the message boxes'
// button sets; and the texts the page shows of its own (TSText), from the
// program's texts. Run at build time (under node) so that the two sides
// cannot drift apart.
#include <cstdio>

#include "platform/web/web_link.h"
#include "platform/web/web_window_system.h"
#include "platform/window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"

namespace {

template <typename Value>
void constant(const char* name, Value value) {
    std::printf("  %s: %ld,\n", name, static_cast<long>(value));
}

// A text as a JavaScript string literal: printable ASCII as it is, every
// other unit as \uXXXX, so the page script stays plain ASCII.
void textConstant(const char* name, std::u16string_view value) {
    std::printf("  %s: '", name);
    for (const char16_t unit : value) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'\'' && unit != u'\\') {
            std::putchar(static_cast<int>(unit));
        } else {
            std::printf("\\u%04X", static_cast<unsigned>(unit));
        }
    }
    std::puts("',");
}

}  // namespace

int main() {
    using ts::platform::MessageButtons;
    using ts::platform::WebEvent;
    using ts::res::ControlKind;
    std::puts("// Made at build time by platform/web/web_constants.cpp; do not edit.");
    std::puts("var TSConst = Object.freeze({");
    constant("EVENT_KIND_UNIT", ts::platform::kWebEventKindUnit);
    constant("EVENT_COMMAND", WebEvent::Command);
    constant("EVENT_STEP_UP", WebEvent::StepUp);
    constant("EVENT_STEP_DOWN", WebEvent::StepDown);
    constant("EVENT_CONTEXT_MENU", WebEvent::ContextMenu);
    constant("EVENT_COPY", WebEvent::Copy);
    constant("EVENT_HELP", WebEvent::Help);
    constant("EVENT_FIELD_CHANGED", WebEvent::FieldChanged);
    constant("KIND_BUTTON", ControlKind::PushButton);
    constant("KIND_EDIT", ControlKind::Edit);
    constant("KIND_STATIC", ControlKind::Static);
    constant("KIND_GROUP_BOX", ControlKind::GroupBox);
    constant("KIND_LIST", ControlKind::ListView);
    constant("KIND_ICON", ControlKind::Icon);
    constant("KIND_UPDOWN", ControlKind::UpDown);
    constant("KIND_COMBO", ControlKind::ComboBox);
    constant("STYLE_TAB_STOP", ts::res::kTabStop);
    constant("STYLE_DEFAULT", ts::res::kDefaultButton);
    constant("STYLE_RIGHT", ts::res::kAlignRight);
    constant("STYLE_CENTRE", ts::res::kAlignCenter);
    constant("STYLE_REPORTS_CLICKS", ts::res::kReportsClicks);
    constant("STYLE_NUMERIC", ts::res::kNumeric);
    constant("STYLE_LIST_ONLY", ts::res::kListOnly);
    constant("ID_NONE", ts::res::kNoId);
    constant("ID_OK", ts::id::kOk);
    constant("ID_CANCEL", ts::id::kCancel);
    constant("ID_GROUP_LIST", ts::id::main::kGroupList);
    constant("BUTTONS_OK", MessageButtons::Ok);
    constant("BUTTONS_OK_CANCEL", MessageButtons::OkCancel);
    constant("BUTTONS_RETRY_CANCEL", MessageButtons::RetryCancel);
    constant("BUTTONS_YES_NO", MessageButtons::YesNo);
    constant("ICON_NONE", ts::platform::MessageIcon::None);
    constant("ICON_WARNING", ts::platform::MessageIcon::Warning);
    constant("ICON_INFORMATION", ts::platform::MessageIcon::Information);
    constant("ICON_QUESTION", ts::platform::MessageIcon::Question);
    // The link dialog (web_link.js).
    constant("MAX_QR_VERSION", ts::platform::web::kMaxQrVersion);
    std::puts("});");
    std::puts("var TSText = Object.freeze({");
    textConstant("MENU", ts::text::kMenuButton);
    textConstant("MENU_OF", ts::text::kMenuOf);
    textConstant("ARROW_UP", ts::text::kArrowUp);
    textConstant("ARROW_DOWN", ts::text::kArrowDown);
    textConstant("CLOSE", ts::text::kCloseButton);
    textConstant("CHOICES", ts::text::kChoicesButton);
    textConstant("OK", ts::text::kOkButton);
    textConstant("CANCEL", ts::text::kCancelButton);
    textConstant("RETRY", ts::text::kRetryButton);
    textConstant("YES", ts::text::kYesButton);
    textConstant("NO", ts::text::kNoButton);
    textConstant("ICON_WARNING", ts::text::kWarningIconName);
    textConstant("ICON_INFORMATION", ts::text::kInformationIconName);
    textConstant("ICON_QUESTION", ts::text::kQuestionIconName);
    // The list's words for a tone (web_list_view.js).
    textConstant("NOTHING_TO_SETTLE", ts::text::kNothingToSettle);
    // The link dialog (web_link.js).
    textConstant("LINK_CAPTION", ts::text::kShareLinkCaption);
    textConstant("LINK_HINT", ts::text::kShareLinkHint);
    textConstant("LINK_TOO_DENSE", ts::text::kShareLinkTooDense);
    textConstant("QR_UNAVAILABLE", ts::text::kQrCodeUnavailable);
    textConstant("QR_CODE", ts::text::kShareButton);
    textConstant("COPY_LINK", ts::text::kCopyLinkButton);
    textConstant("LINK_COPIED", ts::text::kLinkCopied);
    textConstant("COPY_FAILED", ts::text::kCopyFailed);
    std::puts("});");
    return 0;
}
