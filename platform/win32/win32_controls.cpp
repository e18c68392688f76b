#include "platform/win32/win32_controls.h"

#include <commctrl.h>

namespace ts::platform {

namespace {

using res::ControlKind;

constexpr UINT_PTR kCopySubclassId = 1;
constexpr int kBaseDpi = 96;

bool controlDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0 && (GetKeyState(VK_MENU) & 0x8000) == 0;
}

LRESULT CALLBACK copyKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == 'C' && controlDown()) {
                SendMessageW(GetParent(window), kCopyMessage, 0, 0);
                return 0;
            }
            if (wParam == VK_F1) {
                SendMessageW(GetParent(window), kHelpMessage, 0, 0);
                return 0;  // no WM_HELP as well
            }
            break;
        case WM_CHAR:
            if (wParam == 0x03) {
                return 0;  // the character of Ctrl+C: handled at the key press
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, copyKeyProc, kCopySubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

ControlClass controlClassOf(const res::ControlTemplate& control) {
    const std::uint32_t bits = control.style;
    // Overlapping controls paint only their own part: a label reaching into
    // the value beside it does not draw over that value.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if ((bits & res::kTabStop) != 0) {
        style |= WS_TABSTOP;
    }
    if ((bits & res::kBorder) != 0) {
        style |= WS_BORDER;
    }
    switch (control.kind) {
        case ControlKind::PushButton:
            style |= ((bits & res::kDefaultButton) != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            if ((bits & res::kAlignCenter) != 0) {
                style |= BS_CENTER | BS_VCENTER;
            }
            return {WC_BUTTONW, style, 0};
        case ControlKind::Edit:
            style |= ((bits & res::kAlignRight) != 0 ? ES_RIGHT : ES_LEFT);
            if ((bits & res::kAutoScroll) != 0) {
                style |= ES_AUTOHSCROLL;
            }
            return {WC_EDITW, style, 0};
        case ControlKind::Static: {
            DWORD align = SS_LEFT;
            if ((bits & res::kAlignCenter) != 0) {
                align = SS_CENTER;
            } else if ((bits & res::kAlignRight) != 0) {
                align = SS_RIGHT;
            }
            style |= align | SS_NOPREFIX;
            if ((bits & res::kReportsClicks) != 0) {
                style |= SS_NOTIFY;
            }
            return {WC_STATICW, style, 0};
        }
        case ControlKind::Icon:
            style |= SS_ICON | SS_CENTERIMAGE;
            if ((bits & res::kReportsClicks) != 0) {
                style |= SS_NOTIFY;
            }
            return {WC_STATICW, style, 0};
        case ControlKind::GroupBox:
            return {WC_BUTTONW, style | BS_GROUPBOX, 0};
        case ControlKind::ListView:
            // The list draws its own border; the column headers do nothing
            // when clicked.
            style &= ~static_cast<DWORD>(WS_BORDER);
            return {WC_LISTVIEWW,
                    style | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                    (bits & res::kBorder) != 0 ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0};
        case ControlKind::UpDown:
            // Free-standing: no buddy and no number of its own; the dialog
            // does the stepping.
            if ((bits & res::kArrowKeys) != 0) {
                style |= UDS_ARROWKEYS;
            }
            return {UPDOWN_CLASSW, style, 0};
        case ControlKind::ComboBox:
            style |=
                (bits & res::kListOnly) != 0 ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL;
            if ((bits & res::kVScroll) != 0) {
                style |= WS_VSCROLL;
            }
            return {WC_COMBOBOXW, style, 0};
    }
    return {WC_STATICW, style, 0};
}

int windowDpi(HWND window) {
    // GetDpiForWindow exists from Windows 10 1607 on; older systems scale
    // nothing for the program.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpi != nullptr && window != nullptr ? getDpi(window) : 0;
    return dpi == 0 ? kBaseDpi : static_cast<int>(dpi);
}

int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, kBaseDpi);
}

int unscaled(int pixels, int dpi) {
    return MulDiv(pixels, kBaseDpi, dpi > 0 ? dpi : kBaseDpi);
}

void routeCopyKey(HWND control) {
    SetWindowSubclass(control, copyKeyProc, kCopySubclassId, 0);
}

}  // namespace ts::platform
