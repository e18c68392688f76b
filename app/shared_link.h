#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "app/application.h"
#include "platform/instance_lock.h"
#include "platform/window_system.h"

// A copy of the program opened from a link to someone's party (a site: the
// party rides in the address's fragment, storage/link_fragment.h): the
// party is shown read-only, beside whatever this device keeps, until the
// user takes it as this device's own party.
namespace ts::app {

// What opening a link needs of where the program runs.
class LinkHost {
public:
    // The link's data decompressed into `payload`: at most `limit` bytes (a
    // longer payload is cut there). False when the data is no compressed
    // payload (cut short, altered, made up).
    virtual bool inflate(std::string_view data, std::size_t limit, std::string& payload) = 0;
    // Waits until this copy may write the device's own party (as a second
    // copy waits for the first) and opens the store of the device's party.
    virtual std::unique_ptr<Store> openOwnParty() = 0;
    // Takes the link out of the address, so that the next start is the
    // device's own party.
    virtual void forgetLink() = 0;

protected:
    ~LinkHost() = default;
};

// Opens the link whose fragment is `fragment` (a party, or a whole evening
// of several rounds). One that cannot be read (cut, altered, too large, of a
// later version, an evening the settings file would not read whole) is said
// in an error box and changes nothing. A readable one is shown read-only
// until the user takes it; it is then read back like an imported settings
// file and saved, the whole evening, as the device's own (a failed save is
// said, and the view comes back with the shared party). Either way the link
// is then forgotten and `own`, the start of the device's own party, gets
// the store openOwnParty gave and, for a single party taken, the calculation
// it was shown with (an evening's rounds carry their own). False when the
// view ended otherwise (nothing is to start). The shared evening is kept in
// memory only.
bool openLink(platform::WindowSystem& windows, platform::InstanceLock& lock,
              std::string_view fragment, LinkHost& host, Startup& own);

}  // namespace ts::app
