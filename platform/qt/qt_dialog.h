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
    ~QtDialog() = default;

    // Builds the widgets and sends InitDialog; false when the procedure
    // ended the dialog already.
    bool open();
    // Shows the dialog and runs its modal loop until endDialog.
    void runLoop();
    void close();
    TemplateDialog* widget() const { return dialog_.get(); }

    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;
    bool setClipboardText(std::u16string_view text) override;
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension) override;
    bool quitRequested() const override;
    int runModal(int templateId, DialogProc proc) override;
    int screenWidth() const override;
    int screenHeight() const override;
    // Moves the window to (x, y) and gives its client area width x height
    // pixels, but never less than the template's extent in the dialog font,
    // so that no control is cut; then keeps the whole window inside the
    // screen's available area, which takes precedence.
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override;

private:
    std::u16string controlText(std::size_t index) const override;
    void setControlText(std::size_t index, std::u16string_view text) override;
    void setSpokenName(std::size_t index, std::u16string_view name) override;
    int limitField(std::size_t index, int units) override;
    std::size_t fieldCaret(std::size_t index) const override;
    void setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) override;
    int upDownAt(std::size_t index) const override;
    void setUpDownAt(std::size_t index, int position) override;
    void insertChoice(std::size_t index, int position, std::u16string_view text) override;
    void clearChoices(std::size_t index) override;
    int choiceAt(std::size_t index) const override;
    void selectChoice(std::size_t index, int position) override;
    int choiceCount(std::size_t index) const override;
    ListView* listAt(std::size_t index) override;
    int showMenu(std::size_t index, std::span<const MenuEntry> entries) override;
    void showControl(std::size_t index, bool shown) override;
    void ending(int result) override;
    [[noreturn]] void outOfMemory() override;

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
