#include "ui/party_link.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "model/evening.h"
#include "model/group.h"
#include "model/party.h"
#include "storage/evening_file.h"
#include "storage/field_splitter.h"
#include "storage/link_fragment.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts::ui {

namespace {

constexpr std::array<std::pair<Calculated, char>, 3> kLetters{{
    {Calculated::None, '-'},
    {Calculated::ToTheYen, 'y'},
    {Calculated::ToTheUnit, 'u'},
}};

void appendUtf16Le(std::string& out, std::u16string_view text) {
    for (const char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
}

bool isRecord(FieldSplitter& splitter, std::u16string_view line, std::u16string_view tag,
              int fields) {
    splitter.split(line);
    return splitter.fieldCount() == fields && fieldEquals(splitter.field(0), tag);
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
            !(first ? isRecord(splitter, line, kPeopleTag, kPeopleRecordFields)
                    : isRecord(splitter, line, kGroupTag, kGroupRecordFields))) {
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

// --- The whole evening (format 2).

namespace {

// The evening's records under their one-letter tags in a link, with their
// field counts there (the PEOPLE record without its date).
struct LinkTag {
    char16_t letter;
    std::u16string_view fileTag;
    int fields;
};
constexpr std::u16string_view kEveningTag = u"EVENING";
constexpr std::array<LinkTag, 7> kLinkTags{{
    {u'E', kEveningTag, 3},
    {u'R', u"ROUND", 3},
    {u'P', kPeopleTag, kPeopleRecordFields - 1},
    {u'G', kGroupTag, kGroupRecordFields},
    {u'O', u"ORGANISER", 3},
    {u'Y', u"PAYEE", 2},
    {u'M', u"MARK", 5},
}};

const LinkTag* tagOfLine(std::u16string_view line) {
    for (const LinkTag& tag : kLinkTags) {
        if (line.size() > tag.fileTag.size() && line.substr(0, tag.fileTag.size()) == tag.fileTag &&
            line[tag.fileTag.size()] == u',') {
            return &tag;
        }
    }
    return nullptr;
}

const LinkTag* tagOfLetter(char16_t letter) {
    for (const LinkTag& tag : kLinkTags) {
        if (tag.letter == letter) {
            return &tag;
        }
    }
    return nullptr;
}

// A file record (with its line feed) under its letter: "PEOPLE,..." gives
// "P,...", and the PEOPLE record loses its empty date field.
std::u16string toLinkRecord(std::u16string_view line) {
    const LinkTag* tag = tagOfLine(line);
    if (tag == nullptr) {
        return {};
    }
    std::u16string record(1, tag->letter);
    record += line.substr(tag->fileTag.size());
    if (tag->letter == u'P' && record.size() >= 2) {
        record.erase(record.size() - 2, 1);  // the comma before the empty date
    }
    return record;
}

std::vector<std::u16string> linesOf(std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u'\n', start);
        lines.emplace_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

bool isInt32(std::u16string_view field) {
    std::int64_t value = 0;
    return readNumber(field, std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), value);
}

}  // namespace

LinkPayload eveningLinkPayload(const Evening& evening) {
    if (!evening.ok()) {
        return {kLinkFormat, {}};
    }
    if (evening.isSingleParty()) {
        const Round& round = *evening.roundAt(0);
        Calculated calculated = Calculated::None;
        if (round.resultsCurrent) {
            calculated = round.calculation == Calculation::Rounded ? Calculated::ToTheUnit
                                                                   : Calculated::ToTheYen;
        }
        return {kLinkFormat, partyLinkPayload(*round.party, calculated)};
    }
    // The file's records: the header, the first round's PEOPLE and GROUP
    // records, the evening's header, EVENING, the first ROUND, and the rest.
    const std::vector<std::u16string> lines = linesOf(undatedEveningRecords(evening));
    std::size_t section = 1;
    while (section < lines.size() && tagOfLine(lines[section]) != nullptr) {
        ++section;
    }
    std::u16string records;
    if (section + 2 < lines.size()) {
        records += toLinkRecord(lines[section + 1]);  // EVENING
        records += toLinkRecord(lines[section + 2]);  // the first ROUND
        for (std::size_t i = 1; i < section; ++i) {
            records += toLinkRecord(lines[i]);
        }
        for (std::size_t i = section + 3; i < lines.size(); ++i) {
            records += toLinkRecord(lines[i]);
        }
    }
    return {kEveningLinkFormat, toUtf8(records)};
}

LinkReading readEveningLinkPayload(std::string_view payload, std::string& settingsFile) {
    if (payload.size() > kMaxLinkPayload) {
        return LinkReading::TooLarge;
    }
    const std::u16string records = fromUtf8(payload);
    if (toUtf8(records) != payload || records.find(u'\0') != std::u16string::npos ||
        records.empty() || records.back() != u'\n') {
        return LinkReading::Malformed;
    }

    // The first round's PEOPLE and GROUP records go before the evening's
    // header, the rest after it.
    std::u16string first = headerRecord();
    std::u16string section(kConfigMagic);
    section += u',';
    section += kEveningVersion;
    section += u'\n';
    FieldSplitter splitter;
    splitter.addSeparator(u',');
    char16_t previous = 0;
    int rounds = 0;
    for (const std::u16string& line : linesOf(records)) {
        const LinkTag* tag = line.size() >= 2 && line[1] == u',' ? tagOfLetter(line[0]) : nullptr;
        if (tag == nullptr) {
            return LinkReading::Malformed;
        }
        splitter.split(line);
        if (splitter.fieldCount() != tag->fields) {
            return LinkReading::Malformed;
        }
        // E first; R then P, then the round's groups; the organiser, 支払先
        // and marks after the rounds.
        const char16_t letter = tag->letter;
        bool inPlace = false;
        switch (letter) {
            case u'E':
                inPlace = previous == 0;
                break;
            case u'R':
                inPlace = previous == u'E' || previous == u'P' || previous == u'G';
                break;
            case u'P':
                inPlace =
                    previous == u'R' && isInt32(splitter.field(2)) && isInt32(splitter.field(3));
                break;
            case u'G':
                inPlace = (previous == u'P' || previous == u'G') && isInt32(splitter.field(2)) &&
                          isInt32(splitter.field(3)) && isInt32(splitter.field(4));
                break;
            default:
                inPlace = previous != 0 && previous != u'E' && previous != u'R';
                break;
        }
        if (!inPlace) {
            return LinkReading::Malformed;
        }
        rounds += letter == u'R' ? 1 : 0;
        std::u16string record(tag->fileTag);
        record += std::u16string_view(line).substr(1, line.size() - 2);
        if (letter == u'P') {
            record += u',';  // the empty date
        }
        record += u'\n';
        // A record the writer makes fits a record line.
        if (record.size() > kMaxRecordUnits) {
            return LinkReading::Malformed;
        }
        const bool firstRound = rounds == 1 && (letter == u'P' || letter == u'G');
        (firstRound ? first : section) += record;
        previous = letter;
    }
    if (rounds == 0 || previous == u'R') {
        return LinkReading::Malformed;
    }
    std::string file;
    for (const std::u16string& line : linesOf(first + section)) {
        appendUtf16Le(file, line);
        file.append(2, '\0');
    }
    settingsFile = std::move(file);
    return LinkReading::Read;
}

}  // namespace ts::ui
