#include "platform/qt/qt_window_system.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_text.h"
#include "resources/texts.h"

// Off unless enabled, e.g. QT_LOGGING_RULES="tallyshare.windows.info=true".
Q_LOGGING_CATEGORY(lcWindows, "tallyshare.windows", QtWarningMsg)

namespace ts::platform {

namespace {

// The self-pipe through which the signal handler reaches the event loop.
int quitPipe[2] = {-1, -1};
constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onQuitSignal(int) {
    const int savedErrno = errno;
    const char byte = 'q';
    if (::write(quitPipe[1], &byte, 1) < 0) {
        // The pipe is full: a quit request is already on its way.
    }
    errno = savedErrno;
}

}  // namespace

QtWindowSystem::QtWindowSystem() = default;

QtWindowSystem::~QtWindowSystem() {
    if (quitNotifier_) {
        for (int signalNumber : kQuitSignals) {
            ::signal(signalNumber, SIG_DFL);
        }
        quitNotifier_.reset();
        ::close(quitPipe[0]);
        ::close(quitPipe[1]);
        quitPipe[0] = quitPipe[1] = -1;
    }
}

int QtWindowSystem::runModal(int templateId, DialogProc proc) {
    return runDialog(templateId, std::move(proc), nullptr);
}

void QtWindowSystem::exitOutOfMemory() {
    std::set_new_handler(nullptr);
    try {
        showMessageBox(text::kOutOfMemory, text::kAppName,
                       {MessageButtons::Ok, MessageIcon::Warning}, nullptr);
    } catch (...) {
        // Not even the box could be shown: end all the same.
    }
    std::_Exit(1);
}

MessageAnswer QtWindowSystem::messageBox(std::u16string_view text, std::u16string_view caption,
                                         MessageStyle style) {
    return showMessageBox(text, caption, style, nullptr);
}

void QtWindowSystem::setMessageBoxResponder(MessageBoxResponder responder) {
    responder_ = std::move(responder);
}

void QtWindowSystem::setDialogObserver(DialogObserver observer) {
    observer_ = std::move(observer);
}

int QtWindowSystem::runDialog(int templateId, DialogProc proc, QtDialog* owner) {
    const res::DialogTemplate* layout = res::findDialogTemplate(templateId);
    if (!layout) {
        return -1;
    }
    QtDialog dialog(*this, *layout, std::move(proc), owner);
    modals_.push(ModalWindow{&dialog, nullptr, nullptr});
    if (dialog.open()) {
        QTimer::singleShot(0, dialog.widget(),
                           [templateId] { qCInfo(lcWindows, "dialog %d is shown", templateId); });
        if (modals_.quitPending()) {
            // A quit asked for before this dialog was shown reaches it once
            // its loop runs.
            QTimer::singleShot(0, &context_, [this] { modals_.closeNext(); });
        }
        if (observer_) {
            // The observer sees the dialog once it is on the screen.
            QDialog* widget = dialog.widget();
            QTimer::singleShot(0, widget, [this, widget, templateId] {
                // A copy: the observer may replace itself while it runs.
                const DialogObserver observer = observer_;
                if (observer) {
                    observer(widget, templateId);
                }
            });
        }
        dialog.runLoop();
        dialog.close();
    }
    modals_.pop();
    modalEnded();
    return dialog.result();
}

MessageAnswer QtWindowSystem::showMessageBox(std::u16string_view text, std::u16string_view caption,
                                             MessageStyle style, QWidget* owner) {
    if (responder_) {
        return responder_(text, caption, style);
    }
    QMessageBox box(owner);
    prepareMessageBox(box, text, caption, style);
    modals_.push(ModalWindow{nullptr, &box, nullptr});
    QTimer::singleShot(0, &box, [] { qCInfo(lcWindows, "message box is shown"); });
    box.exec();
    const bool quitAnswered = modals_.pop();
    modalEnded();
    return quitAnswered ? dismissedAnswer(style) : answerOf(box, style);
}

QAction* QtWindowSystem::execMenu(QMenu& menu, const QPoint& at) {
    if (menuResponder_) {
        return menuResponder_(menu);
    }
    if (modals_.quitPending()) {
        return nullptr;
    }
    modals_.push(ModalWindow{nullptr, nullptr, &menu});
    QAction* chosen = menu.exec(at);
    const bool quitAnswered = modals_.pop();
    modalEnded();
    return quitAnswered ? nullptr : chosen;
}

std::u16string QtWindowSystem::askSavePath(std::u16string_view suggestedName,
                                           std::u16string_view typeName,
                                           std::u16string_view extension, QWidget* owner) {
    if (savePathResponder_) {
        return savePathResponder_(suggestedName, typeName, extension);
    }
    if (modals_.quitPending()) {
        return {};
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    QFileDialog chooser(owner, QString(), folder,
                        QStringLiteral("%1 (*.%2)").arg(toQString(typeName), toQString(extension)));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setDefaultSuffix(toQString(extension));
    chooser.selectFile(toQString(suggestedName));
    modals_.push(ModalWindow{nullptr, nullptr, &chooser});
    const int accepted = chooser.exec();
    const bool quitAnswered = modals_.pop();
    modalEnded();
    if (quitAnswered || accepted != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return {};
    }
    return chooser.selectedFiles().constFirst().toStdU16String();
}

QDialog* QtWindowSystem::innermostDialog() const {
    const auto& modals = modals_.modals();
    for (auto it = modals.rbegin(); it != modals.rend(); ++it) {
        if (it->window.dialog) {
            return it->window.dialog->widget();
        }
    }
    return nullptr;
}

QDialog* QtWindowSystem::widgetOf(Dialog& dialog) {
    auto* qtDialog = dynamic_cast<QtDialog*>(&dialog);
    return qtDialog ? qtDialog->widget() : nullptr;
}

void QtWindowSystem::requestQuit() {
    modals_.requestQuit();
}

void QtWindowSystem::closeForQuit(ModalWindow& window) {
    if (window.box) {
        window.box->done(QMessageBox::Cancel);
    } else if (window.other) {
        window.other->close();
    } else if (window.dialog) {
        window.dialog->dispatch(Message{Message::Kind::Command, 2});
    }
}

void QtWindowSystem::modalEnded() {
    if (modals_.quitContinues()) {
        // The next window out is closed once control is back in its loop.
        QTimer::singleShot(0, &context_, [this] { modals_.closeNext(); });
    }
}

void QtWindowSystem::installQuitHandlers() {
    if (quitNotifier_) {
        return;
    }
    if (quitPipe[0] < 0 && ::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        quitNotifier_ = std::make_unique<QSocketNotifier>(quitPipe[0], QSocketNotifier::Read);
        QObject::connect(quitNotifier_.get(), &QSocketNotifier::activated, &context_, [this] {
            char bytes[16];
            while (::read(quitPipe[0], bytes, sizeof bytes) > 0) {
            }
            requestQuit();
        });
        struct sigaction action {};
        action.sa_handler = onQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signalNumber : kQuitSignals) {
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
#ifndef QT_NO_SESSIONMANAGER
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(application, &QGuiApplication::commitDataRequest, &context_,
                         [this](QSessionManager&) { requestQuit(); });
    }
#endif
}

}  // namespace ts::platform
