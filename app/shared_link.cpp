#include "app/shared_link.h"

#include <memory>
#include <utility>

#include "model/evening.h"
#include "resources/texts.h"
#include "storage/evening_file.h"
#include "storage/link_fragment.h"
#include "storage/settings_file.h"
#include "storage/store.h"
#include "ui/party_link.h"

namespace ts::app {

namespace {

struct SharedParty {
    std::string settingsFile;  // the bytes of a settings file
    // How a single party's figures were calculated; an evening's rounds
    // carry their own.
    Calculation calculation = Calculation::None;
};

Calculation calculationOf(ui::Calculated calculated) {
    switch (calculated) {
        case ui::Calculated::ToTheYen:
            return Calculation::Plain;
        case ui::Calculated::ToTheUnit:
            return Calculation::Rounded;
        case ui::Calculated::None:
            break;
    }
    return Calculation::None;
}

// The party `fragment` carries, or what to tell the user instead (empty
// when it was read).
std::u16string_view readSharedParty(std::string_view fragment, LinkHost& host,
                                    SharedParty& shared) {
    std::string data;
    char format = 0;
    switch (readLinkFragment(fragment, data, format)) {
        case FragmentReading::Read:
            break;
        case FragmentReading::Malformed:
            return text::kLinkUnreadable;
        case FragmentReading::TooLarge:
            return text::kLinkTooLarge;
        case FragmentReading::Newer:
            return text::kLinkNewer;
    }
    // One byte past the limit tells a payload that is too large from one
    // that fits.
    std::string payload;
    if (!host.inflate(data, ui::kMaxLinkPayload + 1, payload)) {
        return text::kLinkUnreadable;
    }
    ui::Calculated calculated = ui::Calculated::None;
    const ui::LinkReading reading =
        format == kEveningLinkFormat
            ? ui::readEveningLinkPayload(payload, shared.settingsFile)
            : ui::readPartyLinkPayload(payload, shared.settingsFile, calculated);
    switch (reading) {
        case ui::LinkReading::Read:
            shared.calculation = calculationOf(calculated);
            return {};
        case ui::LinkReading::TooLarge:
            return text::kLinkTooLarge;
        case ui::LinkReading::Malformed:
            break;
    }
    return text::kLinkUnreadable;
}

void showError(platform::WindowSystem& windows, std::u16string_view message) {
    windows.messageBox(message, text::kErrorCaption,
                       {platform::MessageButtons::Ok, platform::MessageIcon::Warning});
}

}  // namespace

bool openLink(platform::WindowSystem& windows, platform::InstanceLock& lock,
              std::string_view fragment, LinkHost& host, Startup& own) {
    SharedParty shared;
    const std::u16string_view refusal = readSharedParty(fragment, host, shared);
    // The evening is held to the settings file's rules before it is shown:
    // one the file would not read whole is no link to show.
    Evening check = Evening::create();
    if (!refusal.empty() || !importEvening(shared.settingsFile, check)) {
        showError(windows, refusal.empty() ? text::kLinkUnreadable : refusal);
        host.forgetLink();
        own.store = host.openOwnParty();
        return true;
    }

    for (;;) {
        // Someone else's party: nothing of it is saved and no command
        // changes it, so the view needs neither the lock nor the device's
        // storage.
        Startup view{.store = std::make_unique<MemoryStore>(shared.settingsFile),
                     .userFolder = {},
                     .behaviour = kSharedPartyView,
                     .calculation = shared.calculation,
                     .site = own.site};
        if (runApplication(windows, lock, std::move(view)) != kTakeSharedParty) {
            return false;
        }
        std::unique_ptr<Store> ownStore = host.openOwnParty();
        // Read as 設定ファイルを読み込む… reads a file, so that a shared evening
        // is held to the same rules as an imported one.
        Evening evening = Evening::create();
        const bool read = evening.ok() && importEvening(shared.settingsFile, evening);
        if (!read) {
            showError(windows, text::kLinkUnreadable);
        } else if (!ownStore || !saveEvening(*ownStore, evening)) {
            // The shared party comes back into view, to be taken again once
            // the storage has room.
            showError(windows, text::kStoreFailed);
            continue;
        }
        host.forgetLink();
        own.store = std::move(ownStore);
        if (read) {
            own.calculation = shared.calculation;
        }
        return true;
    }
}

}  // namespace ts::app
