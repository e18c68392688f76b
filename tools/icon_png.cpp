// Writes the program icon as a PNG for the desktop's icon theme, so that
// menus show it also where XPM files are not read.
//
// Usage: icon_png OUTPUT.png
#include <QImage>
#include <cstdio>

#include "resources/tally-share.xpm"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QImage icon(tally_share_xpm);
    return !icon.isNull() && icon.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
