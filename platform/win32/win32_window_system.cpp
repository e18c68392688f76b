#include "platform/win32/win32_window_system.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_dialog.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_text.h"
#include "resources/dialog_template.h"
#include "resources/texts.h"

namespace ts::platform {

namespace {

// The longest path the save-file dialog may return, in UTF-16 units.
constexpr std::size_t kPathCapacity = 32768;
// How long the end of the session may take to close the windows.
constexpr DWORD kSessionEndWaitMs = 5000;
constexpr DWORD kPumpSliceMs = 50;

struct BoxSearch {
    HWND owner;
    const std::vector<HWND>* ours;
    HWND found;
};

BOOL CALLBACK findBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BoxSearch*>(data);
    wchar_t className[16] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (std::wstring_view(className) != L"#32770" || GetWindow(window, GW_OWNER) != search->owner ||
        std::find(search->ours->begin(), search->ours->end(), window) != search->ours->end()) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

std::u16string documentsFolder() {
    PWSTR path = nullptr;
    std::u16string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)) && path != nullptr) {
        folder = fromWide(path);
    }
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

bool Win32WindowSystem::initialiseControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    return InitCommonControlsEx(&controls) != FALSE;
}

int Win32WindowSystem::runModal(int templateId, DialogProc proc) {
    if (!controlsReady_) {
        // The list view and the arrows are common controls: their classes
        // exist once registered.
        initialiseControls();
        controlsReady_ = true;
    }
    return runDialog(templateId, std::move(proc), nullptr);
}

MessageAnswer Win32WindowSystem::messageBox(std::u16string_view text, std::u16string_view caption,
                                            MessageStyle style) {
    return showMessageBox(text, caption, style, nullptr);
}

void Win32WindowSystem::exitOutOfMemory() {
    // The box needs no storage of the program's own.
    MessageBoxW(nullptr, L"out of memory", L"TALLY-SHARE",
                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TASKMODAL);
    ExitProcess(1);
}

int Win32WindowSystem::runDialog(int templateId, DialogProc proc, Win32Dialog* owner) {
    const res::DialogTemplate* layout = res::findDialogTemplate(templateId);
    if (layout == nullptr) {
        return -1;
    }
    Win32Dialog dialog(*this, *layout, std::move(proc), owner);
    modals_.push(ModalWindow{ModalKind::Dialog, &dialog});
    const int result = dialog.run();
    modals_.pop();
    modalEnded();
    return result;
}

void Win32WindowSystem::dialogOpened(Win32Dialog& dialog) {
    if (modals_.quitPending()) {
        // A quit asked for before this dialog was shown reaches it once its
        // loop runs.
        PostMessageW(dialog.handle(), kContinueQuitMessage, 0, 0);
    }
}

bool Win32WindowSystem::isInnermost(const Win32Dialog* dialog) const {
    if (modals_.empty()) {
        return false;
    }
    const ModalWindow& innermost = modals_.modals().back().window;
    return innermost.kind == ModalKind::Dialog && innermost.dialog == dialog;
}

MessageAnswer Win32WindowSystem::showMessageBox(std::u16string_view text,
                                                std::u16string_view caption, MessageStyle style,
                                                Win32Dialog* owner) {
    if (modals_.quitPending()) {
        // Nothing may wait for the user any more.
        return dismissedAnswer(style);
    }
    modals_.push(ModalWindow{ModalKind::Box, owner, dismissCommand(style)});
    const MessageAnswer answer = platform::showMessageBox(
        owner != nullptr ? owner->handle() : nullptr, text, caption, style);
    const bool quitAnswered = modals_.pop();
    modalEnded();
    return quitAnswered ? dismissedAnswer(style) : answer;
}

int Win32WindowSystem::trackMenu(HMENU menu, POINT at, HWND owner) {
    if (modals_.quitPending()) {
        return 0;
    }
    modals_.push(ModalWindow{ModalKind::Menu, nullptr});
    // The menu closes when the user clicks elsewhere only if its owner is
    // the foreground window.
    SetForegroundWindow(owner);
    const auto chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    const bool quitAnswered = modals_.pop();
    modalEnded();
    return quitAnswered ? 0 : chosen;
}

