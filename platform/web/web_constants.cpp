// Prints the numbers the page's JavaScript shares with the program, taken
// from the program's own headers, as the first part of the page script:
// the event kinds of the message loops, the control kinds and style bits of
// the templates, the ids the page itself acts on and the message boxes'
// button sets; the names of the browser's storage and of the lock
// (TSNames); and the texts the page shows of its own (TSText), from the
// program's texts. Run at build time (under node) so that the two sides
// cannot drift apart; "json" prints the names for index.html and the
// browser tests (the site's names.json), "css" the list's tones as style.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/instance_lock.h"
#include "platform/web/web_link.h"
#include "platform/web/web_window_system.h"
#include "platform/window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/tables.h"
#include "resources/texts.h"
#include "storage/web/store.h"

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

// A text as a CSS string: printable ASCII as it is, every other character
// as an escape of its code point.
void cssString(std::u16string_view value) {
    std::putchar('"');
    for (std::size_t i = 0; i < value.size(); ++i) {
        char32_t code = value[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < value.size() && value[i + 1] >= 0xDC00 &&
            value[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (value[i + 1] - 0xDC00);
            ++i;
        }
        if (code >= 0x20 && code < 0x7F && code != U'"' && code != U'\\') {
            std::putchar(static_cast<int>(code));
        } else {
            std::printf("\\%06X", static_cast<unsigned>(code));
        }
    }
    std::putchar('"');
}

// The list's tones as the style sheet shows them: each one's colour in the
// light and the dark scheme, and the words a phone's card shows beside it.
void printToneStyle() {
    std::puts("/* Made at build time by platform/web/web_constants.cpp; do not edit. */");
    for (const ts::res::ToneSpec& tone : ts::res::kTones) {
        const std::string id(tone.id);
        if (!tone.light.empty()) {
            std::printf(".ts-list td[data-tone=\"%s\"]{color:%s}\n", id.c_str(),
                        std::string(tone.light).c_str());
        }
        if (!tone.words.empty()) {
            std::printf(".ts-list td[data-tone=\"%s\"]{--ts-tone-words:", id.c_str());
            cssString(tone.words);
            std::puts("}");
        }
    }
    std::puts("@media (prefers-color-scheme: dark) {");
    for (const ts::res::ToneSpec& tone : ts::res::kTones) {
        if (!tone.dark.empty()) {
            std::printf(".ts-list td[data-tone=\"%s\"]{color:%s}\n", std::string(tone.id).c_str(),
                        std::string(tone.dark).c_str());
        }
    }
    std::puts("}");
}

// A list of names as a frozen array of JavaScript strings (plain ASCII).
template <typename Table, typename Name>
void namesConstant(const char* name, const Table& table, Name nameOf) {
    std::printf("  %s: Object.freeze([", name);
    const char* separator = "";
    for (const auto& row : table) {
        std::printf("%s'%s'", separator, std::string(nameOf(row)).c_str());
        separator = ", ";
    }
    std::puts("]),");
}

// The names the program, the page's scripts, index.html and the browser
// tests share: the storage's and the lock's.
struct SharedName {
    const char* constant;  // in TSNames
    const char* key;       // in names.json
    std::u16string value;  // ASCII
};

std::u16string wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

std::vector<SharedName> sharedNames() {
    return {
        {"DATABASE", "database", wide(ts::kBrowserDatabase)},
        {"FILES", "files", wide(ts::kBrowserFileStore)},
        {"SETTINGS", "settings", std::u16string(ts::text::kSettingsFileName)},
        {"LOCK", "lock", std::u16string(ts::platform::kInstanceName)},
        {"EARLIER_DATABASE", "earlierDatabase", wide(ts::kEarlierDatabase)},
        {"EARLIER_FILES", "earlierFiles", wide(ts::kEarlierFileStore)},
    };
}

// The names as JSON, for the build (index.html) and the browser tests.
void printNamesJson(const std::vector<SharedName>& names) {
    std::puts("{");
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::printf("  \"%s\": \"", names[i].key);
        for (const char16_t unit : names[i].value) {
            std::putchar(static_cast<int>(unit));  // ASCII, no quote or backslash
        }
        std::puts(i + 1 < names.size() ? "\"," : "\"");
    }
    std::puts("}");
}

// The commands a list's rows offer on their own, by the role of the column
// whose cells they stand beside (web_list_view.js).
void printRowCommands() {
    std::puts("  ROW_COMMANDS: Object.freeze({");
    for (const ts::res::PlanColumnSpec& column : ts::res::kPlanColumns) {
        if (column.rowCommand != 0) {
            std::printf("    '%s': %d,\n", std::string(column.role).c_str(), column.rowCommand);
        }
    }
    std::puts("  }),");
}

}  // namespace

// What the build asked for, printed; the exit status.
int print(std::string_view mode) {
    const std::vector<SharedName> names = sharedNames();
    // With "css", the style the page's tables give the style sheet; with
    // "json", the shared names.
    if (mode == "css") {
        printToneStyle();
        return 0;
    }
    if (mode == "json") {
        printNamesJson(names);
        return 0;
    }
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
    // The list's tones by their numbers (web_list_view.js); a row whose
    // command cell is settled offers its command no more.
    namesConstant("TONES", ts::res::kTones, [](const ts::res::ToneSpec& t) { return t.id; });
    constant("TONE_SETTLED", ts::res::Tone::Settled);
    printRowCommands();
    std::puts("});");
    std::puts("var TSNames = Object.freeze({");
    for (const SharedName& name : names) {
        textConstant(name.constant, name.value);
    }
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

int main(int argc, char** argv) {
    try {
        return print(argc > 1 ? std::string_view(argv[1]) : std::string_view());
    } catch (...) {
        // Out of memory: the build stops at a status other than 0 (where
        // exceptions are not caught, as emscripten builds by default, the
        // throw itself ends the program so).
        std::fputs("web_constants: out of memory\n", stderr);
        return 1;
    }
}
