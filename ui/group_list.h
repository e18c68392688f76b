#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/group_fields.h"
#include "platform/window_system.h"
#include "resources/tables.h"
#include "ui/column_table.h"

namespace ts {
class Group;
class Party;
}  // namespace ts

// The group list of the main window and the totals line under it.
namespace ts::ui {

// "%d円"
std::u16string yenText(std::int32_t amount);
// "%d人"
std::u16string peopleText(std::int32_t people);
// "%d円払う" for a payment, "%d円返金" for a refund, "0円" and two U+3000 for 0.
std::u16string balanceText(std::int32_t balance);
// The text of one of a group's fields as the list shows it.
std::u16string fieldText(const Group& group, GroupField field);
// The cell texts of a group, in column-table order.
std::array<std::u16string, ColumnTable::kColumnCount> cellTexts(const Group& group);
// What a field's value means beyond its text (res::Tone): a balance pays,
// gets money back or is settled once `results` holds (the figures are a
// calculation's results for the data shown), and is not calculated until
// then; the other fields carry no tone.
res::Tone cellTone(const Group& group, GroupField field, bool results);

// Deletes all columns and inserts one per visible column.
void buildColumns(platform::ListView& list, const ColumnTable& columns);
// Puts the visible cells of `group` into a new row at `row`, with their
// tones (`results` as for cellTone).
void fillRow(platform::ListView& list, const ColumnTable& columns, int row, const Group& group,
             bool results);
// One row per group, in list order.
void fillRows(platform::ListView& list, const ColumnTable& columns, Party& party, bool results);
// Writes the totals line: total, unit, remainder, total number of people.
void showTotals(platform::Dialog& window, const Party& party);
// Switches between the detailed and the simple view, relabels the view
// button and rebuilds the columns; the caller then refills the rows.
void toggleView(platform::Dialog& window, ColumnTable& columns, platform::ListView& list);

}  // namespace ts::ui
