#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/win32_list_view.h"
#include "platform/window_system.h"
#include "resources/dialog_template.h"

namespace ts::platform {

class Win32WindowSystem;

// The in-memory DLGTEMPLATEEX of a template: font, caption, styles and every
// control with its window class, in template order. `topLevel` is the main
// window, which can be minimised and has a task-bar button.
std::vector<WORD> buildDialogTemplate(const res::DialogTemplate& layout, bool topLevel);

// One running dialog: a native dialog box made from its template, whose
// messages reach the procedure as Message values.
class Win32Dialog final : public Dialog {
public:
    Win32Dialog(Win32WindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
                Win32Dialog* owner);
    Win32Dialog(const Win32Dialog&) = delete;
    Win32Dialog& operator=(const Win32Dialog&) = delete;
    ~Win32Dialog() = default;

    // Runs the dialog modally; returns the result it ended with, or -1 when
    // it could not be made.
    int run();
    HWND handle() const { return window_; }
    bool ended() const { return ended_; }
    void dispatch(const Message& message);

    std::u16string itemText(int id) const override;
    void setItemText(int id, std::u16string_view text) override;
    void limitText(int id, int units) override;
    void endDialog(int result) override;
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;
    int popupMenu(int id, std::span<const MenuEntry> entries) override;
    bool setClipboardText(std::u16string_view text) override;
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension) override;
    bool quitRequested() const override;
    int runModal(int templateId, DialogProc proc) override;
    int upDownPosition(int id) const override;
    void setUpDownPosition(int id, int position) override;
    void insertComboEntry(int id, int position, std::u16string_view text) override;
    ListView* listView(int id) override;
    int screenWidth() const override;
    int screenHeight() const override;
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    void centreOnOwner();
    // The names screen readers speak, from the template.
    void nameForScreenReaders(const res::ControlTemplate& control, HWND child,
                              std::u16string_view text);
    void forgetNames();
    void commandFrom(WPARAM wParam);
    void editChanged(HWND edit);
    HWND item(int id) const;
    res::ControlKind kindOf(HWND control) const;

    Win32WindowSystem& system_;
    const res::DialogTemplate& layout_;
    DialogProc proc_;
    Win32Dialog* owner_;
    HWND window_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    std::map<int, std::unique_ptr<Win32ListView>> lists_;
    std::vector<HWND> limitedEdits_;
    bool fixingEdit_ = false;
    bool menuByMouse_ = false;
    POINT menuAnchor_{0, 0};           // where the last context menu was asked for (screen)
    RECT templateClient_{0, 0, 0, 0};  // the client area the template needs
};

}  // namespace ts::platform
