#pragma once

namespace ts::platform {

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
