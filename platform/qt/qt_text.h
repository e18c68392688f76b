#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace ts::platform {

// Program text (UTF-16) at the Qt edge.
inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace ts::platform
