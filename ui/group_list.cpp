#include "ui/group_list.h"

#include <cstddef>

#include "model/group.h"
#include "model/party.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/text.h"

namespace ts::ui {

namespace {

// Every cell and totals text fits the 255 units a list cell or static text
// holds: the longest number is 11 units and a name is at most 255.
std::u16string withSuffix(std::int64_t value, std::u16string_view suffix) {
    std::u16string text = decimalText(value);
    text.append(suffix);
    return text;
}

}  // namespace

std::u16string yenText(std::int32_t amount) {
    return withSuffix(amount, text::kYen);
}

std::u16string peopleText(std::int32_t people) {
    return withSuffix(people, text::kPersons);
}

std::u16string balanceText(std::int32_t balance) {
    if (balance < 0) {
        // The magnitude is taken in 64 bits: the lowest int32 has no positive twin.
        std::u16string text = withSuffix(-static_cast<std::int64_t>(balance), text::kYen);
        text.append(text::kPay);
        return text;
    }
    std::u16string text = yenText(balance);
    text.append(balance > 0 ? text::kRefund : text::kEvenBalanceTail);
    return text;
}

std::u16string fieldText(const Group& group, GroupField field) {
    switch (field) {
        case GroupField::Name:
            return group.name();
        case GroupField::People:
            return peopleText(group.people);
        case GroupField::Ratio:
            return withSuffix(group.ratio, u"%");
        case GroupField::Advance:
            return yenText(group.advance);
        case GroupField::Share:
            return yenText(group.share);
        case GroupField::Balance:
            return balanceText(group.balance);
    }
    return {};
}

std::array<std::u16string, ColumnTable::kColumnCount> cellTexts(const Group& group) {
    std::array<std::u16string, ColumnTable::kColumnCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = fieldText(group, res::kColumns[i].field);
    }
    return texts;
}

res::Tone cellTone(const Group& group, GroupField field, bool results) {
    if (field != GroupField::Balance) {
        return res::Tone::None;
    }
    if (!results) {
        return res::Tone::NotCalculated;
    }
    if (group.balance == 0) {
        return res::Tone::Settled;
    }
    return group.balance < 0 ? res::Tone::Pay : res::Tone::Refund;
}

void buildColumns(platform::ListView& list, const ColumnTable& columns) {
    // Deleting the first column as often as there are columns empties any
    // list this program builds.
    list.deleteColumns(ColumnTable::kColumnCount);
    for (int i = 0; i < ColumnTable::kColumnCount; ++i) {
        if (columns.visible(i)) {
            const auto& column = res::kColumns[static_cast<std::size_t>(i)];
            // A position past the present columns appends, so the visible
            // columns stand side by side in table order.
            list.insertColumn(i, column.title, column.width, groupField(column.field).id);
        }
    }
}

void fillRow(platform::ListView& list, const ColumnTable& columns, int row, const Group& group,
             bool results) {
    // Cells are addressed by their place among the columns shown; subitem 0
    // (the always visible name) creates the row.
    int subitem = 0;
    for (int i = 0; i < ColumnTable::kColumnCount; ++i) {
        if (columns.visible(i)) {
            const GroupField field = res::kColumns[static_cast<std::size_t>(i)].field;
            list.setCell(fieldText(group, field), subitem, row, cellTone(group, field, results));
            ++subitem;
        }
    }
}

void fillRows(platform::ListView& list, const ColumnTable& columns, Party& party, bool results) {
    if (party.groupCount() == 0) {
        return;
    }
    int row = 0;
    for (const Group* group = party.first(); group != nullptr && !party.atEnd();
         group = party.next()) {
        fillRow(list, columns, row, *group, results);
        ++row;
    }
}

void showTotals(platform::Dialog& window, const Party& party) {
    window.setItemText(id::main::kTotalText, yenText(party.total));
    window.setItemText(id::main::kUnitText, yenText(party.unit));
    window.setItemText(id::main::kRemainderText, yenText(party.remainder));
    window.setItemText(id::main::kPeopleText, peopleText(party.totalPeople()));
}

void toggleView(platform::Dialog& window, ColumnTable& columns, platform::ListView& list) {
    columns.toggleSimpleView();
    // The button names the view the next press switches to.
    window.setItemText(id::main::kViewToggle,
                       columns.detailed() ? text::kSimpleView : text::kDetailedView);
    buildColumns(list, columns);
}

}  // namespace ts::ui
