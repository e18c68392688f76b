// Draws the program icon at one size and writes it as a PNG for the
// desktop's icon theme, from the drawing in platform/qt/icon_drawing.cpp.
//
// Usage: icon_png SIZE OUTPUT.png
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/icon_drawing.h"

namespace {

constexpr int kMaxSize = 1024;

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const long size = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || size < 1 || size > kMaxSize) {
        std::fprintf(stderr, "%s: SIZE must be 1 to %d\n", argv[0], kMaxSize);
        return 2;
    }
    const QImage image = ts::platform::programIconImage(static_cast<int>(size));
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
