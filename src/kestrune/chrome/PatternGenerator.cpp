// Writes the title bar's noise overlay at one and at two pixels per point:
// kestrune_titlebar_pattern <128-pixel file> <256-pixel file>
#include <bastwick/NoisePattern.h>

#include <QtGui/QImage>

#include <cstdio>

namespace {

bool writePattern(int side, const char *path)
{
    // Full grey noise, opaque: the bar lays it over its gradient at low opacity.
    const QImage grey = Bastwick::noiseImage(side, side, 1.0);
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
