#pragma once

#include <string>
#include <string_view>

#include <QString>

#include "platform/window_system.h"

namespace ts::platform {

// Program text (UTF-16) at the Qt edge.
inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A control's text as an item read delivers it: at most kMaxItemText units.
inline std::u16string cutItemText(const QString& text) {
    std::u16string result = text.toStdU16String();
    if (result.size() > kMaxItemText) {
        result.resize(kMaxItemText);
    }
    return result;
}

}  // namespace ts::platform
