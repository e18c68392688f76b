#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include <QFont>
#include <QObject>
#include <QRect>

#include "platform/window_system.h"

class QDialog;
class QMessageBox;
class QSocketNotifier;

namespace ts::platform {

class QtDialog;

// Pixels per dialog unit of a dialog font: the average character width and
// the character height. A dialog unit is a quarter of the first horizontally
// and an eighth of the second vertically.
struct DialogBaseUnits {
    int x = 1;
    int y = 1;
};

// The face a template asks for when it is installed, else a Japanese Gothic
// face, else the application font; at the template's point size.
QFont dialogFont(std::u16string_view faceName, int pointSize);
DialogBaseUnits dialogBaseUnits(const QFont& font);
// A rectangle in dialog units converted to pixels (each value rounded).
QRect dialogRectToPixels(const DialogBaseUnits& units, int x, int y, int width, int height);

// The window system on Qt Widgets: every template becomes a QDialog run in
// its own modal event loop, and the procedures see it through Dialog.
class QtWindowSystem final : public WindowSystem {
public:
    // Answers a message box instead of showing one (tests).
    using MessageBoxResponder = std::function<int(
        std::u16string_view text, std::u16string_view caption, std::uint32_t style)>;
    // Told about every dialog right after it is shown (tests).
    using DialogObserver = std::function<void(QDialog* dialog, int templateId)>;

    QtWindowSystem();
    ~QtWindowSystem();
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    int runModal(int templateId, DialogProc proc) override;
    int messageBox(std::u16string_view text, std::u16string_view caption,
                   std::uint32_t style) override;

    void setMessageBoxResponder(MessageBoxResponder responder);
    void setDialogObserver(DialogObserver observer);

    // Turns SIGTERM, SIGHUP, SIGINT and the end of the desktop session into
    // requestQuit(). Call once, after the QApplication exists.
    void installQuitHandlers();
    // Closes the open modal windows from the innermost outward: a message
    // box is answered with IDCANCEL, a dialog gets Command 2; when that
    // dialog has ended, the next one out is closed, up to the main window.
    void requestQuit();

    // Shows the message box "out of memory" and ends the process with
    // status 1. Procedures that run out of memory end here.
    [[noreturn]] void exitOutOfMemory();

    // The QDialog of the innermost running dialog, or null.
    QDialog* innermostDialog() const;
    // The QDialog behind a Dialog that this window system runs, or null.
    static QDialog* widgetOf(Dialog& dialog);

    // Used by the dialogs it runs.
    int runDialog(int templateId, DialogProc proc, QtDialog* owner);
    int showMessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t style,
                       QWidget* owner);

private:
    struct Modal {
        QtDialog* dialog = nullptr;
        QMessageBox* box = nullptr;
        bool quitAsked = false;
    };

    void continueQuit();
    void modalEnded();

    MessageBoxResponder responder_;
    DialogObserver observer_;
    std::vector<Modal> modals_;  // innermost last
    bool quitPending_ = false;
    QObject context_;  // owns the queued quit steps and the connections
    std::unique_ptr<QSocketNotifier> quitNotifier_;
};

}  // namespace ts::platform
