#include "platform/win32/program_icon.h"

#include "resources/dialog_template.h"

namespace ts::platform {

HICON programIcon(bool small) {
    const int width = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    const int height = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(res::kIconResource), IMAGE_ICON, width,
                                         height, LR_SHARED));
}

}  // namespace ts::platform
