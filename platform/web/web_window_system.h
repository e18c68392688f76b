#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace ts::platform {

// What the page tells a window's message loop; the page sends each as
// kind * kWebEventKindUnit + id. web_constants.cpp hands the numbers to the
// page.
inline constexpr int kWebEventKindUnit = 65536;
enum class WebEvent {
    Command = 1,       // a button, Enter (1) or Escape (2)
    StepUp = 2,        // an up-down control's up arrow
    StepDown = 3,      // its down arrow
    ContextMenu = 4,   // the list's menu: its button, a long press, the right
                       // button, the Menu key or Shift+F10
    Copy = 5,          // Ctrl+C outside an edit field
    Help = 6,          // F1
    FieldChanged = 7,  // the user changed a field's text (typing, a paste)
};

// The window system in a browser tab: every template becomes real HTML
// controls, the main window the page itself and the others modal
// <dialog>s, each run by a message loop of its own in the program (the
// loop waits for the page's next event without leaving the procedure that
// opened the window).
class WebWindowSystem final : public WindowSystem {
public:
    // This build catches no exceptions, so storage that runs out cannot
    // reach the dialogs as std::bad_alloc: the program ends where the
    // allocation fails, through exitOutOfMemory.
    WebWindowSystem();

    int runModal(int templateId, DialogProc proc) override;
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;

    // Used by the dialogs it runs.
    int runDialog(int templateId, DialogProc proc);

    // The page's side of the clipboard, the share sheet, downloads and the
    // file picker.
    static bool copyText(std::u16string_view text);
    static bool share(std::u16string_view text);
    static bool download(std::u16string_view name, std::u16string_view mediaType,
                         std::string_view bytes);
    static std::optional<std::string> pickFile(std::u16string_view extension);

    // Says that storage ran out and ends the program with status 1, as the
    // desktops do.
    [[noreturn]] static void exitOutOfMemory();

private:
    bool mainRunning_ = false;
};

}  // namespace ts::platform
