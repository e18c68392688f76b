#include "platform/qt/program_icon.h"

#include "platform/qt/icon_drawing.h"

namespace ts::platform {

namespace {

constexpr int kControlSize = 32;
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

QPixmap programIcon() {
    return QPixmap::fromImage(programIconImage(kControlSize));
}

QIcon programIcons() {
    // Drawn once per process: every window asks for it.
    static const QIcon icons = [] {
        QIcon all;
        for (const int size : kIconSizes) {
            all.addPixmap(QPixmap::fromImage(programIconImage(size)));
        }
        return all;
    }();
    return icons;
}

}  // namespace ts::platform
