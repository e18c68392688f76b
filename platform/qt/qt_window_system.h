#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>
#include <QString>

#include "platform/modal_stack.h"
#include "platform/window_system.h"

class QAction;
class QDialog;
class QMenu;
class QMessageBox;
class QPoint;
class QSocketNotifier;
class QWidget;

namespace ts::platform {

class QtDialog;

// The window system on Qt Widgets: every template becomes a QDialog run in
// its own modal event loop, and the procedures see it through Dialog.
class QtWindowSystem final : public WindowSystem {
public:
    // Answers a message box instead of showing one (tests).
    using MessageBoxResponder = std::function<MessageAnswer(
        std::u16string_view text, std::u16string_view caption, MessageStyle style)>;
    // Picks from a context menu instead of showing it (tests); null picks
    // nothing.
    using MenuResponder = std::function<QAction*(QMenu& menu)>;
    // Answers a save-file dialog instead of showing one (tests).
    using SavePathResponder =
        std::function<std::u16string(std::u16string_view suggestedName,
                                     std::u16string_view typeName, std::u16string_view extension)>;
    // Told about every dialog right after it is shown (tests).
    using DialogObserver = std::function<void(QDialog* dialog, int templateId)>;

    QtWindowSystem();
    ~QtWindowSystem();
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    int runModal(int templateId, DialogProc proc) override;
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;

    void setMessageBoxResponder(MessageBoxResponder responder);
    void setMenuResponder(MenuResponder responder) { menuResponder_ = std::move(responder); }
    void setSavePathResponder(SavePathResponder responder) {
        savePathResponder_ = std::move(responder);
    }
    void setDialogObserver(DialogObserver observer);
    // Dialogs use this face, when it is installed, instead of the one their
    // templates ask for (tests lay the windows out in other fonts). Empty:
    // the templates' faces.
    void setDialogFace(QString family) { dialogFace_ = std::move(family); }
    const QString& dialogFace() const { return dialogFace_; }

    // Turns SIGTERM, SIGHUP, SIGINT and the end of the desktop session into
    // requestQuit(). Call once, after the QApplication exists.
    void installQuitHandlers();
    // Closes the open modal windows from the innermost outward: a message
    // box is answered as dismissed, a menu or file chooser closes, a dialog
    // gets Command 2; when that dialog has ended, the next one out is
    // closed, up to the main window.
    void requestQuit();
    // True from the first quit request on.
    bool quitRequested() const override { return modals_.quitEverRequested(); }

    // Shows the message box "out of memory" and ends the process with
    // status 1. Procedures that run out of memory end here.
    [[noreturn]] void exitOutOfMemory();

    // The QDialog of the innermost running dialog, or null.
    QDialog* innermostDialog() const;
    // The QDialog behind a Dialog that this window system runs, or null.
    static QDialog* widgetOf(Dialog& dialog);

    // Used by the dialogs it runs.
    int runDialog(int templateId, DialogProc proc, QtDialog* owner);
    MessageAnswer showMessageBox(std::u16string_view text, std::u16string_view caption,
                                 MessageStyle style, QWidget* owner);
    QAction* execMenu(QMenu& menu, const QPoint& at);
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension, QWidget* owner);

private:
    // One modal window: a dialog, a message box, or a menu or file chooser.
    struct ModalWindow {
        QtDialog* dialog = nullptr;
        QMessageBox* box = nullptr;
        QWidget* other = nullptr;
    };

    // Closes one window for the quit (ModalStack keeps the order).
    void closeForQuit(ModalWindow& window);
    void modalEnded();

    MessageBoxResponder responder_;
    MenuResponder menuResponder_;
    SavePathResponder savePathResponder_;
    DialogObserver observer_;
    QString dialogFace_;
    ModalStack<ModalWindow> modals_{[this](ModalWindow& window) { closeForQuit(window); }};
    QObject context_;  // owns the queued quit steps and the connections
    std::unique_ptr<QSocketNotifier> quitNotifier_;
};

}  // namespace ts::platform
