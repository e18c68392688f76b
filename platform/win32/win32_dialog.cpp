#include "platform/win32/win32_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "platform/win32/program_icon.h"
#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_system.h"

namespace ts::platform {

namespace {

using res::ControlKind;

// Japanese text: the template's face is a Shift-JIS font.
constexpr BYTE kTemplateCharset = SHIFTJIS_CHARSET;
// The id that labels and frames carry, as a 16-bit control id.
constexpr DWORD kNoIdWord = 0xFFFF;
// Times the clipboard is tried while another program holds it open.
constexpr int kClipboardTries = 5;
constexpr DWORD kClipboardRetryMs = 20;

// Writes the words of a DLGTEMPLATEEX.
class TemplateWriter {
public:
    void word(WORD value) { words_.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void coordinate(int value) { word(static_cast<WORD>(static_cast<short>(value))); }
    void text(std::u16string_view value) {
        for (char16_t unit : value) {
            word(static_cast<WORD>(unit));
        }
        word(0);
    }
    void alignToDword() {
        if (words_.size() % 2 != 0) {
            word(0);
        }
    }
    std::vector<WORD> take() { return std::move(words_); }

private:
    std::vector<WORD> words_;
};

short clampShort(int value) {
    return static_cast<short>(std::clamp(value, -32768, 32767));
}

}  // namespace

std::vector<WORD> buildDialogTemplate(const res::DialogTemplate& layout, bool topLevel) {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    DWORD exStyle = 0;
    if (topLevel) {
        style |= WS_MINIMIZEBOX;
        exStyle |= WS_EX_APPWINDOW;
    }
    TemplateWriter out;
    out.word(1);       // dlgVer
    out.word(0xFFFF);  // signature: the extended template
    out.dword(0);      // helpID
    out.dword(exStyle);
    out.dword(style);
    out.word(static_cast<WORD>(layout.controls.size()));
    out.coordinate(0);
    out.coordinate(0);
    out.coordinate(clampShort(layout.width));
    out.coordinate(clampShort(layout.height));
    out.word(0);  // no menu
    out.word(0);  // the standard dialog class
    out.text(layout.caption);
    out.word(static_cast<WORD>(std::clamp(layout.pointSize, 1, 0xFFFF)));
    out.word(FW_NORMAL);
    out.word(MAKEWORD(FALSE, kTemplateCharset));  // italic, charset
    out.text(layout.fontName);

    for (const res::ControlTemplate& control : layout.controls) {
        const ControlClass kind = controlClassOf(control);
        out.alignToDword();
        out.dword(0);  // helpID
        out.dword(kind.exStyle);
        out.dword(kind.style);
        out.coordinate(clampShort(control.x));
        out.coordinate(clampShort(control.y));
        out.coordinate(clampShort(control.width));
        out.coordinate(clampShort(control.height));
        out.dword(control.id == res::kNoId ? kNoIdWord : static_cast<DWORD>(control.id));
        out.text(std::u16string_view(reinterpret_cast<const char16_t*>(kind.className),
                                     std::char_traits<wchar_t>::length(kind.className)));
        if (control.kind == ControlKind::Icon) {
            out.word(0xFFFF);  // an ordinal: the icon resource
            out.word(static_cast<WORD>(res::kIconResource));
        } else {
            out.text(control.text);
        }
        out.word(0);  // no creation data
    }
    return out.take();
}

Win32Dialog::Win32Dialog(Win32WindowSystem& system, const res::DialogTemplate& layout,
                         DialogProc proc, Win32Dialog* owner)
    : DialogCore(layout, std::move(proc)), system_(system), owner_(owner) {}

int Win32Dialog::run() {
    const std::vector<WORD> words = buildDialogTemplate(layout(), owner_ == nullptr);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
        owner_ != nullptr ? owner_->window_ : nullptr, &Win32Dialog::dialogProc,
        reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    if (result == -1 && !ended()) {
        return -1;
    }
    return this->result();
}

INT_PTR CALLBACK Win32Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Win32Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    return self->handle(message, wParam, lParam);
}

// Answers a message with a result of its own.
static INT_PTR answer(HWND window, LONG_PTR result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR Win32Dialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            // The procedure placed the focus where it wanted it, or nowhere.
            return FALSE;
        case WM_COMMAND:
            commandFrom(wParam);
            if (HIWORD(wParam) == EN_CHANGE) {
                editChanged(reinterpret_cast<HWND>(lParam));
            }
            return TRUE;
        case WM_VSCROLL: {
            const auto arrows = reinterpret_cast<HWND>(lParam);
            if (arrows != nullptr && isUpDown(arrows)) {
                dispatch(Message{Message::Kind::VScroll, GetDlgCtrlID(arrows)});
            }
            return TRUE;
        }
        case WM_CONTEXTMENU: {
            const auto child = reinterpret_cast<HWND>(wParam);
            if (child == nullptr || child == window_ || GetParent(child) != window_) {
                return FALSE;
            }
            // A point of -1, -1 comes from the keyboard (Menu key, Shift+F10).
            menuByMouse_ = lParam != -1;
            menuAnchor_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            dispatch(Message{Message::Kind::ContextMenu, GetDlgCtrlID(child)});
            return TRUE;
        }
        case kCopyMessage:
            dispatch(Message{Message::Kind::Copy, 0});
            return TRUE;
        case kHelpMessage:
        case WM_HELP:
            dispatch(Message{Message::Kind::Help, 0});
            return TRUE;
        case WM_KEYDOWN:
            // The dialog itself has the focus when no control took it.
            if (wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
                dispatch(Message{Message::Kind::Copy, 0});
                return TRUE;
            }
            if (wParam == VK_F1) {
                dispatch(Message{Message::Kind::Help, 0});
                return TRUE;
            }
            return FALSE;
        case kContinueQuitMessage:
            system_.continueQuit();
            return TRUE;
        case DM_GETDEFID:
            // Enter outside a push button is the OK command in every dialog,
            // whichever buttons carry the default style.
            return answer(window_, MAKELONG(IDOK, DC_HASDEFID));
        case WM_CLOSE:
            if (!system_.isInnermost(this)) {
                // Only another program closes a window that is disabled
                // behind a modal one: take it as a request to quit.
                system_.requestQuit();
                return answer(window_, 0);
            }
            return FALSE;  // the dialog manager turns it into command 2
        case WM_DESTROY:
            forgetNames();
            return FALSE;
        case WM_QUERYENDSESSION:
            system_.requestQuit();
            return answer(window_, TRUE);
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                system_.requestQuit();
                system_.finishQuit();
                // Windows may end the process once this is answered.
                system_.tellSessionEnd();
            }
            return answer(window_, 0);
        default:
            return FALSE;
    }
}

