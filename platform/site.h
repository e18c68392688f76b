#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ts::platform {

// What the program can do where it is a site, with an address of its own and
// the user's files out of reach (the browser): links that carry a party to
// another device, and a file the user picks to read in. The entry point
// hands one to the program where there is one; whether the program offers
// these commands is Behaviour's to say (shareLinks, settingsFileInMenu).
class Site {
public:
    // The address of this site carrying `payload`, of the link format
    // `format` (storage/link_fragment.h), for another device to open; empty
    // when the link could not be made.
    virtual std::u16string linkTo(std::string_view payload, char format) = 0;
    // Shows `link` for the people around to open on their own devices: as a
    // QR code where it fits one that scans across a table, the link itself,
    // and a way to copy it. Returns once the user has closed it.
    virtual void showLink(std::u16string_view link) = 0;
    // Lets the user choose a file to open and returns its bytes: at most one
    // byte more than a settings file may hold (kMaxSettingsFileBytes), so
    // that a larger one is seen as such; nothing when cancelled.
    virtual std::optional<std::string> pickFile(std::u16string_view extension) = 0;

protected:
    ~Site() = default;
};

}  // namespace ts::platform
