#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The window system as the screens see it: dialogs built from templates,
// item texts by control id, message boxes, the list view and the up-down and
// combo controls. The Qt implementation lives in platform/qt; tests use a
// scripted stand-in.
namespace ts::platform {

// Message box styles and answers (the handheld's values).
inline constexpr std::uint32_t MB_OK = 0x00;
inline constexpr std::uint32_t MB_OKCANCEL = 0x01;
inline constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Longest text an item read delivers, in UTF-16 units.
inline constexpr std::size_t kMaxItemText = 255;

// What a dialog procedure is told.
struct Message {
    enum class Kind {
        InitDialog,  // the dialog's controls exist; it is not shown yet
        Command,     // id: the command (a control id, or 1 for Enter, 2 for Escape/close)
        VScroll,     // id: the control that scrolled (an up-down control)
    };
    Kind kind;
    int id = 0;
};

// The report-view list of the main window. Rows carry text only.
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
    // A position past the last column appends the column.
    virtual void insertColumn(int position, std::u16string_view title, int width) = 0;
    // Subitem 0 inserts a row at `row` with its first text; any other subitem
    // sets the text of that cell of an existing row.
    virtual void setCell(std::u16string_view text, int subitem, int row) = 0;

protected:
    ~ListView() = default;
};

class Dialog;

// A dialog procedure: called for every message; it returns nothing.
using DialogProc = std::function<void(Dialog&, const Message&)>;

// One running dialog, as its procedure sees it.
class Dialog {
public:
    // The item's text, cut at kMaxItemText units; empty for an unknown id.
    virtual std::u16string itemText(int id) const = 0;
    virtual void setItemText(int id, std::u16string_view text) = 0;

    // Ends the modal run with `result` once the procedure returns.
    virtual void endDialog(int result) = 0;

    // A modal message box owned by this dialog; returns IDOK or IDCANCEL.
    virtual int messageBox(std::u16string_view text, std::u16string_view caption,
                           std::uint32_t style) = 0;

    // Runs template `templateId` modally with this dialog as its owner.
    virtual int runModal(int templateId, DialogProc proc) = 0;

    // Up-down control position. The up arrow lowers it by one, the down
    // arrow raises it by one, and then the control reports a VScroll.
    virtual int upDownPosition(int id) const = 0;
    virtual void setUpDownPosition(int id, int position) = 0;

    // Inserts a choice into a combo box's list; no entry gets selected.
    virtual void insertComboEntry(int id, int position, std::u16string_view text) = 0;

    // The list view with that id, or null.
    virtual ListView* listView(int id) = 0;

    // Screen size in pixels, window placement and repaint.
    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;
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
    virtual int messageBox(std::u16string_view text, std::u16string_view caption,
                           std::uint32_t style) = 0;

protected:
    ~WindowSystem() = default;
};

}  // namespace ts::platform