std::u16string Win32WindowSystem::askSavePath(std::u16string_view suggestedName,
                                              std::u16string_view typeName,
                                              std::u16string_view extension, Win32Dialog* owner) {
    if (modals_.quitPending()) {
        return {};
    }
    std::wstring filter = toWide(typeName);
    filter += L" (*.";
    filter += toWide(extension);
    filter += L")";
    filter.push_back(L'\0');
    filter += L"*.";
    filter += toWide(extension);
    filter.push_back(L'\0');  // the string's own terminator ends the list
    std::wstring file(kPathCapacity, L'\0');
    const std::size_t nameLength = std::min(suggestedName.size(), kPathCapacity - 1);
    std::copy_n(suggestedName.begin(), nameLength, file.begin());
    const std::wstring folder = toWide(documentsFolder());
    const std::wstring defaultExtension = toWide(extension);

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner != nullptr ? owner->handle() : nullptr;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrDefExt = defaultExtension.c_str();
    request.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;

    modals_.push(ModalWindow{ModalKind::FileChooser, owner, IDCANCEL});
    const bool accepted = GetSaveFileNameW(&request) != FALSE;
    const bool quitAnswered = modals_.pop();
    modalEnded();
    if (!accepted || quitAnswered) {
        return {};
    }
    return fromWide(std::wstring_view(file.c_str()));
}

HWND Win32WindowSystem::findOwnedDialogBox(HWND owner) const {
    std::vector<HWND> ours;
    for (const auto& modal : modals_.modals()) {
        if (modal.window.kind == ModalKind::Dialog && modal.window.dialog != nullptr) {
            ours.push_back(modal.window.dialog->handle());
        }
    }
    BoxSearch search{owner, &ours, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Win32WindowSystem::requestQuit() {
    modals_.requestQuit();
}

void Win32WindowSystem::continueQuit() {
    modals_.closeNext();
}

void Win32WindowSystem::closeForQuit(ModalWindow& window) {
    switch (window.kind) {
        case ModalKind::Dialog:
            window.dialog->dispatch(Message{Message::Kind::Command, 2});
            break;
        case ModalKind::Menu:
            EndMenu();
            break;
        case ModalKind::Box:
        case ModalKind::FileChooser: {
            const HWND owner = window.dialog != nullptr ? window.dialog->handle() : nullptr;
            if (const HWND box = findOwnedDialogBox(owner)) {
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(window.dismissCommand, BN_CLICKED), 0);
            } else if (owner != nullptr) {
                // Not on the screen yet: try again from its loop.
                modals_.innermost().quitAsked = false;
                PostMessageW(owner, kContinueQuitMessage, 0, 0);
            }
            break;
        }
    }
}

void Win32WindowSystem::modalEnded() {
    if (!modals_.quitContinues()) {
        return;
    }
    // The next window out is closed once control is back in its loop.
    const auto& modals = modals_.modals();
    for (auto it = modals.rbegin(); it != modals.rend(); ++it) {
        if (it->window.dialog != nullptr && it->window.dialog->handle() != nullptr) {
            PostMessageW(it->window.dialog->handle(), kContinueQuitMessage, 0, 0);
            return;
        }
    }
}

void Win32WindowSystem::tellSessionEnd() {
    if (modals_.empty()) {
        return;
    }
    const ModalWindow& outermost = modals_.modals().front().window;
    if (outermost.kind == ModalKind::Dialog && outermost.dialog != nullptr &&
        !outermost.dialog->ended()) {
        outermost.dialog->dispatch(Message{Message::Kind::SessionEnd, 0});
    }
}

void Win32WindowSystem::finishQuit() {
    const DWORD start = GetTickCount();
    while (modals_.quitPending() && !modals_.empty() &&
           GetTickCount() - start < kSessionEndWaitMs) {
        const auto& innermost = modals_.modals().back();
        if (innermost.quitAsked &&
            (innermost.window.kind != ModalKind::Dialog || innermost.window.dialog->ended())) {
            // Its loop lies further down the stack: only returning lets the
            // quit go on.
            return;
        }
        MSG message{};
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
        }
    }
}

}  // namespace ts::platform
