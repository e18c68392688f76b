#pragma once

#include <string_view>

namespace ts::platform {

// The name the lock goes by on every system (a named mutex, a socket's
// folder, the browser's Web Lock and the channel its tabs talk on); the
// first copy's window has the same caption.
inline constexpr std::u16string_view kInstanceName = u"TALLY-SHARE";

// The rule that only one copy of the program runs. The first copy holds a
// lock for as long as it lives and answers requests to bring its window to
// the front; a later copy finds the lock taken and sends such a request.
class InstanceLock {
public:
    // True when this process is the first copy, also when no lock could be
    // had at all (the program then runs rather than refusing to start).
    virtual bool acquire() = 0;
    // Asks the running copy to raise and activate its window; returns within
    // a bounded time whether or not it answered.
    virtual void activateRunningCopy() = 0;

protected:
    ~InstanceLock() = default;
};

}  // namespace ts::platform
