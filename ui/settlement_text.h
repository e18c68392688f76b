#pragma once

#include <cstdint>
#include <string>

#include "model/settlement.h"

// The settlement of the evening in words: what the settlement dialog shows
// and the reminder it puts on the clipboard. Amounts read as in the group
// list ("%d円払う", "%d円返金"), without separators.
namespace ts::ui {

// "4000円払う" for a member who pays the organiser (< 0), "3000円返金" for
// one the organiser pays back (> 0), "精算なし" for 0.
std::u16string figureText(std::int64_t figure);

// The class by its group, its number of members and the rounds they came
// to: "社員 3人（一次会・二次会）".
std::u16string classLabel(const Evening& evening, const SettlementClass& cls);

// What the class's figure is made of, round by round:
// "一次会 4000円払う + 二次会 3000円払う".
std::u16string partsText(const Evening& evening, const SettlementClass& cls);

// How many of the class's members, the organiser aside, have settled:
// "1/3人"; "幹事" for a class that is the organiser alone.
std::u16string settledCountText(const Evening& evening, const SettlementClass& cls);

// What the class still has to pay in ("8000円払う") or be paid back
// ("3000円返金"), both when marks went past today's figures, or "なし".
std::u16string leftText(const Outstanding& left);

// Where member `member` of the class stands: "幹事", "精算なし", "未",
// "済", "一部 3000円・残り 4000円払う", or, when more changed hands than
// is now due, "済・残り 1000円返金"; each followed by "（差額 1000円払う）"
// when the figure has changed since the mark.
std::u16string memberText(const Evening& evening, const SettlementClass& cls, std::int32_t member);

// The organiser: "グループ外" or "社員の1人目".
std::u16string organiserName(const Evening& evening);

// Why the evening has no plan yet (rounds not calculated, two groups of
// one name in a round, sums out of range), one line each; empty for a
// plan that is ready.
std::u16string problemText(const Evening& evening, const Settlement& settlement);

// The organiser's line: what they keep, then, where it differs, the sum
// of the remainders the rounds show and the organiser's own figure.
std::u16string organiserText(const Evening& evening, const Settlement& settlement);

// "集金残り 12000円　返金残り 3000円".
std::u16string outstandingText(const Outstanding& left);

// The members' lines of the 内訳 box: the class, its parts with the sum,
// then one line per member.
std::u16string breakdownText(const Evening& evening, const SettlementClass& cls);

// The reminder for a chat, to be read in any font: a title, then for each
// class that still owes its label and figure and one line per member who
// owes with how much is left, then where to pay (支払先) or, without one,
// to pay the organiser. Lines end with LF. A plan that is not ready gives
// nothing.
std::u16string reminderText(const Evening& evening, const Settlement& settlement);

}  // namespace ts::ui
