#pragma once

// Control and command identifiers shared by the templates and the procedures,
// one namespace per dialog. Ids repeat between dialogs (1020 is クリア in the
// main window and the advance field in the group dialog), so a name always
// says which dialog it belongs to.
namespace ts::id {

// Commands every dialog hears: Enter and Escape or the close box.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kCancelCommand = 1005;  // borne by no control; treated as CANCEL

// Main window (template 101).
namespace main {
inline constexpr int kGroupList = 1000;
inline constexpr int kCalculatePlain = 1014;
inline constexpr int kAdd = 1015;
inline constexpr int kChange = 1016;
inline constexpr int kInput = 1017;
inline constexpr int kDelete = 1018;
inline constexpr int kTotalText = 1019;
inline constexpr int kClear = 1020;
inline constexpr int kViewToggle = 1021;
inline constexpr int kCalculateRounded = 1022;
inline constexpr int kPeopleLabel = 1025;
inline constexpr int kRemainderLabel = 1026;
inline constexpr int kRemainderText = 1027;
inline constexpr int kPeopleText = 1028;
inline constexpr int kUnitText = 1029;
inline constexpr int kAboutIcon = 1031;
// The round the list, the totals line and every command act on; shown once
// the evening has two rounds.
inline constexpr int kRoundCombo = 1032;
// Commands of the list's context menu; no control bears these ids.
inline constexpr int kCopy = 40001;
inline constexpr int kSaveCsv = 40002;
inline constexpr int kCopyChat = 40003;
// The browser's send button and its own menu entries.
inline constexpr int kSendChat = 40004;
inline constexpr int kExportSettings = 40005;
inline constexpr int kImportSettings = 40006;
// A link and a QR code of the party, and taking a shared party as one's own.
inline constexpr int kShareLink = 40007;
inline constexpr int kTakeShared = 40008;
// The evening's rounds, in the list's menu.
inline constexpr int kAddRound = 40009;
inline constexpr int kRenameRound = 40010;
inline constexpr int kDeleteRound = 40011;
inline constexpr int kSettle = 40012;
}  // namespace main

// Group settings dialog (template 103).
namespace group {
inline constexpr int kNameField = 1009;
inline constexpr int kAdvanceField = 1020;
inline constexpr int kPeopleField = 1021;
inline constexpr int kAddendField = 1022;
inline constexpr int kRatioField = 1025;
inline constexpr int kPeopleArrows = 1028;
inline constexpr int kRatioArrows = 1029;
inline constexpr int kAddAddend = 3;
}  // namespace group

// Total dialog (template 104).
namespace total {
inline constexpr int kTotalField = 1019;
inline constexpr int kUnitCombo = 1029;
inline constexpr int kTakeAdvances = 3;
}  // namespace total

// The settlement of the evening (template 105).
namespace settle {
inline constexpr int kPlanList = 1000;
inline constexpr int kMarkPaid = 1101;
inline constexpr int kPartPaid = 1102;
inline constexpr int kTakeBack = 1103;
inline constexpr int kBreakdown = 1104;
inline constexpr int kOrganiserText = 1105;
inline constexpr int kOutstandingText = 1106;
inline constexpr int kOrganiserCombo = 1107;
inline constexpr int kPayeeField = 1108;
inline constexpr int kCopyReminder = 1109;
inline constexpr int kOrganiserLabel = 1110;
inline constexpr int kPayeeLabel = 1111;
// The browser's send button in the title bar.
inline constexpr int kSendReminder = 40013;
}  // namespace settle

// The round's name (template 106).
namespace round {
inline constexpr int kNameField = 1009;
}  // namespace round

// An amount received from a member or paid back (template 107).
namespace amount {
inline constexpr int kWhoText = 1201;
inline constexpr int kAmountField = 1202;
}  // namespace amount

}  // namespace ts::id
