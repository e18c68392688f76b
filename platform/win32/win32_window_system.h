#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/modal_stack.h"
#include "platform/window_system.h"

namespace ts::platform {

class Win32Dialog;

// The window system on Win32: every template becomes a native modal dialog
// box, run by DialogBoxIndirectParamW, and the procedures see it through
// Dialog. The first dialog without owner registers the common controls.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem() = default;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // Registers the common control classes the templates use.
    static bool initialiseControls();

    int runModal(int templateId, DialogProc proc) override;
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;

    // Shows the message box "out of memory" and ends the process with
    // status 1. Procedures that run out of memory end here.
    [[noreturn]] void exitOutOfMemory();

    // Closes the open modal windows from the innermost outward: a message
    // box is answered as dismissed, a menu or the file chooser closes, a
    // dialog gets Command 2; when that dialog has ended, the next one out
    // is closed, up to the main window. The session's end and a close
    // request from another program end here.
    void requestQuit();
    // True from the first quit request on.
    bool quitRequested() const override { return modals_.quitEverRequested(); }
    // While the session ends: works through the quit until the main window
    // has closed, or until a modal loop further down must return first.
    void finishQuit();
    // When the quit could not close the outermost dialog before the session
    // ends (another dialog or a box is open above it): tells it SessionEnd,
    // so that it keeps what must not be lost now.
    void tellSessionEnd();

    // Used by the dialogs it runs.
    int runDialog(int templateId, DialogProc proc, Win32Dialog* owner);
    void dialogOpened(Win32Dialog& dialog);
    bool isInnermost(const Win32Dialog* dialog) const;
    MessageAnswer showMessageBox(std::u16string_view text, std::u16string_view caption,
                                 MessageStyle style, Win32Dialog* owner);
    int trackMenu(HMENU menu, POINT at, HWND owner);
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension, Win32Dialog* owner);
    void continueQuit();

private:
    enum class ModalKind { Dialog, Box, Menu, FileChooser };
    struct ModalWindow {
        ModalKind kind;
        Win32Dialog* dialog;  // the dialog, or the owner of the box or chooser
        int dismissCommand = IDCANCEL;
    };

    // Closes one window for the quit (ModalStack keeps the order).
    void closeForQuit(ModalWindow& window);
    void modalEnded();
    HWND findOwnedDialogBox(HWND owner) const;

    ModalStack<ModalWindow> modals_{[this](ModalWindow& window) { closeForQuit(window); }};
    bool controlsReady_ = false;
};

}  // namespace ts::platform
