#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

#include "platform/qt/program_icon.h"
#include "platform/qt/qt_text.h"

namespace ts::platform {

namespace {

struct ButtonSet {
    QMessageBox::StandardButton accept;
    QMessageBox::StandardButton reject;  // NoButton when the box has one button
};

ButtonSet buttonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case MessageButtons::RetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        case MessageButtons::YesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case MessageButtons::Ok:
            break;
    }
    return {QMessageBox::Ok, QMessageBox::NoButton};
}

QString buttonText(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Cancel:
            return QStringLiteral("キャンセル");
        case QMessageBox::Retry:
            return QStringLiteral("再試行");
        case QMessageBox::Yes:
            return QStringLiteral("はい");
        case QMessageBox::No:
            return QStringLiteral("いいえ");
        default:
            return QStringLiteral("OK");
    }
}

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer answerFor(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Retry:
            return MessageAnswer::Retry;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Ok;
    }
}

}  // namespace

void prepareMessageBox(QMessageBox& box, std::u16string_view text, std::u16string_view caption,
                       MessageStyle style) {
    box.setWindowTitle(toQString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(text));
    box.setWindowIcon(programIcons());
    box.setIcon(iconOf(style.icon));
    const ButtonSet set = buttonsOf(style.buttons);
    box.setStandardButtons(set.reject == QMessageBox::NoButton ? set.accept
                                                               : set.accept | set.reject);
    for (QMessageBox::StandardButton button : {set.accept, set.reject}) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(buttonText(button));
        }
    }
    box.setDefaultButton(set.accept);
    box.setEscapeButton(set.reject == QMessageBox::NoButton ? set.accept : set.reject);
}

MessageAnswer answerOf(const QMessageBox& box, MessageStyle style) {
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        return dismissedAnswer(style);
    }
    return answerFor(box.standardButton(clicked));
}

}  // namespace ts::platform
