#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/group_fields.h"

namespace ts {

class FieldSplitter;
class Group;
class Party;
class Store;
class TextFile;

inline constexpr std::u16string_view kConfigMagic = u"@TALLYSHARE/CONFIG";
inline constexpr std::u16string_view kConfigVersion = u"1.00";
inline constexpr std::u16string_view kPeopleTag = u"PEOPLE";
inline constexpr std::u16string_view kGroupTag = u"GROUP";

// Fields of a PEOPLE record: the tag, the party's name, total and unit, and
// the date of the save.
inline constexpr int kPeopleRecordFields = 5;
// Fields of a GROUP record: the tag and a group's stored fields, in the
// order of kGroupFields (model/group_fields.h).
inline constexpr int kGroupRecordFields = 1 + kStoredGroupFields;

// Room for a group's name in its GROUP record, in units of the record
// (see storedNameWidth), that holds whatever the group's numbers are: a
// record line has at most 255 units, line feed included, and the rest of a
// GROUP record takes at most the tag, the comma and two quotes around the
// name, a comma and a number of at most 11 units ("-2147483648") for each
// other stored field, and the line feed.
inline constexpr std::size_t kMaxRecordUnits = 255;
inline constexpr std::size_t kWidestNumberUnits = 11;
inline constexpr std::size_t kGroupNameRoom =
    kMaxRecordUnits -
    (kGroupTag.size() + 3 +
     static_cast<std::size_t>(kStoredGroupFields - 1) * (1 + kWidestNumberUnits) + 1);

// Units a name takes between the quotes of its record: each quote character
// (U+0022, U+0027) is written twice, a line feed or zero unit not at all.
// A name whose width is at most kGroupNameRoom survives a save and a load
// whole.
std::size_t storedNameWidth(std::u16string_view name);

// The settings file's bytes for the party (writeParty), dated by
// currentSaveDate(): what a store keeps (storage/store.h).
std::string settingsFileBytes(const Party& party);

// Reads a settings file's bytes into the party (readParty).
void readSettingsFile(std::string_view bytes, Party& party);

// Whether a settings file's bytes hold records this program does not read:
// a header that names another version. Such a file is kept as the store's
// copy before it is replaced (Store::save).
bool holdsUnreadRecords(std::string_view bytes);

// The party in a store: read from it at the start, saved to it after
// changes (Store::load, Store::save with the bytes above). loadParty is
// false when the store held nothing readable (the party is left as it was).
bool loadParty(Store& store, Party& party);
bool saveParty(Store& store, const Party& party);

// Writes the party to `path` (writeParty). False when the file could not be
// written whole; the previous file is then left as it was. A previous file
// that names another version is first kept as `path`.bak; if that copy
// cannot be made, nothing is replaced.
bool saveToPath(std::u16string_view path, const Party& party);

// Reads `path` into the party (readParty). False when the file cannot be
// opened.
bool loadFromPath(std::u16string_view path, Party& party);

// Writes the header, the PEOPLE record dated by currentSaveDate() and one
// GROUP record per group, in list order, to an open file. A failed write
// does not stop the later ones; the file reports it when it is closed.
void writeParty(TextFile& file, const Party& party);

// Applies one record of a settings file, as `splitter` split it, to the
// party as readParty does. False at a header of another version, where
// reading stops.
bool applyPartyRecord(const FieldSplitter& splitter, Party& party);

// Reads a whole settings file into the party, record by record: every
// PEOPLE record sets its name, total and unit, every GROUP record appends a
// group (so groups already in the party stay), and a header of another
// version ends the reading. Any other line is skipped.
void readParty(TextFile& file, Party& party);

// Whether `bytes` begin as a settings file of this version does: its header
// record, in UTF-16 units, up to the record's end. A file from elsewhere, or
// of another version, is not one.
bool isSettingsFile(std::string_view bytes);

// More than any party needs; a larger file is not read as one.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{16} << 20;

// Reads a settings file that reaches the program from elsewhere (a file the
// user picked, a party shared by link) into the party: only a settings file
// of this version (isSettingsFile) of at most kMaxSettingsFileBytes is read.
// False, with the party left alone, for anything else.
bool importSettings(std::string_view bytes, Party& party);
// The same for the file at `path`.
bool importFromPath(std::u16string_view path, Party& party);

// Integer value of a numeric field: leading blanks, an optional sign and the
// decimal digits that follow, up to the first other unit; 0 without digits;
// saturates at the int32 range.
std::int32_t fieldToInt(std::u16string_view field);

// A number as the writer writes it (an optional '-', then decimal digits
// without leading zeros) within [low, high], for the records read strictly;
// both bounds have at most 18 digits. False, with `value` left alone, for
// anything else.
bool readNumber(std::u16string_view field, std::int64_t low, std::int64_t high,
                std::int64_t& value);

// The date written into the PEOPLE record.
struct SaveDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
};
using SaveDateSource = SaveDate (*)();

// The local date from the system clock; the default source.
SaveDate localSaveDate();

// Replaces the clock that saves take their date from (tests fix the date
// this way); null restores the local date.
void setSaveDateSource(SaveDateSource source);

// The date a save made now writes, from the installed source.
SaveDate currentSaveDate();

// The records of the settings file, each ending in its line feed: the one
// writer behind the file, a rescued copy and the records printed when not
// even a rescued copy can be written. Names are shortened and their quotes
// doubled as storedNameWidth describes.
std::u16string headerRecord();
std::u16string peopleRecord(const Party& party, const SaveDate& date);
std::u16string groupRecord(const Group& group);
// tag,"name" followed by `tail`, which carries the line feed: the name
// shortened, and its quotes doubled, so that the line fits in
// kMaxRecordUnits units. Every record with a name is written this way.
std::u16string namedRecord(std::u16string_view tag, std::u16string_view name,
                           std::u16string_view tail);
// The PEOPLE record with its date field left empty: what a link to the
// party carries, since the reader never looks at the date.
std::u16string undatedPeopleRecord(const Party& party);
// Every record of the party in file order (header, PEOPLE, the groups in
// list order), dated `date`, without the zero unit that follows each line
// in the file; the reader takes the text the same either way.
std::u16string partyRecords(const Party& party, const SaveDate& date);

}  // namespace ts