void Win32Dialog::initialise() {
    // The dialog manager made the client area the template's size in the
    // dialog's font.
    GetClientRect(window_, &templateClient_);
    if (const HICON big = programIcon(false)) {
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (const HICON small = programIcon(true)) {
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
    for (const res::ControlTemplate& each : layout().controls) {
        const HWND child = each.id == res::kNoId ? nullptr : GetDlgItem(window_, each.id);
        if (child == nullptr) {
            continue;
        }
        switch (each.kind) {
            case ControlKind::ListView:
                lists_.try_emplace(each.id, std::make_unique<Win32ListView>(child));
                routeCopyKey(child);
                break;
            case ControlKind::PushButton:
            case ControlKind::UpDown:
                routeCopyKey(child);
                break;
            default:
                break;
        }
    }
    nameControls();
    // Labels and frames go behind the other controls: a label's rectangle
    // may reach into the value beside it, which must stay readable.
    std::vector<HWND> behind;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<WORD>(GetDlgCtrlID(child)) == kNoIdWord) {
            behind.push_back(child);
        }
    }
    for (HWND child : behind) {
        SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    if (layout().centred) {
        centreOnOwner();
    }
    system_.dialogOpened(*this);
    dispatch(Message{Message::Kind::InitDialog, 0});
}

void Win32Dialog::setSpokenName(std::size_t index, std::u16string_view name) {
    const HWND child = at(index);
    if (child == nullptr) {
        return;
    }
    setAccessibleName(child, name);
    if (control(index).kind == ControlKind::ComboBox) {
        // Its field is a window of its own that takes the focus.
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (GetComboBoxInfo(child, &parts) != FALSE && parts.hwndItem != nullptr) {
            setAccessibleName(parts.hwndItem, name);
        }
    }
}

void Win32Dialog::forgetNames() {
    for (std::size_t i = 0; i < layout().controls.size(); ++i) {
        const HWND child = at(i);
        if (child == nullptr || control(i).accessibleName.empty()) {
            continue;
        }
        clearAccessibleName(child);
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (control(i).kind == ControlKind::ComboBox && GetComboBoxInfo(child, &parts) != FALSE) {
            clearAccessibleName(parts.hwndItem);
        }
    }
}

void Win32Dialog::centreOnOwner() {
    RECT own{};
    GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    RECT area{};
    if (owner_ != nullptr && owner_->window_ != nullptr) {
        GetWindowRect(owner_->window_, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    // Keep the dialog on the screen when its owner is near an edge.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(owner_ != nullptr ? owner_->window_ : window_,
                                          MONITOR_DEFAULTTONEAREST),
                        &monitor) != FALSE) {
        const RECT& work = monitor.rcWork;
        x = std::max<int>(work.left, std::min<int>(x, work.right - width));
        y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    }
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Dialog::commandFrom(WPARAM wParam) {
    // Clicks of buttons and of the icon, and the dialog manager's Enter,
    // Escape and close come with code 0; the notifications of edits and
    // combo boxes are not commands, but for the user's choice in a list to
    // choose from (the program's own CB_SETCURSEL tells nothing).
    const int id = static_cast<int>(LOWORD(wParam));
    if (HIWORD(wParam) == 0) {
        dispatch(Message{Message::Kind::Command, id});
    } else if (HIWORD(wParam) == CBN_SELCHANGE) {
        if (const std::size_t* index = indexOf(id); index != nullptr && isListOnly(*index)) {
            dispatch(Message{Message::Kind::Command, id});
        }
    }
}

void Win32Dialog::editChanged(HWND edit) {
    if (fixingEdit_ || edit == nullptr ||
        std::find(limitedEdits_.begin(), limitedEdits_.end(), edit) == limitedEdits_.end()) {
        return;
    }
    repairField(GetDlgCtrlID(edit));
}

void Win32Dialog::outOfMemory() {
    // No exception may cross the dialog manager.
    system_.exitOutOfMemory();
}

HWND Win32Dialog::at(std::size_t index) const {
    const int id = control(index).id;
    return window_ != nullptr && id != res::kNoId ? GetDlgItem(window_, id) : nullptr;
}

bool Win32Dialog::isUpDown(HWND child) const {
    const std::size_t* index = indexOf(GetDlgCtrlID(child));
    return index != nullptr && control(*index).kind == ControlKind::UpDown;
}

std::u16string Win32Dialog::controlText(std::size_t index) const {
    const HWND child = at(index);
    if (child == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthW(child);
    std::wstring buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(child, buffer.data(), static_cast<int>(buffer.size()));
    return fromWide(
        std::wstring_view(buffer.data(), static_cast<std::size_t>(std::max(copied, 0))));
}

void Win32Dialog::setControlText(std::size_t index, std::u16string_view text) {
    if (const HWND child = at(index)) {
        SetWindowTextW(child, toWide(text).c_str());
    }
}

std::size_t Win32Dialog::fieldCaret(std::size_t index) const {
    DWORD selectionEnd = 0;
    if (const HWND child = at(index)) {
        SendMessageW(child, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
    }
    return selectionEnd;
}

void Win32Dialog::setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) {
    const HWND child = at(index);
    if (child == nullptr) {
        return;
    }
    fixingEdit_ = true;
    SetWindowTextW(child, toWide(text).c_str());
    SendMessageW(child, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    fixingEdit_ = false;
}

int Win32Dialog::limitField(std::size_t index, int units) {
    const HWND child = at(index);
    // The edit control reads a limit of 0 as no limit at all; the smallest
    // limit it keeps is one unit.
    const int limit = std::max(units, 1);
    if (child == nullptr) {
        return limit;
    }
    SendMessageW(child, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    if (std::find(limitedEdits_.begin(), limitedEdits_.end(), child) == limitedEdits_.end()) {
        limitedEdits_.push_back(child);
    }
    return limit;
}

void Win32Dialog::ending(int result) {
    if (window_ != nullptr) {
        EndDialog(window_, result);
    }
}

MessageAnswer Win32Dialog::messageBox(std::u16string_view text, std::u16string_view caption,
                                      MessageStyle style) {
    return system_.showMessageBox(text, caption, style, this);
}

int Win32Dialog::runModal(int templateId, DialogProc proc) {
    return system_.runDialog(templateId, std::move(proc), this);
}

int Win32Dialog::showMenu(std::size_t index, std::span<const MenuEntry> entries) {
    const HWND child = at(index);
    if (child == nullptr) {
        return 0;
    }
    const HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return 0;
    }
    for (const MenuEntry& entry : entries) {
        if (entry.command > 0) {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.command),
                        toWide(entry.text).c_str());
        }
    }
    RECT area{};
    GetWindowRect(child, &area);
    POINT point{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    if (menuByMouse_ && PtInRect(&area, menuAnchor_) != FALSE) {
        point = menuAnchor_;
    } else if (const auto found = lists_.find(control(index).id); found != lists_.end()) {
        point = found->second->keyboardMenuPoint();
    }
    menuByMouse_ = false;
    const int chosen = system_.trackMenu(menu, point, window_);
    DestroyMenu(menu);
    return chosen;
}

bool Win32Dialog::setClipboardText(std::u16string_view text) {
    bool opened = false;
    for (int attempt = 0; attempt < kClipboardTries && !opened; ++attempt) {
        // Another program may hold the clipboard open for a moment.
        opened = OpenClipboard(window_) != FALSE;
        if (!opened) {
            Sleep(kClipboardRetryMs);
        }
    }
    if (!opened) {
        return false;
    }
    bool stored = false;
    if (EmptyClipboard() != FALSE) {
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (auto* units = static_cast<wchar_t*>(GlobalLock(memory))) {
                std::copy(text.begin(), text.end(), units);
                units[text.size()] = L'\0';
                GlobalUnlock(memory);
                stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
            if (!stored) {
                GlobalFree(memory);  // the clipboard did not take it over
            }
        }
    }
    CloseClipboard();
    return stored;
}

std::u16string Win32Dialog::askSavePath(std::u16string_view suggestedName,
                                        std::u16string_view typeName,
                                        std::u16string_view extension) {
    return system_.askSavePath(suggestedName, typeName, extension, this);
}

bool Win32Dialog::quitRequested() const {
    return system_.quitRequested();
}

int Win32Dialog::upDownAt(std::size_t index) const {
    const HWND child = at(index);
    return child == nullptr ? 0 : static_cast<int>(SendMessageW(child, UDM_GETPOS32, 0, 0));
}

void Win32Dialog::setUpDownAt(std::size_t index, int position) {
    if (const HWND child = at(index)) {
        SendMessageW(child, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
    }
}

void Win32Dialog::insertChoice(std::size_t index, int position, std::u16string_view text) {
    const HWND child = at(index);
    if (child == nullptr) {
        return;
    }
    const auto count = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
    // -1 appends; inserting selects nothing and leaves the field's text.
    const WPARAM where = (position < 0 || position > count) ? static_cast<WPARAM>(-1)
                                                            : static_cast<WPARAM>(position);
    const std::wstring wide = toWide(text);
    SendMessageW(child, CB_INSERTSTRING, where, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32Dialog::clearChoices(std::size_t index) {
    const HWND child = at(index);
    if (child == nullptr) {
        return;
    }
    // An editable combo box keeps its field's text.
    const std::u16string field = controlText(index);
    SendMessageW(child, CB_RESETCONTENT, 0, 0);
    if (!isListOnly(index)) {
        SetWindowTextW(child, toWide(field).c_str());
    }
}

int Win32Dialog::choiceAt(std::size_t index) const {
    const HWND child = at(index);
    if (child == nullptr) {
        return -1;
    }
    const auto selected = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
    return selected == CB_ERR ? -1 : selected;
}

void Win32Dialog::selectChoice(std::size_t index, int position) {
    if (const HWND child = at(index)) {
        SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
}

int Win32Dialog::choiceCount(std::size_t index) const {
    const HWND child = at(index);
    if (child == nullptr) {
        return 0;
    }
    const auto count = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
    return count == CB_ERR ? 0 : count;
}

ListView* Win32Dialog::listAt(std::size_t index) {
    const auto found = lists_.find(control(index).id);
    return found == lists_.end() ? nullptr : found->second.get();
}

int Win32Dialog::screenWidth() const {
    return unscaled(GetSystemMetrics(SM_CXSCREEN), windowDpi(window_));
}

int Win32Dialog::screenHeight() const {
    return unscaled(GetSystemMetrics(SM_CYSCREEN), windowDpi(window_));
}

void Win32Dialog::placeWindow(int x, int y, int width, int height) {
    if (window_ == nullptr) {
        return;
    }
    // Here the program draws its own frame, so the size is that of the whole
    // window, frame and caption included: a window 640 pixels wide fits a
    // screen 640 pixels wide. It grows to what the template needs in the
    // dialog's font, and the work area (without the task bar) bounds it.
    const int dpi = windowDpi(window_);
    RECT needed = templateClient_;
    AdjustWindowRectEx(&needed, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    int outerWidth = std::max<int>(scaled(std::max(width, 0), dpi), needed.right - needed.left);
    int outerHeight = std::max<int>(scaled(std::max(height, 0), dpi), needed.bottom - needed.top);
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) != FALSE) {
        outerWidth = std::min<int>(outerWidth, work.right - work.left);
        outerHeight = std::min<int>(outerHeight, work.bottom - work.top);
    }
    SetWindowPos(window_, nullptr, scaled(x, dpi), scaled(y, dpi), outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Dialog::invalidate() {
    if (window_ != nullptr) {
        InvalidateRect(window_, nullptr, TRUE);
    }
}

void Win32Dialog::showControl(std::size_t index, bool shown) {
    if (const HWND control = at(index)) {
        ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    }
}

}  // namespace ts::platform
