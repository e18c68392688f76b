// Draws the program icon, from the drawing in platform/qt/icon_drawing.cpp,
// as the files the platforms take it from:
//
//   icon_png SIZE OUTPUT.png|OUTPUT.xpm   one size, for the desktop's icon
//                                         theme and share/pixmaps
//   icon_png SIZE OUTPUT.png maskable     for a home screen that cuts icons
//                                         to its own shape: on a white square,
//                                         inside the middle 80 percent
//   icon_png --ico OUTPUT.ico SIZE...     the Windows icon with every size,
//                                         as 32-bit images with alpha
//
// The Windows build has no Qt, so resources/windows/tally-share.ico is made
// with the second form and kept in the repository.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/qt/icon_drawing.h"

namespace {

constexpr int kMaxSize = 1024;
constexpr int kMaxIcoSize = 256;

bool parseSize(const char* text, int limit, int& size) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > limit) {
        return false;
    }
    size = static_cast<int>(value);
    return true;
}

void putLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// One icon image: a BITMAPINFOHEADER of twice the height, the BGRA rows
// bottom up, then the AND mask (all zero: the alpha decides).
QByteArray dibOf(const QImage& drawn) {
    const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    QByteArray out;
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(size), 4);
    putLe(out, static_cast<std::uint32_t>(2 * size), 4);
    putLe(out, 1, 2);   // planes
    putLe(out, 32, 2);  // bits per pixel
    putLe(out, 0, 4);   // no compression
    const int maskRow = ((size + 31) / 32) * 4;
    putLe(out, static_cast<std::uint32_t>(size * size * 4 + maskRow * size), 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            putLe(out, row[x], 4);  // ARGB32 in memory is B, G, R, A
        }
    }
    out.append(QByteArray(static_cast<qsizetype>(maskRow) * size, '\0'));
    return out;
}

bool writeIco(const QString& path, const std::vector<int>& sizes) {
    std::vector<QByteArray> images;
    images.reserve(sizes.size());
    for (const int size : sizes) {
        images.push_back(dibOf(ts::platform::programIconImage(size)));
    }
    QByteArray out;
    putLe(out, 0, 2);
    putLe(out, 1, 2);  // icon
    putLe(out, static_cast<std::uint32_t>(sizes.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const auto side = static_cast<std::uint32_t>(sizes[i] % 256);  // 0 stands for 256
        putLe(out, side, 1);
        putLe(out, side, 1);
        putLe(out, 0, 1);  // no palette
        putLe(out, 0, 1);
        putLe(out, 1, 2);
        putLe(out, 32, 2);
        putLe(out, static_cast<std::uint32_t>(images[i].size()), 4);
        putLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.append(image);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc >= 4 && QByteArray(argv[1]) == "--ico") {
        std::vector<int> sizes;
        for (int i = 3; i < argc; ++i) {
            int size = 0;
            if (!parseSize(argv[i], kMaxIcoSize, size)) {
                std::fprintf(stderr, "%s: an icon size must be 1 to %d\n", argv[0], kMaxIcoSize);
                return 2;
            }
            sizes.push_back(size);
        }
        return writeIco(QString::fromLocal8Bit(argv[2]), sizes) ? 0 : 1;
    }
    const bool maskable = argc == 4 && QByteArray(argv[3]) == "maskable";
    if (argc != 3 && !maskable) {
        std::fprintf(stderr,
                     "usage: %s SIZE OUTPUT.png|OUTPUT.xpm [maskable]\n"
                     "       %s --ico OUTPUT.ico SIZE...\n",
                     argv[0], argv[0]);
        return 2;
    }
    int size = 0;
    if (!parseSize(argv[1], kMaxSize, size)) {
        std::fprintf(stderr, "%s: SIZE must be 1 to %d\n", argv[0], kMaxSize);
        return 2;
    }
    QImage image = ts::platform::programIconImage(size);
    if (maskable) {
        constexpr double kSafeZone = 0.8;
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(size * (1 - kSafeZone) / 2, size * (1 - kSafeZone) / 2);
        painter.scale(kSafeZone, kSafeZone);
        ts::platform::drawProgramIcon(painter, size);
    }
    // The file's ending names its format.
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
