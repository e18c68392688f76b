#include <array>

#include "resources/dialog_template.h"
#include "resources/ids.h"

namespace ts::res {

namespace {

using K = ControlKind;

constexpr std::u16string_view kGothic = u"ＭＳ ゴシック";

constexpr std::uint32_t kButton = kTabStop | kAlignCenter;
constexpr std::uint32_t kDefault = kButton | kDefaultButton;
constexpr std::uint32_t kLabel = kAlignLeft;
constexpr std::uint32_t kNumberEdit = kTabStop | kBorder | kAutoScroll | kAlignRight | kNumeric;
constexpr std::uint32_t kTextEdit = kTabStop | kBorder | kAutoScroll | kAlignLeft;

// Label texts, shared by the labels and the controls they name.
constexpr std::u16string_view kTotalLabel = u"総額";
constexpr std::u16string_view kUnitLabel = u"区切額";
constexpr std::u16string_view kPeopleTotalLabel = u"総人数";
constexpr std::u16string_view kRemainderLabel = u"余り";
constexpr std::u16string_view kNameLabel = u"名称";
constexpr std::u16string_view kPeopleLabel = u"人数";
constexpr std::u16string_view kRatioLabel = u"割合";
constexpr std::u16string_view kAdvanceLabel = u"負担額";

// The main window.
constexpr std::array kMainControls{
    ControlTemplate{id::main::kAdd, K::PushButton, 347, 2, 74, 14, u"追加", kButton, u"", "add"},
    ControlTemplate{id::main::kChange, K::PushButton, 347, 21, 74, 14, u"変更", kButton, u"",
                    "change"},
    ControlTemplate{id::main::kClear, K::PushButton, 347, 40, 74, 14, u"クリア", kButton, u"",
                    "clear"},
    ControlTemplate{id::main::kDelete, K::PushButton, 347, 59, 74, 14, u"削除", kButton, u"",
                    "delete"},
    ControlTemplate{id::main::kInput, K::PushButton, 264, 108, 26, 15, u"入力", kButton, u"",
                    "input"},
    ControlTemplate{id::main::kViewToggle, K::PushButton, 380, 109, 40, 14, u"簡易表示", kButton,
                    u"", "view"},
    ControlTemplate{id::main::kCalculatePlain, K::PushButton, 296, 109, 40, 14, u"通常計算",
                    kButton, u"", "plain"},
    ControlTemplate{id::main::kGroupList, K::ListView, 1, 2, 342, 102, u"", kTabStop | kBorder,
                    u"グループ一覧", "list"},
    ControlTemplate{id::main::kTotalText, K::Static, 85, 111, 58, 12, u"DDD", kLabel, kTotalLabel,
                    "total"},
    ControlTemplate{id::main::kUnitText, K::Static, 173, 111, 30, 12, u"CCC", kLabel, kUnitLabel,
                    "unit"},
    ControlTemplate{id::main::kPeopleText, K::Static, 33, 111, 27, 12, u"AAA", kLabel,
                    kPeopleTotalLabel, "people"},
    ControlTemplate{id::main::kRemainderText, K::Static, 228, 111, 35, 12, u"BBB", kLabel,
                    kRemainderLabel, "remainder"},
    ControlTemplate{kNoId, K::Static, 147, 111, 30, 8, kUnitLabel, kLabel, u"", "unit-label"},
    ControlTemplate{kNoId, K::Static, 65, 111, 21, 8, kTotalLabel, kLabel, u"", "total-label"},
    ControlTemplate{id::main::kPeopleLabel, K::Static, 5, 111, 27, 8, kPeopleTotalLabel, kLabel,
                    u"", "people-label"},
    ControlTemplate{id::main::kRemainderLabel, K::Static, 206, 111, 18, 8, kRemainderLabel, kLabel,
                    u"", "remainder-label"},
    ControlTemplate{id::main::kCalculateRounded, K::PushButton, 338, 109, 40, 14, u"区切計算",
                    kButton, u"", "rounded"},
    ControlTemplate{id::main::kAboutIcon, K::Icon, 399, 79, 21, 21, u"", kReportsClicks,
                    u"バージョン情報", "icon"},
    ControlTemplate{kNoId, K::GroupBox, 2, 101, 291, 25, u"", kNoStyle, u"", "frame"},
    // Last: the controls above keep their tab order.
    ControlTemplate{id::main::kRoundCombo, K::ComboBox, 347, 80, 50, 80, u"",
                    kTabStop | kVScroll | kListOnly, u"会", "round"},
};

// The group settings dialog.
constexpr std::array kGroupControls{
    ControlTemplate{id::group::kNameField, K::Edit, 30, 3, 118, 14, u"", kTextEdit, kNameLabel,
                    "name"},
    ControlTemplate{id::group::kPeopleField, K::Edit, 30, 21, 26, 14, u"", kNumberEdit,
                    kPeopleLabel, "people"},
    ControlTemplate{id::group::kRatioField, K::Edit, 103, 21, 26, 14, u"", kNumberEdit, kRatioLabel,
                    "ratio"},
    ControlTemplate{id::group::kAdvanceField, K::Edit, 30, 40, 48, 14, u"", kNumberEdit,
                    kAdvanceLabel, "advance"},
    ControlTemplate{id::group::kAddendField, K::Edit, 106, 40, 42, 14, u"", kNumberEdit,
                    u"加える額", "addend"},
    ControlTemplate{id::kOk, K::PushButton, 77, 58, 32, 14, u"OK", kDefault, u"", "ok"},
    ControlTemplate{id::kCancel, K::PushButton, 116, 58, 32, 14, u"CANCEL", kButton, u"", "cancel"},
    ControlTemplate{id::group::kAddAddend, K::PushButton, 91, 42, 13, 11, u"+", kDefault,
                    u"負担額に加える", "add-addend"},
    ControlTemplate{kNoId, K::Static, 4, 43, 26, 8, kAdvanceLabel, kLabel, u"", "advance-label"},
    ControlTemplate{kNoId, K::Static, 4, 7, 21, 8, kNameLabel, kLabel, u"", "name-label"},
    ControlTemplate{kNoId, K::Static, 4, 25, 21, 8, kPeopleLabel, kLabel, u"", "people-label"},
    ControlTemplate{kNoId, K::Static, 81, 25, 20, 8, kRatioLabel, kLabel, u"", "ratio-label"},
    ControlTemplate{kNoId, K::Static, 67, 25, 10, 8, u"人", kLabel, u"", "people-suffix"},
    ControlTemplate{kNoId, K::Static, 139, 25, 10, 8, u"％", kLabel, u"", "ratio-suffix"},
    ControlTemplate{kNoId, K::Static, 79, 43, 10, 8, u"円", kLabel, u"", "advance-suffix"},
    ControlTemplate{id::group::kPeopleArrows, K::UpDown, 56, 21, 9, 14, u"", kArrowKeys | kTabStop,
                    u"人数の増減", "people-arrows"},
    ControlTemplate{id::group::kRatioArrows, K::UpDown, 129, 21, 9, 14, u"", kArrowKeys,
                    u"割合の増減", "ratio-arrows"},
};

// The total dialog.
constexpr std::array kTotalControls{
    ControlTemplate{id::total::kTotalField, K::Edit, 35, 2, 86, 14, u"", kNumberEdit, kTotalLabel,
                    "total"},
    ControlTemplate{id::total::kUnitCombo, K::ComboBox, 35, 37, 86, 51, u"",
                    kTabStop | kVScroll | kNumeric, kUnitLabel, "unit"},
    ControlTemplate{id::total::kTakeAdvances, K::PushButton, 50, 20, 85, 14, u"総負担額を入れる",
                    kDefault, u"", "take-advances"},
    ControlTemplate{id::kOk, K::PushButton, 68, 53, 32, 14, u"OK", kDefault, u"", "ok"},
    ControlTemplate{id::kCancel, K::PushButton, 106, 53, 32, 14, u"CANCEL", kButton, u"", "cancel"},
    ControlTemplate{kNoId, K::Static, 3, 5, 21, 8, kTotalLabel, kLabel, u"", "total-label"},
    ControlTemplate{kNoId, K::Static, 3, 41, 29, 8, kUnitLabel, kLabel, u"", "unit-label"},
    ControlTemplate{kNoId, K::Static, 124, 3, 15, 8, u"円", kAlignCenter, u"", "total-suffix"},
    ControlTemplate{kNoId, K::Static, 124, 39, 15, 8, u"円", kAlignCenter, u"", "unit-suffix"},
};

// The settlement of the evening: the plan, one row per class of members,
// the commands on the selected class, the organiser's money and what is
// still to change hands, who the organiser is and where to pay them.
constexpr std::u16string_view kOrganiserLabel = u"幹事";
constexpr std::u16string_view kPayeeLabel = u"支払先";
constexpr std::array kSettlementControls{
    ControlTemplate{id::settle::kPlanList, K::ListView, 2, 2, 296, 90, u"", kTabStop | kBorder,
                    u"精算の一覧", "plan"},
    ControlTemplate{id::settle::kMarkPaid, K::PushButton, 2, 96, 40, 14, u"済", kButton, u"",
                    "mark-paid"},
    ControlTemplate{id::settle::kPartPaid, K::PushButton, 46, 96, 56, 14, u"一部入金…", kButton,
                    u"", "part-paid"},
    ControlTemplate{id::settle::kTakeBack, K::PushButton, 106, 96, 48, 14, u"取り消し", kButton,
                    u"", "take-back"},
    ControlTemplate{id::settle::kBreakdown, K::PushButton, 158, 96, 48, 14, u"内訳", kButton, u"",
                    "breakdown"},
    ControlTemplate{id::settle::kOrganiserText, K::Static, 2, 114, 296, 26, u"", kLabel, u"",
                    "organiser-line"},
    ControlTemplate{id::settle::kOutstandingText, K::Static, 2, 142, 296, 10, u"", kLabel, u"",
                    "outstanding"},
    ControlTemplate{id::settle::kOrganiserCombo, K::ComboBox, 26, 156, 92, 80, u"",
                    kTabStop | kVScroll | kListOnly, kOrganiserLabel, "organiser"},
    ControlTemplate{id::settle::kPayeeField, K::Edit, 156, 156, 142, 14, u"", kTextEdit,
                    kPayeeLabel, "payee"},
    ControlTemplate{id::settle::kCopyReminder, K::PushButton, 2, 174, 84, 14, u"催促文をコピー",
                    kButton, u"", "copy-reminder"},
    ControlTemplate{id::kCancel, K::PushButton, 250, 174, 48, 14, u"閉じる", kButton, u"", "close"},
    ControlTemplate{id::settle::kOrganiserLabel, K::Static, 2, 159, 22, 8, kOrganiserLabel, kLabel,
                    u"", "organiser-label"},
    ControlTemplate{id::settle::kPayeeLabel, K::Static, 124, 159, 30, 8, kPayeeLabel, kLabel, u"",
                    "payee-label"},
};

// A round's name.
constexpr std::array kRoundNameControls{
    ControlTemplate{id::round::kNameField, K::Edit, 30, 4, 126, 14, u"", kTextEdit, kNameLabel,
                    "name"},
    ControlTemplate{id::kOk, K::PushButton, 82, 22, 32, 14, u"OK", kDefault, u"", "ok"},
    ControlTemplate{id::kCancel, K::PushButton, 120, 22, 36, 14, u"CANCEL", kButton, u"", "cancel"},
    ControlTemplate{kNoId, K::Static, 4, 7, 24, 8, kNameLabel, kLabel, u"", "name-label"},
};

// An amount a member paid in part, or was paid back in part.
constexpr std::array kAmountControls{
    ControlTemplate{id::amount::kWhoText, K::Static, 4, 4, 162, 18, u"", kLabel, u"", "who"},
    ControlTemplate{id::amount::kAmountField, K::Edit, 36, 24, 70, 14, u"", kNumberEdit, u"金額",
                    "amount"},
    ControlTemplate{id::kOk, K::PushButton, 92, 42, 32, 14, u"OK", kDefault, u"", "ok"},
    ControlTemplate{id::kCancel, K::PushButton, 130, 42, 36, 14, u"CANCEL", kButton, u"", "cancel"},
    ControlTemplate{kNoId, K::Static, 4, 27, 30, 8, u"金額", kLabel, u"", "amount-label"},
    ControlTemplate{kNoId, K::Static, 109, 27, 10, 8, u"円", kLabel, u"", "amount-suffix"},
};

constexpr std::array kTemplates{
    DialogTemplate{kMainDialog, u"TALLY-SHARE", 424, 127, kGothic, 9, false, kMainControls},
    DialogTemplate{kGroupDialog, u"グループの設定", 152, 75, kGothic, 9, true, kGroupControls},
    DialogTemplate{kTotalDialog, u"情報", 142, 69, kGothic, 9, true, kTotalControls},
    DialogTemplate{kSettlementDialog, u"精算", 300, 190, kGothic, 9, true, kSettlementControls},
    DialogTemplate{kRoundNameDialog, u"会の名前", 160, 40, kGothic, 9, true, kRoundNameControls},
    DialogTemplate{kAmountDialog, u"一部入金", 170, 60, kGothic, 9, true, kAmountControls},
};

}  // namespace

std::u16string spokenName(const ControlTemplate& control, std::u16string_view text) {
    std::u16string name(control.accessibleName);
    if (!name.empty() && control.kind == ControlKind::Static && !text.empty()) {
        // A value beside its label: the name alone would hide the value.
        name += u' ';
        name += text;
    }
    return name;
}

const DialogTemplate* findDialogTemplate(int id) {
    for (const auto& t : kTemplates) {
        if (t.id == id) {
            return &t;
        }
    }
    return nullptr;
}

}  // namespace ts::res
