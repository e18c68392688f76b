#include "storage/settings_file.h"

#include <algorithm>
#include <string>

#include "model/group.h"
#include "model/party.h"
#include "storage/export_file.h"
#include "storage/field_splitter.h"
#include "storage/store.h"
#include "storage/system.h"
#include "storage/text.h"
#include "storage/text_file.h"

namespace ts {

namespace {

// Longest record line, line feed included: what readLine gives back whole.
constexpr std::size_t kMaxRecord = TextFile::kMaxLine;
static_assert(kMaxRecord == kMaxRecordUnits);

SaveDateSource dateSource = nullptr;

// Appends `name` as the inside of a quoted field, at most `budget` units.
// Every quote character is written twice so that the reader keeps it. A
// line feed or zero unit would end the line early, so those are left out
// (the reader could never give them back anyway). A name that does not fit
// is cut at a character boundary, never inside a surrogate pair or a
// doubled quote.
void appendQuotedName(std::u16string& line, std::u16string_view name, std::size_t budget) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit == u'\n' || unit == u'\0') {
            continue;
        }
        const bool pair = isSurrogatePairAt(name, i);
        const std::size_t width = (FieldSplitter::isQuote(unit) || pair) ? 2 : 1;
        if (used + width > budget) {
            return;
        }
        used += width;
        if (FieldSplitter::isQuote(unit)) {
            line.push_back(unit);
            line.push_back(unit);
        } else if (pair) {
            line.push_back(unit);
            line.push_back(name[++i]);
        } else {
            line.push_back(unit);
        }
    }
}

// Appends `separator` and the decimal text of `value`.
void appendField(std::u16string& text, char16_t separator, std::int32_t value) {
    text.push_back(separator);
    text.append(decimalText(value));
}

bool isBlank(char16_t unit) {
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == u'\u3000';
}

bool isOtherVersionHeader(const FieldSplitter& splitter) {
    return splitter.fieldCount() == 2 && fieldEquals(splitter.field(0), kConfigMagic) &&
           !fieldEquals(splitter.field(1), kConfigVersion);
}

void useCommaOnly(FieldSplitter& splitter) {
    splitter.clearSeparators();
    splitter.addSeparator(u',');
}

}  // namespace

std::u16string namedRecord(std::u16string_view tag, std::u16string_view name,
                           std::u16string_view tail) {
    std::u16string line;
    line.reserve(kMaxRecord);
    line.append(tag);
    line.append(u",\"");
    const std::size_t fixed = line.size() + 1 + tail.size();
    appendQuotedName(line, name, fixed < kMaxRecord ? kMaxRecord - fixed : 0);
    line.push_back(u'"');
    line.append(tail);
    return line;
}

std::size_t storedNameWidth(std::u16string_view name) {
    std::size_t width = 0;
    for (const char16_t unit : name) {
        if (unit == u'\n' || unit == u'\0') {
            continue;
        }
        width += FieldSplitter::isQuote(unit) ? 2 : 1;
    }
    return width;
}

SaveDate localSaveDate() {
    sys::LocalDate local{};
    if (!sys::localDate(local)) {
        return SaveDate{1970, 1, 1};
    }
    SaveDate date;
    date.year = static_cast<std::uint16_t>(std::clamp(local.year, 0, 65535));
    date.month = static_cast<std::uint16_t>(local.month);
    date.day = static_cast<std::uint16_t>(local.day);
    return date;
}

void setSaveDateSource(SaveDateSource source) {
    dateSource = source;
}

SaveDate currentSaveDate() {
    return dateSource != nullptr ? dateSource() : localSaveDate();
}

std::u16string headerRecord() {
    std::u16string header;
    header.append(kConfigMagic);
    header.push_back(u',');
    header.append(kConfigVersion);
    header.push_back(u'\n');
    return header;
}

// The PEOPLE record, with `date` written into its last field.
static std::u16string peopleRecordDated(const Party& party, std::u16string_view date) {
    std::u16string tail;
    appendField(tail, u',', party.total);
    appendField(tail, u',', party.unit);
    tail.push_back(u',');
    tail.append(date);
    tail.push_back(u'\n');
    return namedRecord(kPeopleTag, party.name(), tail);
}

std::u16string peopleRecord(const Party& party, const SaveDate& date) {
    std::u16string written = decimalText(date.year);
    appendField(written, u'/', date.month);
    appendField(written, u'/', date.day);
    return peopleRecordDated(party, written);
}

std::u16string undatedPeopleRecord(const Party& party) {
    return peopleRecordDated(party, {});
}

std::u16string groupRecord(const Group& group) {
    std::u16string tail;
    for (int i = 1; i < kStoredGroupFields; ++i) {
        appendField(tail, u',', group.*kGroupFields[static_cast<std::size_t>(i)].value);
    }
    tail.push_back(u'\n');
    return namedRecord(kGroupTag, group.name(), tail);
}

std::u16string partyRecords(const Party& party, const SaveDate& date) {
    std::u16string text = headerRecord();
    text += peopleRecord(party, date);
    for (int i = 0; i < party.groupCount(); ++i) {
        text += groupRecord(*party.groupAt(i));
    }
    return text;
}

