#include "platform/qt/icon_drawing.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>

namespace ts::platform {

namespace {

constexpr double kUnits = 256.0;  // the drawing's own square

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

}  // namespace

void drawProgramIcon(QPainter& painter, int pixels) {
    painter.save();
    painter.scale(pixels / kUnits, pixels / kUnits);
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
    painter.restore();
}

QImage programIconImage(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawProgramIcon(painter, pixels);
    return image;
}

}  // namespace ts::platform
