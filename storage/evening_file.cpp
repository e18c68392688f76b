#include "storage/evening_file.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "model/evening.h"
#include "model/group.h"
#include "model/party.h"
#include "storage/export_file.h"
#include "storage/field_splitter.h"
#include "storage/store.h"
#include "storage/text.h"
#include "storage/text_file.h"

namespace ts {

namespace {

constexpr std::u16string_view kEveningTag = u"EVENING";
constexpr std::u16string_view kRoundTag = u"ROUND";
constexpr std::u16string_view kOrganiserTag = u"ORGANISER";
constexpr std::u16string_view kPayeeTag = u"PAYEE";
constexpr std::u16string_view kMarkTag = u"MARK";

constexpr std::array<std::pair<Calculation, char16_t>, 3> kCalculationLetters{{
    {Calculation::None, u'-'},
    {Calculation::Plain, u'y'},
    {Calculation::Rounded, u'u'},
}};

std::u16string number(std::int64_t value) {
    return decimalText(value);
}

// The records of the evening, each ending in its line feed; PEOPLE records
// dated `date`, or with an empty date.
std::vector<std::u16string> recordLines(const Evening& evening,
                                        const std::optional<SaveDate>& date) {
    std::vector<std::u16string> lines;
    auto addRound = [&](const Party& party) {
        lines.push_back(date ? peopleRecord(party, *date) : undatedPeopleRecord(party));
        for (int i = 0; i < party.groupCount(); ++i) {
            lines.push_back(groupRecord(*party.groupAt(i)));
        }
    };
    lines.push_back(headerRecord());
    addRound(*evening.roundAt(0)->party);
    if (evening.isSingleParty()) {
        return lines;
    }

    std::u16string header(kConfigMagic);
    header += u',';
    header += kEveningVersion;
    header += u'\n';
    lines.push_back(std::move(header));
    lines.push_back(std::u16string(kEveningTag) + u',' + number(evening.roundCount()) + u',' +
                    number(evening.currentIndex()) + u'\n');
    for (int r = 0; r < evening.roundCount(); ++r) {
        const Round& round = *evening.roundAt(r);
        std::u16string tail = u",";
        for (const auto& [calculation, letter] : kCalculationLetters) {
            if (calculation == round.calculation) {
                tail += letter;
            }
        }
        tail += u'\n';
        lines.push_back(namedRecord(kRoundTag, round.title, tail));
        if (r > 0) {
            addRound(*round.party);
        }
    }
    if (evening.organiser && evening.organiser->member >= 1) {
        lines.push_back(namedRecord(kOrganiserTag, evening.organiser->group,
                                    u"," + number(evening.organiser->member) + u'\n'));
    }
    if (!evening.payee.empty()) {
        std::u16string payee = evening.payee;
        cutToWholeCharacters(payee, Evening::kMaxPayeeUnits);
        lines.push_back(namedRecord(kPayeeTag, payee, u"\n"));
    }
    // A mark the reader would refuse is not written, nor a second one for a
    // member whose group name the record had to shorten to another's.
    FieldSplitter splitter;
    splitter.addSeparator(u',');
    std::set<MemberKey> written;
    for (const auto& [key, mark] : evening.marks) {
        if (key.member < 1 || !mark.valid()) {
            continue;
        }
        std::u16string line = namedRecord(kMarkTag, key.group,
                                          u"," + number(key.member) + u',' + number(mark.amount) +
                                              u',' + number(mark.figure) + u'\n');
        splitter.split(line);
        if (written.insert(MemberKey{splitter.field(1), key.member}).second) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::u16string joined(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const std::u16string& line : lines) {
        text += line;
    }
    return text;
}

bool strictInt32(std::u16string_view field, std::int32_t low, std::int32_t& value) {
    std::int64_t wide = 0;
    if (!readNumber(field, low, std::numeric_limits<std::int32_t>::max(), wide)) {
        return false;
    }
    value = static_cast<std::int32_t>(wide);
    return true;
}

bool isHeader(const FieldSplitter& splitter) {
    return splitter.fieldCount() == 2 && fieldEquals(splitter.field(0), kConfigMagic);
}

// The evening's section, record by record, read strictly into a stand-in
// that is applied only once the whole section has been read.
class SectionReader {
public:
    // False when the record refuses the whole section.
    bool take(const FieldSplitter& splitter);
    // Whether the records read make a whole section.
    bool complete() const {
        return declaredRounds_ > 0 && rounds_.size() == static_cast<std::size_t>(declaredRounds_) &&
               !awaitingPeople_;
    }
    // Puts what was read into the evening (first round: its title and
    // calculation; the rest replaced).
    void applyTo(Evening& evening);

private:
    bool takeRound(const FieldSplitter& splitter);
    bool takeGroup(const FieldSplitter& splitter);

    int declaredRounds_ = 0;
    int current_ = 0;
    std::vector<Round> rounds_;  // the first one without a party
    bool awaitingPeople_ = false;
    bool tail_ = false;  // the organiser, 支払先 and marks follow the rounds
    std::optional<MemberKey> organiser_;
    std::optional<std::u16string> payee_;
    std::map<MemberKey, Mark> marks_;
};

bool SectionReader::take(const FieldSplitter& splitter) {
    const int count = splitter.fieldCount();
    const std::u16string tag = splitter.field(0);
    if (declaredRounds_ == 0) {
        std::int64_t rounds = 0;
        std::int64_t current = 0;
        if (!fieldEquals(tag, kEveningTag) || count != 3 ||
            !readNumber(splitter.field(1), 1, Evening::kMaxRounds, rounds) ||
            !readNumber(splitter.field(2), 0, rounds - 1, current)) {
            return false;
        }
        declaredRounds_ = static_cast<int>(rounds);
        current_ = static_cast<int>(current);
        return true;
    }
    if (awaitingPeople_) {
        std::int32_t total = 0;
        std::int32_t unit = 0;
        if (!fieldEquals(tag, kPeopleTag) || count != 5 ||
            !strictInt32(splitter.field(2), std::numeric_limits<std::int32_t>::min(), total) ||
            !strictInt32(splitter.field(3), std::numeric_limits<std::int32_t>::min(), unit)) {
            return false;
        }
        Party& party = *rounds_.back().party;
        party.setName(splitter.field(1));
        party.total = total;
        party.unit = unit;
        awaitingPeople_ = false;
        return true;
    }
    if (fieldEquals(tag, kRoundTag) && count == 3 && !tail_) {
        return takeRound(splitter);
    }
    if (fieldEquals(tag, kGroupTag) && count == kGroupRecordFields && rounds_.size() > 1 &&
        !tail_) {
        return takeGroup(splitter);
    }
    // The organiser, 支払先 and marks come after every round.
    if (!complete()) {
        return false;
    }
    tail_ = true;
    if (fieldEquals(tag, kOrganiserTag) && count == 3 && !organiser_) {
        std::int32_t member = 0;
        if (!strictInt32(splitter.field(2), 1, member)) {
            return false;
        }
        organiser_ = MemberKey{splitter.field(1), member};
        return true;
    }
    if (fieldEquals(tag, kPayeeTag) && count == 2 && !payee_) {
        payee_ = splitter.field(1);
        return payee_->size() <= Evening::kMaxPayeeUnits;
    }
    if (fieldEquals(tag, kMarkTag) && count == 5) {
        std::int32_t member = 0;
        Mark mark;
        if (!strictInt32(splitter.field(2), 1, member) ||
            !readNumber(splitter.field(3), 0, Mark::kMaxAmount, mark.amount) ||
            !readNumber(splitter.field(4), -Mark::kMaxFigure, Mark::kMaxFigure, mark.figure)) {
            return false;
        }
        return marks_.emplace(MemberKey{splitter.field(1), member}, mark).second;
    }
    return false;
}

bool SectionReader::takeRound(const FieldSplitter& splitter) {
    if (rounds_.size() >= static_cast<std::size_t>(declaredRounds_)) {
        return false;
    }
    const std::u16string letter = splitter.field(2);
    const auto* found = std::find_if(
        kCalculationLetters.begin(), kCalculationLetters.end(),
        [&](const auto& each) { return letter.size() == 1 && each.second == letter[0]; });
    if (found == kCalculationLetters.end()) {
        return false;
    }
    Round round{nullptr, splitter.field(1), found->first, false};
    if (!rounds_.empty()) {
        // Every round but the first has its own PEOPLE and GROUP records.
        round.party = Party::create(u"");
        if (!round.party) {
            return false;
        }
        awaitingPeople_ = true;
    }
    rounds_.push_back(std::move(round));
    return true;
}

bool SectionReader::takeGroup(const FieldSplitter& splitter) {
    std::unique_ptr<Group> group = Group::create(splitter.field(1));
    if (!group) {
        return false;
    }
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    for (int i = 1; i < kStoredGroupFields; ++i) {
        if (!strictInt32(splitter.field(1 + i), kMin,
                         (*group).*kGroupFields[static_cast<std::size_t>(i)].value)) {
            return false;
        }
    }
    rounds_.back().party->addGroup(std::move(group));
    return true;
}

void SectionReader::applyTo(Evening& evening) {
    while (evening.roundCount() > 1) {
        evening.removeRound(evening.roundCount() - 1);
    }
    Round& first = *evening.roundAt(0);
    first.title = std::move(rounds_.front().title);
    first.calculation = rounds_.front().calculation;
    first.resultsCurrent = false;
    for (std::size_t r = 1; r < rounds_.size(); ++r) {
        evening.appendRound(std::move(rounds_[r]));
    }
    evening.setCurrent(current_);
    evening.organiser = std::move(organiser_);
    evening.payee = payee_ ? std::move(*payee_) : std::u16string();
    evening.marks = std::move(marks_);
}

struct Reading {
    EveningReading result = EveningReading::Read;
    bool sectionSeen = false;
};

Reading read(TextFile& file, Evening& evening) {
    Reading reading;
    if (!evening.ok()) {
        reading.result = EveningReading::SectionUnread;
        return reading;
    }
    FieldSplitter splitter;
    splitter.addSeparator(u',');
    std::u16string line;
    Party& first = *evening.roundAt(0)->party;
    // The first section, as a reader of single parties reads it, up to the
    // end of the file or a header of another version.
    bool atHeader = false;
    while (!atHeader && file.readLine(line)) {
        splitter.split(line);
        atHeader = !applyPartyRecord(splitter, first);
    }
    if (!atHeader) {
        return reading;  // a single party's file
    }
    if (!fieldEquals(splitter.field(1), kEveningVersion)) {
        reading.result = EveningReading::SectionUnread;
        return reading;
    }
    reading.sectionSeen = true;
    SectionReader section;
    bool later = false;
    while (file.readLine(line)) {
        splitter.split(line);
        if (splitter.fieldCount() == 1 && line.empty()) {
            continue;  // the zero unit after each record
        }
        if (isHeader(splitter) && !fieldEquals(splitter.field(1), kConfigVersion) &&
            !fieldEquals(splitter.field(1), kEveningVersion)) {
            later = true;  // a later version's records: the section ends here
            break;
        }
        if (!section.take(splitter)) {
            reading.result = EveningReading::SectionUnread;
            return reading;
        }
    }
    // A record cut short by the end of the file is a section cut short.
    if (!section.complete() || (!later && !line.empty())) {
        reading.result = EveningReading::SectionUnread;
        return reading;
    }
    section.applyTo(evening);
    reading.result = later ? EveningReading::LaterUnread : EveningReading::Read;
    return reading;
}

}  // namespace

std::u16string eveningRecords(const Evening& evening, const SaveDate& date) {
    return evening.ok() ? joined(recordLines(evening, date)) : std::u16string();
}

std::u16string undatedEveningRecords(const Evening& evening) {
    return evening.ok() ? joined(recordLines(evening, std::nullopt)) : std::u16string();
}

void writeEvening(TextFile& file, const Evening& evening) {
    if (!evening.ok()) {
        return;
    }
    for (const std::u16string& line : recordLines(evening, currentSaveDate())) {
        file.writeLine(line);
    }
}

EveningReading readEvening(TextFile& file, Evening& evening) {
    return read(file, evening).result;
}

std::string eveningFileBytes(const Evening& evening) {
    std::string bytes;
    TextFile file;
    if (file.openBytes(bytes)) {
        writeEvening(file, evening);
        file.close();
    }
    return bytes;
}

EveningReading readEveningFile(std::string_view bytes, Evening& evening) {
    TextFile file;
    return file.openBytes(bytes) ? readEvening(file, evening) : EveningReading::SectionUnread;
}

bool eveningHoldsUnread(std::string_view bytes) {
    Evening scratch = Evening::create();
    return !scratch.ok() || readEveningFile(bytes, scratch) != EveningReading::Read;
}

bool loadEvening(Store& store, Evening& evening) {
    std::string bytes;
    // Read once, into the evening itself: what the reading leaves unread
    // tells the store whether to keep a copy.
    return store.load(bytes, [&evening](std::string_view stored) {
        return readEveningFile(stored, evening) != EveningReading::Read;
    }) == Store::Reading::Read;
}

bool saveEvening(Store& store, const Evening& evening) {
    return evening.ok() && store.save(eveningFileBytes(evening), eveningHoldsUnread);
}

bool saveToPath(std::u16string_view path, const Evening& evening) {
    FileStore store{std::u16string(path)};
    return saveEvening(store, evening);
}

bool loadFromPath(std::u16string_view path, Evening& evening) {
    FileStore store{std::u16string(path)};
    return loadEvening(store, evening);
}

bool importEvening(std::string_view bytes, Evening& evening) {
    if (bytes.size() > kMaxSettingsFileBytes || !isSettingsFile(bytes)) {
        return false;
    }
    Evening imported = Evening::create();
    if (!imported.ok() || readEveningFile(bytes, imported) == EveningReading::SectionUnread) {
        return false;
    }
    evening = std::move(imported);
    return true;
}

bool importFromPath(std::u16string_view path, Evening& evening) {
    std::string bytes;
    return readFileBytes(path, bytes, kMaxSettingsFileBytes) && importEvening(bytes, evening);
}

}  // namespace ts
