#include "platform/win32/win32_accessibility.h"

#include <objbase.h>
#include <oleacc.h>

#include <string>

namespace ts::platform {

namespace {

// The GUIDs of oleacc.h, here so that no import library is needed for them.
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

constexpr LONG kObjectClient = OBJID_CLIENT;
constexpr LONG kChildSelf = CHILDID_SELF;

// The process's one service object, made on first use on the user-interface
// thread and kept for the life of the process.
IAccPropServices* services() {
    static IAccPropServices* const instance = [] {
        // The thread's apartment may already be set up (the file dialog does
        // it); a second call only counts up.
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(init) && init != RPC_E_CHANGED_MODE) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        void* made = nullptr;
        if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                    kAccPropServicesInterface, &made))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return static_cast<IAccPropServices*>(made);
    }();
    return instance;
}

}  // namespace

bool setAccessibleName(HWND control, std::u16string_view name) {
    IAccPropServices* props = services();
    if (props == nullptr || control == nullptr) {
        return false;
    }
    MSAAPROPID id = kNameProperty;
    if (name.empty()) {
        return SUCCEEDED(props->ClearHwndProps(control, kObjectClient, kChildSelf, &id, 1));
    }
    const std::wstring text(name.begin(), name.end());
    return SUCCEEDED(
        props->SetHwndPropStr(control, kObjectClient, kChildSelf, kNameProperty, text.c_str()));
}

void clearAccessibleName(HWND control) {
    IAccPropServices* props = services();
    if (props == nullptr || control == nullptr) {
        return;
    }
    MSAAPROPID id = kNameProperty;
    props->ClearHwndProps(control, kObjectClient, kChildSelf, &id, 1);
}

}  // namespace ts::platform
