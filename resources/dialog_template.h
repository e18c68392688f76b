#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ts::res {

// Control identifiers that no code addresses (labels, frames) carry -1.
inline constexpr int kNoId = -1;

enum class ControlKind {
    PushButton,
    Edit,
    Static,
    GroupBox,
    ListView,
    Icon,      // shows icon resource 102
    UpDown,    // a free-standing pair of arrows
    ComboBox,  // drop-down with an editable field, or a list to choose from (kListOnly)
};

// Style bits of a control, as far as the program needs them.
enum Style : std::uint32_t {
    kNoStyle = 0,
    kTabStop = 1u << 0,
    kDefaultButton = 1u << 1,
    kAlignLeft = 1u << 2,
    kAlignRight = 1u << 3,
    kAlignCenter = 1u << 4,
    kBorder = 1u << 5,
    kAutoScroll = 1u << 6,     // edit: scrolls horizontally while typing
    kArrowKeys = 1u << 7,      // up-down: arrow keys step it
    kReportsClicks = 1u << 8,  // static/icon: a click gives its command
    kVScroll = 1u << 9,        // combo box: vertical scroll bar in its list
    kNumeric = 1u << 10,       // edit, combo box: takes a number (a phone shows digit keys)
    // combo box: no field, only the list to choose from; the user's choice
    // of another entry is the combo box's command
    kListOnly = 1u << 11,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, width, height;  // dialog units
    std::u16string_view text;
    std::uint32_t style;
    // What a screen reader calls the control: for a field the text of the
    // label beside it, for controls without text what they do. Empty: the
    // control's own text names it (buttons, labels). A static text with a
    // name is a value: it is spoken as the name followed by its text.
    std::u16string_view accessibleName = {};
    // Where a window system that lays windows out itself (the browser's
    // style sheet) places the control: a name of its own in its window
    // (ASCII). Empty: a control with an id is placed by it, one without by
    // nothing.
    std::string_view place = {};
};

struct DialogTemplate {
    int id;
    std::u16string_view caption;
    int width, height;  // dialog units
    std::u16string_view fontName;
    int pointSize;
    bool centred;  // centred on its owner; the main window is placed by code
    std::span<const ControlTemplate> controls;  // template order = tab order
};

// What a screen reader should call the control when its text is `text`:
// empty when its own text names it, the name followed by the text for a
// value beside its label, otherwise the template's name.
std::u16string spokenName(const ControlTemplate& control, std::u16string_view text);

// Template by number (101, 103 to 107); null for an unknown number.
const DialogTemplate* findDialogTemplate(int id);

inline constexpr int kMainDialog = 101;
inline constexpr int kIconResource = 102;
inline constexpr int kGroupDialog = 103;
inline constexpr int kTotalDialog = 104;
inline constexpr int kSettlementDialog = 105;
inline constexpr int kRoundNameDialog = 106;
inline constexpr int kAmountDialog = 107;

}  // namespace ts::res
