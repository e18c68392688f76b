#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/result_export.h"

namespace ts {
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
// first and GROUP records after it, each with its five fields; anything
// else is Malformed and leaves the outputs alone.
LinkReading readPartyLinkPayload(std::string_view payload, std::string& settingsFile,
                                 Calculated& calculated);

}  // namespace ts::ui
