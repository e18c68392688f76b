#include "ui/result_export.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/group.h"
#include "model/group_fields.h"
#include "model/party.h"
#include "resources/tables.h"
#include "resources/texts.h"
#include "storage/text.h"
#include "ui/group_list.h"

namespace ts::ui {

namespace {

// Tab, CR and LF would break the table's cells and lines.
std::u16string tableCell(std::u16string_view text) {
    std::u16string cell(text);
    for (char16_t& unit : cell) {
        if (unit == u'\t' || unit == u'\r' || unit == u'\n') {
            unit = u' ';
        }
    }
    return cell;
}

void appendTableLine(std::u16string& out, std::u16string_view label, std::u16string_view value,
                     std::u16string_view lineEnd) {
    out.append(label);
    out.push_back(u'\t');
    out.append(value);
    out.append(lineEnd);
}

constexpr std::string_view kCsvLineEnd = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool startsLikeFormula(std::u16string_view text) {
    if (text.empty()) {
        return false;
    }
    switch (text.front()) {
        case u'=':
        case u'+':
        case u'-':
        case u'@':
        case u'\t':
        case u'\r':
            return true;
        default:
            return false;
    }
}

// One text cell, defused and quoted as needed, with no separator.
void appendTextCell(std::string& out, std::u16string_view text) {
    std::string cell = startsLikeFormula(text) ? "'" : "";
    cell += toUtf8(text);
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        out += cell;
        return;
    }
    out.push_back('"');
    for (const char c : cell) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

void appendNumberCell(std::string& out, std::int32_t value) {
    out += std::to_string(value);
}

void appendLabelRow(std::string& out, std::u16string_view label, const std::int32_t* value) {
    appendTextCell(out, label);
    out.push_back(',');
    if (value != nullptr) {
        appendNumberCell(out, *value);
    }
    out += kCsvLineEnd;
}

void appendPadded(std::u16string& out, int value, std::size_t digits) {
    const std::u16string text = decimalText(value);
    if (text.size() < digits) {
        out.append(digits - text.size(), u'0');
    }
    out.append(text);
}

}  // namespace

std::u16string tableText(const Party& party, const ColumnTable& columns,
                         std::u16string_view lineEnd) {
    std::u16string out;
    const auto appendCells = [&](const auto& cells) {
        bool first = true;
        for (int i = 0; i < ColumnTable::kColumnCount; ++i) {
            if (!columns.visible(i)) {
                continue;
            }
            if (!first) {
                out.push_back(u'\t');
            }
            first = false;
            out.append(tableCell(cells[static_cast<std::size_t>(i)]));
        }
        out.append(lineEnd);
    };

    std::array<std::u16string_view, ColumnTable::kColumnCount> titles{};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        titles[i] = res::kColumns[i].title;
    }
    appendCells(titles);
    for (int row = 0; row < party.groupCount(); ++row) {
        if (const Group* group = party.groupAt(row)) {
            appendCells(cellTexts(*group));
        }
    }
    out.append(lineEnd);
    // As the totals line reads, left to right.
    appendTableLine(out, text::kTotalPeopleLabel, peopleText(party.totalPeople()), lineEnd);
    appendTableLine(out, text::kTotalLabel, yenText(party.total), lineEnd);
    appendTableLine(out, text::kUnitLabel, yenText(party.unit), lineEnd);
    appendTableLine(out, text::kRemainderLabel, yenText(party.remainder), lineEnd);
    return out;
}

std::string csvBytes(const Party& party, bool withResults) {
    std::string out(kUtf8ByteOrderMark);
    for (std::size_t i = 0; i < res::kColumns.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        appendTextCell(out, res::kColumns[i].title);
    }
    out += kCsvLineEnd;

    for (int row = 0; row < party.groupCount(); ++row) {
        const Group* group = party.groupAt(row);
        if (group == nullptr) {
            continue;
        }
        // The list's columns: the stored fields always, the calculation's
        // only as results.
        for (std::size_t i = 0; i < res::kColumns.size(); ++i) {
            if (i > 0) {
                out.push_back(',');
            }
            const GroupFieldSpec& field = groupField(res::kColumns[i].field);
            if (field.value == nullptr) {
                appendTextCell(out, group->name());
            } else if (field.stored || withResults) {
                appendNumberCell(out, (*group).*field.value);
            }
        }
        out += kCsvLineEnd;
    }
    out += kCsvLineEnd;

    const std::int32_t people = party.totalPeople();
    appendLabelRow(out, text::kTotalPeopleLabel, &people);
    appendLabelRow(out, text::kTotalLabel, &party.total);
    appendLabelRow(out, text::kUnitLabel, &party.unit);
    appendLabelRow(out, text::kRemainderLabel, withResults ? &party.remainder : nullptr);
    return out;
}

std::u16string chatText(const Party& party, Calculated results) {
    std::u16string out(text::kChatTotal);
    out.append(yenText(party.total));
    switch (results) {
        case Calculated::None:
            out.append(text::kChatUnitOpen);
            out.append(yenText(party.unit));
            out.append(text::kChatNotCalculated);
            break;
        case Calculated::ToTheYen:
            out.append(text::kChatToTheYen);
            break;
        case Calculated::ToTheUnit:
            out.append(text::kChatRoundedOpen);
            out.append(yenText(party.unit));
            out.append(text::kChatRoundedClose);
            break;
    }
    out.push_back(u'\n');
    for (int row = 0; row < party.groupCount(); ++row) {
        const Group* group = party.groupAt(row);
        if (group == nullptr) {
            continue;
        }
        out.append(tableCell(group->name()));
        out.push_back(u' ');
        out.append(peopleText(group->people));
        if (results != Calculated::None) {
            out.append(text::kChatEach);
            // As the list reads ("2000円払う", "500円返金"), but without the
            // list's padding after an even balance.
            out.append(group->balance == 0 ? std::u16string(text::kChatEven)
                                           : balanceText(group->balance));
        }
        out.push_back(u'\n');
    }
    if (results != Calculated::None) {
        out.append(text::kRemainderLabel);
        out.push_back(u' ');
        out.append(yenText(party.remainder));
        out.append(text::kChatRemainderKept);
        out.push_back(u'\n');
    }
    return out;
}

std::u16string csvFileName(const SaveDate& date) {
    std::u16string name(text::kCsvNamePrefix);
    appendPadded(name, date.year, 4);
    appendPadded(name, date.month, 2);
    appendPadded(name, date.day, 2);
    name.push_back(u'.');
    name.append(text::kCsvExtension);
    return name;
}

}  // namespace ts::ui