std::int32_t fieldToInt(std::u16string_view field) {
    std::size_t i = 0;
    while (i < field.size() && isBlank(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == u'-' || field[i] == u'+')) {
        negative = field[i] == u'-';
        ++i;
    }
    // Accumulate the magnitude wide and hold it at the int32 limit of its sign.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (field[i] - u'0');
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool readNumber(std::u16string_view field, std::int64_t low, std::int64_t high,
                std::int64_t& value) {
    const bool negative = !field.empty() && field[0] == u'-';
    const std::u16string_view digits = field.substr(negative ? 1 : 0);
    // Every bound fits in 18 digits, so the magnitude never overflows.
    if (digits.empty() || digits.size() > 18 || (digits[0] == u'0' && digits.size() > 1) ||
        (negative && digits == u"0")) {
        return false;
    }
    std::int64_t magnitude = 0;
    for (const char16_t unit : digits) {
        if (unit < u'0' || unit > u'9') {
            return false;
        }
        magnitude = magnitude * 10 + (unit - u'0');
    }
    const std::int64_t read = negative ? -magnitude : magnitude;
    if (read < low || read > high) {
        return false;
    }
    value = read;
    return true;
}

std::string settingsFileBytes(const Party& party) {
    std::string bytes;
    TextFile file;
    if (file.openBytes(bytes)) {
        writeParty(file, party);
        file.close();
    }
    return bytes;
}

void readSettingsFile(std::string_view bytes, Party& party) {
    TextFile file;
    if (file.openBytes(bytes)) {
        readParty(file, party);
    }
}

bool holdsUnreadRecords(std::string_view bytes) {
    TextFile file;
    if (!file.openBytes(bytes)) {
        return false;
    }
    FieldSplitter splitter;
    useCommaOnly(splitter);
    std::u16string line;
    while (file.readLine(line)) {
        splitter.split(line);
        if (isOtherVersionHeader(splitter)) {
            return true;
        }
    }
    return false;
}

bool loadParty(Store& store, Party& party) {
    std::string bytes;
    if (store.load(bytes, holdsUnreadRecords) != Store::Reading::Read) {
        return false;
    }
    readSettingsFile(bytes, party);
    return true;
}

bool saveParty(Store& store, const Party& party) {
    return store.save(settingsFileBytes(party), holdsUnreadRecords);
}

bool saveToPath(std::u16string_view path, const Party& party) {
    FileStore store{std::u16string(path)};
    return saveParty(store, party);
}

bool isSettingsFile(std::string_view bytes) {
    std::u16string header;
    header.append(kConfigMagic);
    header.push_back(u',');
    header.append(kConfigVersion);
    // The header record ends with a line feed or a zero unit.
    if (bytes.size() < 2 * (header.size() + 1)) {
        return false;
    }
    for (std::size_t i = 0; i <= header.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        const auto unit = static_cast<char16_t>(low | (high << 8));
        if (i < header.size() ? unit != header[i] : (unit != u'\n' && unit != u'\0')) {
            return false;
        }
    }
    return true;
}

bool loadFromPath(std::u16string_view path, Party& party) {
    FileStore store{std::u16string(path)};
    return loadParty(store, party);
}

bool importSettings(std::string_view bytes, Party& party) {
    if (bytes.size() > kMaxSettingsFileBytes || !isSettingsFile(bytes)) {
        return false;
    }
    readSettingsFile(bytes, party);
    return true;
}

bool importFromPath(std::u16string_view path, Party& party) {
    std::string bytes;
    return readFileBytes(path, bytes, kMaxSettingsFileBytes) && importSettings(bytes, party);
}

void writeParty(TextFile& file, const Party& party) {
    file.writeLine(headerRecord());
    file.writeLine(peopleRecord(party, currentSaveDate()));
    for (int i = 0; i < party.groupCount(); ++i) {
        file.writeLine(groupRecord(*party.groupAt(i)));
    }
}

bool applyPartyRecord(const FieldSplitter& splitter, Party& party) {
    const int count = splitter.fieldCount();
    const std::u16string tag = splitter.field(0);
    if (fieldEquals(tag, kConfigMagic) && count == 2) {
        // A newer format: what follows is not ours to read.
        return fieldEquals(splitter.field(1), kConfigVersion);
    }
    if (fieldEquals(tag, kPeopleTag) && count == kPeopleRecordFields) {
        party.setName(splitter.field(1));
        party.total = fieldToInt(splitter.field(2));
        party.unit = fieldToInt(splitter.field(3));
        return true;
    }
    if (fieldEquals(tag, kGroupTag) && count == kGroupRecordFields) {
        std::unique_ptr<Group> group = Group::create(splitter.field(1));
        if (!group) {
            return true;
        }
        for (int i = 1; i < kStoredGroupFields; ++i) {
            (*group).*kGroupFields[static_cast<std::size_t>(i)].value =
                fieldToInt(splitter.field(1 + i));
        }
        party.addGroup(std::move(group));
        return true;
    }
    // Anything else, the empty line after each record included, is skipped.
    return true;
}

void readParty(TextFile& file, Party& party) {
    FieldSplitter splitter;
    useCommaOnly(splitter);
    std::u16string line;
    while (file.readLine(line)) {
        splitter.split(line);
        if (!applyPartyRecord(splitter, party)) {
            break;
        }
    }
}

}  // namespace ts
