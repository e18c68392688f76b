// The program in a browser tab: one tab holds the party (a later one waits
// for it), the settings file lives in the browser's storage (storage/web/),
// and the main window runs for as long as the tab. A link to someone's
// party (its fragment) is shown read-only first, beside the tab that holds
// the device's own party.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/application.h"
#include "app/shared_link.h"
#include "platform/site.h"
#include "platform/web/web_instance_lock.h"
#include "platform/web/web_link.h"
#include "platform/web/web_window_system.h"
#include "resources/texts.h"
#include "storage/web/store.h"

namespace {

class BrowserLinkHost final : public ts::app::LinkHost {
public:
    explicit BrowserLinkHost(ts::platform::WebInstanceLock& lock) : lock_(lock) {}

    bool inflate(std::string_view data, std::size_t limit, std::string& payload) override {
        return ts::platform::web::inflateLinkData(data, limit, payload);
    }
    std::unique_ptr<ts::Store> openOwnParty() override {
        if (!lock_.acquire()) {
            // Two tabs would be two writers of one file: bring the other
            // one forward and wait, writing nothing, until it has gone.
            lock_.activateRunningCopy();
            lock_.waitForTurn(ts::text::kOpenInAnotherTab);
        }
        // Read only once the party is this tab's, so that it is the latest.
        return ts::openBrowserStore(ts::text::kSettingsFileName);
    }
    void forgetLink() override { ts::platform::web::forgetPageFragment(); }

private:
    ts::platform::WebInstanceLock& lock_;
};

// Links to this site, shown with their QR code, and the page's file picker.
class BrowserSite final : public ts::platform::Site {
public:
    std::u16string linkTo(std::string_view payload, char format) override {
        return ts::platform::web::linkWithData(payload, format);
    }
    void showLink(std::u16string_view link) override { ts::platform::web::showLinkDialog(link); }
    std::optional<std::string> pickFile(std::u16string_view extension) override {
        return ts::platform::WebWindowSystem::pickFile(extension);
    }
};

}  // namespace

int main() {
    ts::platform::WebWindowSystem windows;
    ts::platform::WebInstanceLock lock;
    BrowserLinkHost host(lock);
    BrowserSite site;
    ts::app::Startup startup;
    startup.behaviour = ts::app::kBrowserTab;
    startup.site = &site;
    const std::string fragment = ts::platform::web::pageFragment();
    if (fragment.empty()) {
        startup.store = host.openOwnParty();
    } else if (!ts::app::openLink(windows, lock, fragment, host, startup)) {
        return 0;
    }
    return ts::app::runApplication(windows, lock, std::move(startup));
}
