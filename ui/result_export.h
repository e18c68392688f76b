#pragma once

#include <string>
#include <string_view>

#include "storage/settings_file.h"
#include "ui/column_table.h"

namespace ts {
class Party;
}  // namespace ts

// The group list and its totals line as text that leaves the window: plain
// text for the clipboard and a CSV file.
namespace ts::ui {

// Line end of clipboard text: CR LF on Windows, whose clipboard and
// spreadsheets expect it; LF elsewhere, where text on the clipboard uses it.
#ifdef _WIN32
inline constexpr std::u16string_view kClipboardLineEnd = u"\r\n";
#else
inline constexpr std::u16string_view kClipboardLineEnd = u"\n";
#endif

// The list as the window shows it: the visible columns' titles, one line per
// group with its visible cells, then an empty line and the four items of the
// totals line, each as "label TAB value". Cells are separated by a tab and
// read exactly as on screen, except that a tab or line break inside a name
// becomes a space so that it cannot split the table. Every line ends with
// `lineEnd`.
std::u16string tableText(const Party& party, const ColumnTable& columns,
                         std::u16string_view lineEnd);

// The party as a CSV file: UTF-8 with a byte-order mark, CR LF line ends,
// fields quoted where they hold a comma, a quote or a line break (quotes
// doubled). A header row, one row per group with plain numbers (name,
// people, ratio, advance, share, balance; a negative balance is paid, a
// positive one refunded), an empty row, then the totals as label/value
// rows. Without results (nothing calculated) the share, balance and
// remainder cells are empty. A text cell that a spreadsheet would take for
// a formula (it begins with =, +, -, @, a tab or a carriage return) gets a
// leading apostrophe.
std::string csvBytes(const Party& party, bool withResults);

// How the figures of the party were calculated, if they are results at all.
enum class Calculated { None, ToTheYen, ToTheUnit };

// The result as a message for a chat or a mail, to be read in any font: no
// tabs and no alignment by spaces. A first line with the total and the
// unit the shares were rounded to, one line per group with its name, its
// people and what each member pays or gets back, then the remainder that
// the organiser keeps. Without results the groups are listed with their
// people only, and no remainder. Lines end with LF.
std::u16string chatText(const Party& party, Calculated results);

// "tally-share-YYYYMMDD.csv" for the date.
std::u16string csvFileName(const SaveDate& date);

}  // namespace ts::ui
