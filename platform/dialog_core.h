#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/window_system.h"
#include "resources/dialog_template.h"

namespace ts::platform {

// Up-down positions are 16-bit values, as the native control keeps them.
int clampUpDownPosition(int position);

// What every window system's dialog does the same way: the controls of its
// template and their lookup by id, which calls reach which kind of control,
// the names screen readers speak, the end of the dialog and the delivery
// of messages to the procedure. A window system derives from it and adds
// only its own calls, each addressed by the control's place in the
// template.
class DialogCore : public Dialog {
public:
    DialogCore(const DialogCore&) = delete;
    DialogCore& operator=(const DialogCore&) = delete;

    // Texts of buttons, edits, static texts and combo boxes; the others
    // have none.
    std::u16string itemText(int id) const final;
    void setItemText(int id, std::u16string_view text) final;
    // Only edit fields take a limit.
    void limitText(int id, int units) final;
    // The first call sets the result; the procedure hears nothing after it.
    void endDialog(int result) final;
    int popupMenu(int id, std::span<const MenuEntry> entries) final;
    int upDownPosition(int id) const final;
    void setUpDownPosition(int id, int position) final;
    void insertComboEntry(int id, int position, std::u16string_view text) final;
    void clearComboEntries(int id) final;
    int comboSelection(int id) const final;
    void selectComboEntry(int id, int index) final;
    ListView* listView(int id) final;
    void showItem(int id, bool shown) final;

    // Hands `message` to the procedure, unless the dialog has ended. The
    // procedures cannot go on half-done when storage runs out, and no
    // exception may reach the window system's event loop: std::bad_alloc
    // ends the program through outOfMemory().
    void dispatch(const Message& message);

    const res::DialogTemplate& layout() const { return layout_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }

protected:
    DialogCore(const res::DialogTemplate& layout, DialogProc proc);
    ~DialogCore() = default;

    // The place in the template of the first control with that id, or
    // nullptr for labels' kNoId and ids the template lacks.
    const std::size_t* indexOf(int id) const;
    const res::ControlTemplate& control(std::size_t index) const { return layout_.controls[index]; }
    // Gives every control the name a screen reader speaks for its template
    // text (controls whose own text names them are left alone).
    void nameControls();
    // What a screen reader calls the control at `index` when it shows `text`.
    std::u16string spokenNameAt(std::size_t index, std::u16string_view text) const;
    // Mends an edit field's text after a change the user made: drops what a
    // cut at its limit left of a character, keeping the caret in place.
    void repairField(int id);
    // An up-down control whose position the program keeps (the window
    // system draws only its arrows): moves it by `delta` and reports the
    // scroll.
    void stepUpDown(int id, int delta);

    // The window system's side, for the control at `index` of a kind that
    // takes the call.
    virtual std::u16string controlText(std::size_t index) const = 0;  // whole, not cut
    virtual void setControlText(std::size_t index, std::u16string_view text) = 0;
    virtual void setSpokenName(std::size_t index, std::u16string_view name) = 0;
    // Sets the field's limit; returns the limit it keeps.
    virtual int limitField(std::size_t index, int units) = 0;
    // The caret of an edit field or combo box, as a position in its text,
    // and its text set with the caret put at `caret`.
    virtual std::size_t fieldCaret(std::size_t index) const = 0;
    virtual void setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) = 0;
    virtual int upDownAt(std::size_t index) const = 0;
    virtual void setUpDownAt(std::size_t index, int position) = 0;
    virtual void insertChoice(std::size_t index, int position, std::u16string_view text) = 0;
    virtual void clearChoices(std::size_t index) = 0;
    // A list-only combo box's selected entry (-1 for none), and its
    // selection set from the program, reporting nothing; `position` is in
    // range or -1.
    virtual int choiceAt(std::size_t index) const = 0;
    virtual void selectChoice(std::size_t index, int position) = 0;
    // The number of choices in a combo box's list.
    virtual int choiceCount(std::size_t index) const = 0;
    // Whether the control at `index` is a list-only combo box.
    bool isListOnly(std::size_t index) const;
    virtual ListView* listAt(std::size_t index) = 0;
    virtual int showMenu(std::size_t index, std::span<const MenuEntry> entries) = 0;
    virtual void showControl(std::size_t index, bool shown) = 0;
    // Called once, by the first endDialog.
    virtual void ending(int /*result*/) {}
    [[noreturn]] virtual void outOfMemory() = 0;

private:
    const res::DialogTemplate& layout_;
    DialogProc proc_;
    std::map<int, std::size_t> byId_;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace ts::platform

// What a window system's dialog declares of DialogCore's side (each
// defines the calls in its own file), and of Dialog's calls that every
// window system answers in its own way: declared here once, so that the
// window systems' headers do not repeat the list. Used inside the class,
// the first in its private part, the second in its public part.
// NOLINTBEGIN(bugprone-macro-parentheses): lists of declarations
#define TS_DIALOG_CORE_SIDE                                                                     \
    std::u16string controlText(std::size_t index) const override;                               \
    void setControlText(std::size_t index, std::u16string_view text) override;                  \
    void setSpokenName(std::size_t index, std::u16string_view name) override;                   \
    int limitField(std::size_t index, int units) override;                                      \
    std::size_t fieldCaret(std::size_t index) const override;                                   \
    void setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) override; \
    int upDownAt(std::size_t index) const override;                                             \
    void setUpDownAt(std::size_t index, int position) override;                                 \
    void insertChoice(std::size_t index, int position, std::u16string_view text) override;      \
    void clearChoices(std::size_t index) override;                                              \
    int choiceAt(std::size_t index) const override;                                             \
    void selectChoice(std::size_t index, int position) override;                                \
    int choiceCount(std::size_t index) const override;                                          \
    ListView* listAt(std::size_t index) override;                                               \
    int showMenu(std::size_t index, std::span<const MenuEntry> entries) override;               \
    void showControl(std::size_t index, bool shown) override;                                   \
    [[noreturn]] void outOfMemory() override
#define TS_DIALOG_WINDOW_CALLS                                                                  \
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,             \
                             MessageStyle style) override;                                      \
    bool setClipboardText(std::u16string_view text) override;                                   \
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName, \
                               std::u16string_view extension) override;                         \
    int runModal(int templateId, DialogProc proc) override;                                     \
    int screenWidth() const override;                                                           \
    int screenHeight() const override;                                                          \
    bool quitRequested() const override;                                                        \
    void placeWindow(int x, int y, int width, int height) override;                             \
    void invalidate() override
// NOLINTEND(bugprone-macro-parentheses)
