#pragma once

#include <string>
#include <string_view>

#include "storage/settings_file.h"

// The whole evening in the settings file. The first round is written
// exactly as a single party always was (header 1.00, PEOPLE, GROUPs), so a
// reader of single parties reads the first round and stops at the header
// that follows; an evening of one plain round (Evening::isSingleParty) is
// nothing more. Otherwise a second header with the evening's version
// follows, then the evening's own records, in the same record syntax and
// name rules:
//
//   @TALLYSHARE/CONFIG,2.00
//   EVENING,<rounds>,<current round, 0 for the first>
//   ROUND,"<name>",<calculation: - none, y to the yen, u to the unit>
//       once per round; every round but the first is followed by its
//       PEOPLE record and its GROUP records
//   ORGANISER,"<group>",<member>          at most once
//   PAYEE,"<支払先>"                       at most once
//   MARK,"<group>",<member>,<amount>,<figure>   once per mark
//
// The evening's section is read strictly: any record it does not expect
// there, a count or value out of range, or a second mark for one member
// leaves the whole section unread (the evening is the first round alone)
// and the file counts as holding records this program does not read, so
// a save keeps it as `path`.bak before replacing it.
namespace ts {

class Evening;
class Store;

inline constexpr std::u16string_view kEveningVersion = u"2.00";

// The settings file's records of the evening, dated `date`, each ending in
// its line feed, without the zero unit that follows each line in the file.
std::u16string eveningRecords(const Evening& evening, const SaveDate& date);

// The same records with the date of every PEOPLE record left empty: what a
// link to the evening turns back into a settings file.
std::u16string undatedEveningRecords(const Evening& evening);

// Writes the evening to an open file, as eveningRecords with today's date.
void writeEvening(TextFile& file, const Evening& evening);

// How reading an evening went.
enum class EveningReading {
    Read,           // the whole file was read (a single party's file included)
    SectionUnread,  // the evening's section was refused or of a later version:
                    // the first round alone was read
    LaterUnread,    // the whole evening was read, but records of a later
                    // version follow it (a header of another version ends the
                    // evening's section as it ends the first)
};

// Reads a settings file into `evening`, whose first round takes the first
// section as readParty reads it (records added to what it holds) and whose
// later rounds, organiser, 支払先 and marks come from the evening's section
// (replacing its later rounds, organiser, 支払先 and marks, and naming the
// current round). Every round is read uncalculated: its calculation is
// the one asked for, to be run again (Evening::recalculateAll). A file
// without an evening's section leaves all but the first round alone.
EveningReading readEvening(TextFile& file, Evening& evening);

// The settings file's bytes for the evening (writeEvening): what a store
// keeps (storage/store.h).
std::string eveningFileBytes(const Evening& evening);
// Reads a settings file's bytes into the evening (readEvening).
EveningReading readEveningFile(std::string_view bytes, Evening& evening);
// Whether the bytes hold records that reading them as an evening leaves
// unread: a store keeps such a file as its copy before replacing it.
bool eveningHoldsUnread(std::string_view bytes);

// The evening in a store (Store::load, Store::save with the bytes above).
// loadEvening is false when the store held nothing readable; saveEvening
// when the bytes were not stored whole.
bool loadEvening(Store& store, Evening& evening);
bool saveEvening(Store& store, const Evening& evening);

// The evening saved to `path` crash-safely, as saveToPath saves a party
// (a previous file with records this program does not read is kept as
// `path`.bak first). False when it could not be written whole.
bool saveToPath(std::u16string_view path, const Evening& evening);
// Reads `path` into the evening; false when it cannot be opened.
bool loadFromPath(std::u16string_view path, Evening& evening);
// A file from elsewhere (a file the user picked, a link): only a settings
// file (isSettingsFile) of at most kMaxSettingsFileBytes whose evening
// section, if any, is read whole. It replaces the evening; false, with the
// evening left alone, otherwise.
bool importEvening(std::string_view bytes, Evening& evening);
// The same for the file at `path`.
bool importFromPath(std::u16string_view path, Evening& evening);

}  // namespace ts
