#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "platform/dialog_core.h"
#include "resources/dialog_template.h"

class QEventLoop;
class QLineEdit;

namespace ts::platform {

class QtWindowSystem;

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
// A rectangle in dialog units converted to pixels: its corners are mapped
// and rounded, so rectangles that lie inside one another in dialog units
// still do in pixels.
QRect dialogRectToPixels(const DialogBaseUnits& units, int x, int y, int width, int height);

// The QDialog of a template. It never closes by itself: Enter, Escape and the
// close box become commands for the procedure, and only endDialog ends it.
// Ctrl+C that no control took becomes a Copy message.
class TemplateDialog final : public QDialog {
public:
    using QDialog::QDialog;
    std::function<void(const Message&)> onMessage;

    void accept() override { command(1); }
    void reject() override { command(2); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void command(int id);
};

// One running dialog: the widgets of its template and its procedure.
class QtDialog final : public DialogCore {
public:
    QtDialog(QtWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
             QtDialog* owner);

    // Builds the widgets and sends InitDialog; false when the procedure
    // ended the dialog already.
    bool open();
    // Shows the dialog and runs its modal loop until endDialog.
    void runLoop();
    void close();
    TemplateDialog* widget() const { return dialog_.get(); }

    // placeWindow gives the client area width x height pixels, but never
    // less than the template's extent in the dialog font, so that no control
    // is cut; then keeps the whole window inside the screen's available
    // area, which takes precedence.
    TS_DIALOG_WINDOW_CALLS;

private:
    TS_DIALOG_CORE_SIDE;
    void ending(int result) override;

    QWidget* createControl(const res::ControlTemplate& control, const DialogBaseUnits& units);
    QLineEdit* fieldAt(std::size_t index) const;
    void centre();

    QtWindowSystem& system_;
    QtDialog* owner_;
    std::unique_ptr<TemplateDialog> dialog_;
    std::vector<QWidget*> widgets_;  // in template order
    QEventLoop* loop_ = nullptr;
    QPoint menuAnchor_;   // where the last context menu was asked for (global)
    QSize templateSize_;  // the template's extent in the dialog font, pixels
};

}  // namespace ts::platform
