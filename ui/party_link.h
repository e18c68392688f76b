#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/result_export.h"

namespace ts {
class Evening;
class Party;
}  // namespace ts

// A party as a link carries it to another device, before the link's own
// compression and encoding: the settings file's records (what ts.cfg holds,
// the save date aside) and how its figures were calculated, so that the
// other device shows what the sender sees.
namespace ts::ui {

// More than any party needs; a larger payload is not read.
inline constexpr std::size_t kMaxLinkPayload = std::size_t{64} << 10;

// The payload: a letter for the calculation ('-' none, 'y' to the yen, 'u'
// to the unit), a line feed, then the PEOPLE record with an empty date and
// one GROUP record per group, in UTF-8, each ending in a line feed.
std::string partyLinkPayload(const Party& party, Calculated calculated);

enum class LinkReading { Read, Malformed, TooLarge };

// Reads a payload back into the bytes of a settings file (UTF-16LE, the
// header first, each line followed by a zero unit), to be read like any
// settings file, and the calculation. Only what partyLinkPayload makes is
// read: a known letter, valid UTF-8 without zero units, one PEOPLE record
// first and GROUP records after it, each with its fields (kPeopleRecordFields,
// kGroupRecordFields in storage/settings_file.h); anything
// else is Malformed and leaves the outputs alone.
LinkReading readPartyLinkPayload(std::string_view payload, std::string& settingsFile,
                                 Calculated& calculated);

// What a link to the evening carries, and in which format.
struct LinkPayload {
    char format = '1';  // kLinkFormat or kEveningLinkFormat (storage/link_fragment.h)
    std::string payload;
};

// The evening's link payload: a single party (Evening::isSingleParty) in
// format 1 exactly as partyLinkPayload makes it, with the calculation its
// figures show; any other evening in format 2, the evening's settings-file
// records in UTF-8 (storage/evening_file.h) without the two headers and the
// dates, each under a one-letter tag, every round's records together:
//
//   E,<rounds>,<current round>                  (EVENING)
//   R,"<title>",<calculation: - y u>            (ROUND)     per round,
//   P,"<party name>",<total>,<unit>             (PEOPLE)    followed by
//   G,"<name>",<people>,<ratio>,<advance>       (GROUP)     its groups
//   O,"<group>",<member>                        (ORGANISER) at most once
//   Y,"<支払先>"                                 (PAYEE)     at most once
//   M,"<group>",<member>,<amount>,<figure>      (MARK)      per mark
LinkPayload eveningLinkPayload(const Evening& evening);

// Reads a format 2 payload back into the bytes of a settings file (as
// readPartyLinkPayload does), strictly: valid UTF-8 without zero units,
// the records above in that order with their field counts, and numbers as
// the writer writes them; anything else is Malformed and leaves the output
// alone. The evening's own rules (counts, members, marks) are the settings
// file's: the file made here is then read with importFromPath.
LinkReading readEveningLinkPayload(std::string_view payload, std::string& settingsFile);

}  // namespace ts::ui
