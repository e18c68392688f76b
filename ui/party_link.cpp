#include "ui/party_link.h"

#include <algorithm>
#include <array>
#include <utility>

#include "model/group.h"
#include "model/party.h"
#include "storage/field_splitter.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts::ui {

namespace {

constexpr std::array<std::pair<Calculated, char>, 3> kLetters{{
    {Calculated::None, '-'},
    {Calculated::ToTheYen, 'y'},
    {Calculated::ToTheUnit, 'u'},
}};

// Fields of a PEOPLE record (tag, name, total, unit, date) and of a GROUP
// record (tag, name, people, ratio, advance).
constexpr int kRecordFields = 5;

void appendUtf16Le(std::string& out, std::u16string_view text) {
    for (const char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
}

bool isRecord(FieldSplitter& splitter, std::u16string_view line, std::u16string_view tag) {
    splitter.split(line);
    return splitter.fieldCount() == kRecordFields && fieldEquals(splitter.field(0), tag);
}

}  // namespace

std::string partyLinkPayload(const Party& party, Calculated calculated) {
    std::string payload;
    for (const auto& [kind, letter] : kLetters) {
        if (kind == calculated) {
            payload.push_back(letter);
        }
    }
    payload.push_back('\n');
    std::u16string records = undatedPeopleRecord(party);
    for (int i = 0; i < party.groupCount(); ++i) {
        records += groupRecord(*party.groupAt(i));
    }
    payload += toUtf8(records);
    return payload;
}

LinkReading readPartyLinkPayload(std::string_view payload, std::string& settingsFile,
                                 Calculated& calculated) {
    if (payload.size() > kMaxLinkPayload) {
        return LinkReading::TooLarge;
    }
    if (payload.size() < 2 || payload[1] != '\n') {
        return LinkReading::Malformed;
    }
    const auto* letter = std::find_if(kLetters.begin(), kLetters.end(),
                                      [&](const auto& each) { return each.second == payload[0]; });
    if (letter == kLetters.end()) {
        return LinkReading::Malformed;
    }
    const std::string_view utf8 = payload.substr(2);
    const std::u16string records = fromUtf8(utf8);
    if (toUtf8(records) != utf8 || records.find(u'\0') != std::u16string::npos || records.empty() ||
        records.back() != u'\n') {
        return LinkReading::Malformed;
    }

    FieldSplitter splitter;
    splitter.clearSeparators();
    splitter.addSeparator(u',');
    std::string file;
    appendUtf16Le(file, headerRecord());
    file.append(2, '\0');
    std::size_t start = 0;
    bool first = true;
    while (start < records.size()) {
        const std::size_t end = records.find(u'\n', start);
        const std::u16string_view line(records.data() + start, end - start);
        // A line the writer makes fits a record line, line feed included.
        if (line.size() + 1 > kMaxRecordUnits ||
            !isRecord(splitter, line, first ? kPeopleTag : kGroupTag)) {
            return LinkReading::Malformed;
        }
        appendUtf16Le(file, line);
        appendUtf16Le(file, u"\n");
        file.append(2, '\0');
        first = false;
        start = end + 1;
    }
    settingsFile = std::move(file);
    calculated = letter->first;
    return LinkReading::Read;
}

}  // namespace ts::ui
