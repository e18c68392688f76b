#pragma once

// When the settings file cannot be written while the program is asked to
// quit (a signal, the end of the session), nobody can be asked what to do:
// the party goes to a rescued copy in the user's own folder instead, and the
// next start tells the user where it is.

#include <string>
#include <string_view>
#include <vector>

#include "model/evening.h"
#include "model/party.h"

namespace ts::app {

// A local date and time, to the second.
struct Moment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, from the system clock in the local time zone.
Moment localMoment();

// "ts.cfg.rescued-YYYYMMDD-hhmmss".
std::u16string rescuedFileName(const Moment& when);

// Writes the party, in the settings file's own format, to a new rescued
// copy in `folder` (created, private to the user, when missing). Returns
// the copy's path, or empty when it could not be written.
std::u16string rescueParty(std::u16string_view folder, const Party& party, const Moment& when);

// The party as the settings file's records in UTF-8, one a line, dated
// today: the last resort when not even a rescued copy could be written.
// Converted to UTF-16LE they load as a settings file.
std::string partyRecords(const Party& party);

// The same for the whole evening: every round, the organiser, 支払先 and
// the marks, in the settings file's format.
std::u16string rescueEvening(std::u16string_view folder, const Evening& evening,
                             const Moment& when);
std::string eveningRecords(const Evening& evening);

// The rescued copies in `folder` that the user has not been notified of yet,
// as full paths, oldest first.
std::vector<std::u16string> unnotifiedRescues(std::u16string_view folder);

// Remembers that the user has been notified of every rescued copy now in
// `folder`. False when the note could not be written (they are notified again).
bool markRescuesNotified(std::u16string_view folder);

}  // namespace ts::app
