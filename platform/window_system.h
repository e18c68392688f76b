#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "resources/tables.h"

// The window system as the screens see it: dialogs built from templates,
// item texts by control id, message boxes, the list view and the up-down and
// combo controls. Qt implements it in platform/qt, Win32 in platform/win32
// and the browser in platform/web; tests use a scripted stand-in.
namespace ts::platform {

// What a message box offers, shows and is answered with. The names are
// the program's own so that this header compiles beside <windows.h>.
enum class MessageButtons { Ok, OkCancel, RetryCancel, YesNo };
enum class MessageIcon { None, Warning, Information, Question };
enum class MessageAnswer { Ok, Cancel, Retry, Yes, No };

struct MessageStyle {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    bool operator==(const MessageStyle&) const = default;
};

// The answer of a box closed without a choice: Escape, the close box or a
// quit request. Every window system answers so.
constexpr MessageAnswer dismissedAnswer(MessageStyle style) {
    switch (style.buttons) {
        case MessageButtons::OkCancel:
        case MessageButtons::RetryCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

// Longest text an item read delivers, in UTF-16 units.
inline constexpr std::size_t kMaxItemText = 255;

// What a dialog procedure is told.
struct Message {
    enum class Kind {
        InitDialog,   // the dialog's controls exist; it is not shown yet
        Command,      // id: the command (a control id, or 1 for Enter, 2 for Escape/close;
                      // a list-only combo box whose entry the user changed)
        VScroll,      // id: the control that scrolled (an up-down control)
        ContextMenu,  // id: the control whose context menu was asked for (right
                      // button, Menu key or Shift+F10)
        Copy,         // Ctrl+C outside an edit field
        Help,         // F1
        SessionEnd,   // the session ends: the process may be ended as soon as
                      // this is handled, whatever windows are open. Told to
                      // the outermost dialog while others are open above it.
    };
    Kind kind;
    int id = 0;
};

// The report-view list of the main window. Rows carry text, and each cell
// what its value means (res::Tone), which a window system may show (the
// browser colours it and words it on a phone) or ignore (the desktops).
class ListView {
public:
    // Index of the first selected row, or -1.
    virtual int selectedRow() const = 0;
    // Selects and focuses the row; an index out of range selects nothing.
    virtual void selectRow(int index) = 0;
    virtual void deleteRow(int index) = 0;
    virtual void deleteAllRows() = 0;
    // Deletes the first column `count` times.
    virtual void deleteColumns(int count) = 0;
    // A position past the last column appends the column. `role` is the
    // name of what it shows (a group's field, model/group_fields.h), for a
    // window system that styles columns by it.
    virtual void insertColumn(int position, std::u16string_view title, int width,
                              std::string_view role) = 0;
    // Subitem 0 inserts a row at `row` with its first text; any other subitem
    // sets the text of that cell of an existing row. `tone` says what the
    // value means beyond its text.
    virtual void setCell(std::u16string_view text, int subitem, int row, res::Tone tone) = 0;

    // What the list says while it has no rows: what to do first. A report
    // view with no room for it (the desktops) shows nothing.
    virtual void setEmptyText(std::u16string_view /*text*/) {}

protected:
    ~ListView() = default;
};

// What a window system's list declares of ListView (and defines in its own
// file): declared here once, inside the class's public part.
// NOLINTBEGIN(bugprone-macro-parentheses): a list of declarations
#define TS_LIST_VIEW_CALLS                                                                       \
    int selectedRow() const override;                                                            \
    void selectRow(int index) override;                                                          \
    void deleteRow(int index) override;                                                          \
    void deleteAllRows() override;                                                               \
    void deleteColumns(int count) override;                                                      \
    void insertColumn(int position, std::u16string_view title, int width, std::string_view role) \
        override;                                                                                \
    void setCell(std::u16string_view text, int subitem, int row, res::Tone tone) override
// NOLINTEND(bugprone-macro-parentheses)

// One entry of a context menu.
struct MenuEntry {
    int command;
    std::u16string_view text;
};

// A file the program hands to the user: the name it suggests, what kind of
// file it is (as a save dialog's filter names it), its extension without the
// dot, and its media type.
struct FileToDeliver {
    std::u16string_view name;
    std::u16string_view typeName;
    std::u16string_view extension;
    std::u16string_view mediaType;
};

// How handing a file to the user ended.
enum class Delivery { Delivered, Cancelled, Failed };

class Dialog;

// A dialog procedure: called for every message; it returns nothing.
using DialogProc = std::function<void(Dialog&, const Message&)>;

// One running dialog, as its procedure sees it.
class Dialog {
public:
    // The item's text, cut at kMaxItemText units; empty for an unknown id.
    virtual std::u16string itemText(int id) const = 0;
    virtual void setItemText(int id, std::u16string_view text) = 0;
    // The most UTF-16 units an edit field takes from typing or pasting;
    // longer input is cut at a character boundary in the field itself.
    virtual void limitText(int id, int units) = 0;

    // Ends the modal run with `result` once the procedure returns.
    virtual void endDialog(int result) = 0;

    // A modal message box owned by this dialog. Escape, the close box and a
    // quit request answer Cancel (No for a yes/no question).
    virtual MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                                     MessageStyle style) = 0;

    // A context menu beside control `id` (at the pointer when the mouse asked
    // for it); returns the chosen entry's command, or 0 when none was chosen.
    virtual int popupMenu(int id, std::span<const MenuEntry> entries) = 0;

    // Puts plain text on the clipboard; false when the clipboard refused it.
    virtual bool setClipboardText(std::u16string_view text) = 0;

    // The platform's save-file dialog, opened in the user's documents folder
    // with `suggestedName` filled in and a filter for `typeName` files ending
    // in `.extension`. Returns the chosen path, or empty when cancelled.
    virtual std::u16string askSavePath(std::u16string_view suggestedName,
                                       std::u16string_view typeName,
                                       std::u16string_view extension) = 0;

    // Hands `bytes` to the user as a file: where the user has folders of
    // their own (the desktops) a save-file dialog asks where it goes and the
    // file is written there whole or not at all; in a browser it is a
    // download.
    virtual Delivery deliverFile(const FileToDeliver& file, std::string_view bytes);
    // Sends text to another program (the phone's share sheet); where there
    // is none, puts it on the clipboard. False when neither worked.
    virtual bool shareText(std::u16string_view text) { return setClipboardText(text); }
    // Shows or hides a control; a hidden control takes no room where the
    // window system lays its windows out itself (the browser).
    virtual void showItem(int id, bool shown) = 0;
    // A line the window shows under its caption until it is replaced, or
    // removed with an empty text: a state the user must keep in view, such
    // as a change that is not saved. Where a window has no room for one
    // (the desktops' fixed templates), nothing is shown.
    virtual void showNotice(std::u16string_view /*text*/) {}
    // Words the window shows with control `id` to say what its value means
    // (who keeps a remainder); empty removes them. Where the window has no
    // room for them (the desktops' fixed templates), nothing is shown.
    virtual void describeItem(int /*id*/, std::u16string_view /*text*/) {}
    // A command the window system shows beside the template's controls,
    // where it has room for one (the browser's title bar); the desktops
    // offer such commands in the list's menu instead and show nothing.
    virtual void addCommandButton(int /*id*/, std::u16string_view /*text*/) {}

    // True once the session's end or a signal has asked the program to quit:
    // from then on nothing may wait for the user.
    virtual bool quitRequested() const = 0;

    // Runs template `templateId` modally with this dialog as its owner.
    virtual int runModal(int templateId, DialogProc proc) = 0;

    // Up-down control position. The up arrow lowers it by one, the down
    // arrow raises it by one, and then the control reports a VScroll.
    virtual int upDownPosition(int id) const = 0;
    virtual void setUpDownPosition(int id, int position) = 0;

    // Inserts a choice into a combo box's list; no entry gets selected.
    virtual void insertComboEntry(int id, int position, std::u16string_view text) = 0;
    // Removes every choice of a combo box's list.
    virtual void clearComboEntries(int id) = 0;
    // The entry a list-only combo box (res::kListOnly) shows, by its place
    // in the list: -1 when none. Selecting it from the program reports no
    // command; an index out of range selects none. Its item text is the
    // selected entry's, and setItemText does not change it.
    virtual int comboSelection(int id) const = 0;
    virtual void selectComboEntry(int id, int index) = 0;

    // The list view with that id, or null.
    virtual ListView* listView(int id) = 0;

    // Screen size in pixels, window placement and repaint.
    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;
    // Moves the window to (x, y) and makes it width x height pixels, but
    // never smaller than the dialog's template in the dialog's font, so no
    // control is cut. Where the program draws the window's frame (Win32) the
    // size is the whole window's, frame included; where a window manager
    // draws it (Qt), the size is the client area's. The screen's available
    // area (without panels and task bars) bounds both, and wins over the
    // template.
    virtual void placeWindow(int x, int y, int width, int height) = 0;
    virtual void invalidate() = 0;

protected:
    ~Dialog() = default;
};

// The entry points that need no owner window.
class WindowSystem {
public:
    // Runs template `templateId` modally without owner; returns the result
    // the dialog ended with.
    virtual int runModal(int templateId, DialogProc proc) = 0;
    // A message box without owner.
    virtual MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                                     MessageStyle style) = 0;
    // True once the session's end or a signal has asked the program to
    // quit, also after the window it closed has gone: what comes next must
    // not open another window. A window system without such requests never
    // reports one.
    virtual bool quitRequested() const { return false; }

protected:
    ~WindowSystem() = default;
};

}  // namespace ts::platform
