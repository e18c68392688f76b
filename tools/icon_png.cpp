// Draws the program icon at one size and writes it as a PNG for the
// desktop's icon theme. The shapes and numbers are those of
// resources/tally-share.svg (a 256-unit square), which the theme takes as
// the scalable icon; change both together.
//
// Usage: icon_png SIZE OUTPUT.png [maskable]
//
// "maskable" draws it for a home screen that cuts icons to its own shape:
// on a full white square, the drawing inside the middle 80 percent that
// every such shape keeps.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double kUnits = 256.0;  // the drawing's own square
constexpr int kMaxSize = 1024;

const QColor kInk(0x34, 0x40, 0x4C);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kLine(0x9A, 0xA7, 0xB4);

// One share of the split total: from `start` to `end` degrees, clockwise
// from three o'clock as in SVG.
struct Share {
    double start;
    double end;
    QColor colour;
};

void drawIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);

    // The receipt with its lines and its total.
    painter.setPen(QPen(kInk, 8));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(QRectF(36, 16, 144, 220), 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLine);
    painter.drawRect(QRectF(60, 48, 96, 12));
    painter.drawRect(QRectF(60, 76, 72, 12));
    painter.drawRect(QRectF(60, 104, 88, 12));
    painter.drawRect(QRectF(60, 132, 56, 12));
    painter.setBrush(kInk);
    painter.drawRect(QRectF(60, 168, 40, 14));

    // The total split into shares of different size.
    const QPointF centre(176, 180);
    constexpr double radius = 64;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    const Share shares[] = {
        {-90, 50, QColor(0xD2, 0x4B, 0x3E)},
        {50, 170, QColor(0xF5, 0xC4, 0x31)},
        {170, 270, QColor(0x3E, 0x7C, 0xD2)},
    };
    for (const Share& share : shares) {
        QPainterPath slice(centre);
        // Qt counts angles counter-clockwise, SVG clockwise (y grows down).
        slice.arcTo(circle, -share.start, -(share.end - share.start));
        slice.closeSubpath();
        painter.fillPath(slice, share.colour);
    }
    QPen divider(kPaper, 6);
    divider.setCapStyle(Qt::RoundCap);
    painter.setPen(divider);
    for (const Share& share : shares) {
        QPainterPath edge(centre);
        edge.arcMoveTo(circle, -share.start);
        painter.drawLine(centre, edge.currentPosition());
    }
    painter.setPen(QPen(kInk, 8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool maskable = argc == 4 && std::strcmp(argv[3], "maskable") == 0;
    if (argc != 3 && !maskable) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png [maskable]\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const long size = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || size < 1 || size > kMaxSize) {
        std::fprintf(stderr, "%s: SIZE must be 1 to %d\n", argv[0], kMaxSize);
        return 2;
    }
    const int pixels = static_cast<int>(size);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(maskable ? kPaper : QColor(Qt::transparent));
    {
        QPainter painter(&image);
        if (maskable) {
            constexpr double kSafeZone = 0.8;
            painter.translate(pixels * (1 - kSafeZone) / 2, pixels * (1 - kSafeZone) / 2);
            painter.scale(kSafeZone, kSafeZone);
        }
        painter.scale(pixels / kUnits, pixels / kUnits);
        drawIcon(painter);
    }
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
