#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/dialog_core.h"
#include "platform/win32/win32_list_view.h"
#include "resources/dialog_template.h"

namespace ts::platform {

class Win32WindowSystem;

// The in-memory DLGTEMPLATEEX of a template: font, caption, styles and every
// control with its window class, in template order. `topLevel` is the main
// window, which can be minimised and has a task-bar button.
std::vector<WORD> buildDialogTemplate(const res::DialogTemplate& layout, bool topLevel);

// One running dialog: a native dialog box made from its template, whose
// messages reach the procedure as Message values.
class Win32Dialog final : public DialogCore {
public:
    Win32Dialog(Win32WindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
                Win32Dialog* owner);

    // Runs the dialog modally; returns the result it ended with, or -1 when
    // it could not be made.
    int run();
    HWND handle() const { return window_; }

    TS_DIALOG_WINDOW_CALLS;

private:
    TS_DIALOG_CORE_SIDE;
    void ending(int result) override;

    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    void centreOnOwner();
    void forgetNames();
    void commandFrom(WPARAM wParam);
    void editChanged(HWND edit);
    // The window of the control at `index` in the template.
    HWND at(std::size_t index) const;
    bool isUpDown(HWND child) const;

    Win32WindowSystem& system_;
    Win32Dialog* owner_;
    HWND window_ = nullptr;
    std::map<int, std::unique_ptr<Win32ListView>> lists_;
    std::vector<HWND> limitedEdits_;
    bool fixingEdit_ = false;
    bool menuByMouse_ = false;
    POINT menuAnchor_{0, 0};           // where the last context menu was asked for (screen)
    RECT templateClient_{0, 0, 0, 0};  // the client area the template needs
};

}  // namespace ts::platform
