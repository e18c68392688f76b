// Prints the main window as the page first shows it, before the program has
// loaded: the same elements the program builds from template 101 (its icon,
// caption and commands in the title bar, buttons, list and totals line),
// inert, so that the first paint needs nothing but index.html. The program
// takes these elements over as its own window (web_dialog.js). Run at build
// time (under node in the web build); its output goes into index.html.
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/list_rows.h"
#include "platform/web/program_icon.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/tables.h"
#include "resources/texts.h"
#include "storage/text.h"

namespace {

using ts::res::ControlKind;

std::string escaped(std::u16string_view text) {
    std::string out;
    for (const char c : ts::toUtf8(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string commandButton(int command, std::u16string_view text) {
    return "<button type=\"button\" class=\"ts-button ts-command\" data-command=\"" +
           std::to_string(command) + "\">" + escaped(text) + "</button>";
}

std::string columnHeads() {
    std::string heads;
    bool first = true;
    for (const ts::res::ColumnSpec& column : ts::res::kColumns) {
        const std::string role(ts::groupField(column.field).id);
        heads += "<th scope=\"col\" role=\"columnheader\" class=\"ts-col-" + role +
                 (first ? "" : " ts-right") + "\">" + escaped(column.title) + "</th>";
        first = false;
    }
    return heads;
}

// One control, as the page's window builder makes it; values stay empty
// until the program has read the party.
std::string control(const ts::res::ControlTemplate& c, int index) {
    // Its place in the window's layout, as web_controls.js gives it.
    const std::string area = !c.place.empty()         ? std::string(c.place)
                             : c.id != ts::res::kNoId ? "c" + std::to_string(c.id)
                                                      : std::string();
    const std::string place = area.empty() ? std::string() : " style=\"grid-area:" + area + "\"";
    const std::string id =
        " data-control-id=\"" + std::to_string(c.id) + "\"" +
        (c.id == ts::res::kNoId ? " data-index=\"" + std::to_string(index) + "\"" : std::string());
    const std::string name = escaped(c.accessibleName);
    switch (c.kind) {
        case ControlKind::PushButton:
            return "<button type=\"button\" class=\"ts-button\"" + id + place + ">" +
                   escaped(c.text) + "</button>";
        case ControlKind::Static:
            if (!c.accessibleName.empty()) {
                return "<output class=\"ts-static\" aria-label=\"" + name + "\"" + id + place +
                       "></output>";
            }
            return "<span class=\"ts-static\"" + id + place + ">" + escaped(c.text) + "</span>";
        case ControlKind::ListView:
            return "<div class=\"ts-listbox\"" + id + place +
                   "><table class=\"ts-list\" role=\"grid\" aria-readonly=\"true\" aria-label=\"" +
                   name + "\"><thead role=\"rowgroup\"><tr role=\"row\">" + columnHeads() +
                   "</tr></thead><tbody role=\"rowgroup\"></tbody></table></div>";
        case ControlKind::Icon:
            return "<button type=\"button\" class=\"ts-icon\" aria-label=\"" + name + "\"" + id +
                   place + "><img src=\"" + escaped(ts::platform::programIconUrl()) +
                   "\" alt=\"\"></button>";
        case ControlKind::GroupBox:
            return "<div class=\"ts-frame\" aria-hidden=\"true\"" + id + "></div>";
        case ControlKind::Edit:
        case ControlKind::UpDown:
        case ControlKind::ComboBox:
            // None in the main window but the round selector, hidden until
            // there is a second round and made by the program then.
            break;
    }
    return {};
}

}  // namespace

int main() {
    const ts::res::DialogTemplate* layout = ts::res::findDialogTemplate(ts::res::kMainDialog);
    if (layout == nullptr) {
        return 1;
    }
    std::string html = "<main class=\"ts-window\" id=\"ts-skeleton\" data-template-id=\"" +
                       std::to_string(layout->id) +
                       "\" aria-labelledby=\"ts-skeleton-caption\" aria-busy=\"true\" inert>";
    // The window's icon stands at the start of its title bar.
    html += "<header class=\"ts-titlebar\">";
    int index = 0;
    for (const ts::res::ControlTemplate& c : layout->controls) {
        if (c.kind == ControlKind::Icon) {
            html += control(c, index);
        }
        ++index;
    }
    html += "<h1 class=\"ts-caption\" id=\"ts-skeleton-caption\">" + escaped(layout->caption) +
            "</h1><div class=\"ts-tools\">";
    html += commandButton(ts::id::main::kShareLink, ts::text::kShareButton);
    html += commandButton(ts::id::main::kSendChat, ts::text::kSendButton);
    html += "<button type=\"button\" class=\"ts-button ts-menu-button\">" +
            escaped(ts::text::kMenuButton) + "</button>";
    html += "</div></header><div class=\"ts-body\">";
    index = 0;
    for (const ts::res::ControlTemplate& c : layout->controls) {
        if (c.kind != ControlKind::Icon) {
            html += control(c, index);
        }
        ++index;
    }
    html += "</div></main>";
    // One line: the runtime hands standard output on at each line's end.
    return std::puts(html.c_str()) >= 0 ? 0 : 1;
}
