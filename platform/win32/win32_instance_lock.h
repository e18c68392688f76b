#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/instance_lock.h"

namespace ts::platform {

// One copy at a time: a named mutex marks the running copy. It is never
// waited on or released; it goes away with the process that made it. A
// later copy finds the top-level window titled with the same name and
// brings it to the front.
class Win32InstanceLock final : public InstanceLock {
public:
    explicit Win32InstanceLock(std::u16string_view name = kInstanceName);
    Win32InstanceLock(const Win32InstanceLock&) = delete;
    Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;
    ~Win32InstanceLock() = default;

    bool acquire() override;
    void activateRunningCopy() override;

private:
    std::wstring name_;
    HANDLE mutex_ = nullptr;  // kept for the life of the process
};

}  // namespace ts::platform
