#include "platform/win32/win32_message_box.h"

#include "platform/win32/win32_text.h"

namespace ts::platform {

UINT messageBoxFlags(MessageStyle style) {
    UINT flags = 0;
    switch (style.buttons) {
        case MessageButtons::Ok:
            flags = MB_OK;
            break;
        case MessageButtons::OkCancel:
            flags = MB_OKCANCEL;
            break;
        case MessageButtons::RetryCancel:
            flags = MB_RETRYCANCEL;
            break;
        case MessageButtons::YesNo:
            flags = MB_YESNO;
            break;
    }
    switch (style.icon) {
        case MessageIcon::None:
            break;
        case MessageIcon::Warning:
            flags |= MB_ICONEXCLAMATION;
            break;
        case MessageIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
    }
    // Owned boxes are modal to their dialog; a box without owner (the
    // out-of-memory report) must not hide behind other windows.
    return flags | MB_SETFOREGROUND;
}

int dismissCommand(MessageStyle style) {
    switch (style.buttons) {
        case MessageButtons::OkCancel:
        case MessageButtons::RetryCancel:
            return IDCANCEL;
        case MessageButtons::YesNo:
            return IDNO;
        case MessageButtons::Ok:
            break;
    }
    return IDOK;
}

MessageAnswer answerOf(int result, MessageStyle style) {
    switch (result) {
        case IDOK:
            return MessageAnswer::Ok;
        case IDCANCEL:
            return MessageAnswer::Cancel;
        case IDRETRY:
            return MessageAnswer::Retry;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            // 0: the box could not be shown.
            return dismissedAnswer(style);
    }
}

MessageAnswer showMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) {
    const std::wstring wideText = toWide(text);
    const std::wstring wideCaption = toWide(caption);
    const int result =
        MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), messageBoxFlags(style));
    return answerOf(result, style);
}

}  // namespace ts::platform
