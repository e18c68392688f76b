#pragma once

#include <string_view>

#include "platform/instance_lock.h"

namespace ts::platform {

// One tab per browser holds the party: the Web Locks API gives the lock
// "TALLY-SHARE" to the first tab for as long as it lives, and the tab
// listens on a BroadcastChannel of that name for requests to come forward.
class WebInstanceLock final : public InstanceLock {
public:
    // True when this tab holds the lock, also when the browser has no Web
    // Locks (the page then runs rather than refusing to).
    bool acquire() override;
    // Asks the tab that holds the lock to come forward.
    void activateRunningCopy() override;
    // Shows `notice` in place of the windows and waits until the tab that
    // holds the lock has gone; this tab holds it then.
    void waitForTurn(std::u16string_view notice);

private:
    bool held_ = false;
};

}  // namespace ts::platform
