#pragma once

#include <QImage>

class QPainter;

namespace ts::platform {

// The program icon, the one drawing behind every icon of the program: the
// Qt windows' icon, the desktop theme's PNGs (tools/icon_png) and the
// scalable resources/tally-share.svg, whose shapes and numbers these are
// (a 256-unit square); change both together.

// Draws the icon into the square (0, 0, pixels, pixels) of `painter`.
void drawProgramIcon(QPainter& painter, int pixels);

// The icon at `pixels` x `pixels`, on a transparent background.
QImage programIconImage(int pixels);

}  // namespace ts::platform
