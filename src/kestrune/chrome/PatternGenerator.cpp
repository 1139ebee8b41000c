// Writes the title bar's noise overlay at one and at two pixels per point:
// kestrune_titlebar_pattern <128-pixel file> <256-pixel file>
#include <bastwick/NoisePattern.h>

#include <QtGui/QImage>

#include <cstdio>

namespace {

bool writePattern(int side, const char *path)
{
    // Fine grey noise around the middle grey (112 to 143), opaque: laid over a gradient
    // in overlay mode it lightens and darkens it by a few steps only.
    QImage grey = Bastwick::noiseImage(side, side, 32.0 / 256.0);
    for (int y = 0; y < side; ++y) {
        uchar *row = grey.scanLine(y);
        for (int x = 0; x < side; ++x)
            row[x] = uchar(row[x] + 112);
    }
    return grey.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(path), "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <128-pixel png> <256-pixel png>\n", argv[0]);
        return 2;
    }
    if (!writePattern(128, argv[1]) || !writePattern(256, argv[2])) {
        std::fprintf(stderr, "%s: could not write the pattern images\n", argv[0]);
        return 1;
    }
    return 0;
}
