#include <bastwick/NoisePattern.h>

#include <random>

namespace Bastwick {

namespace {
constexpr std::uint32_t kNoiseSeed = 124;
}

QByteArray noiseBytes(int width, int height, double factor)
{
    if (width <= 0 || height <= 0)
        return {};
    const qsizetype count = qsizetype(width) * height;
    QByteArray bytes(count, Qt::Uninitialized);
    // A standard-defined engine: the same sequence on every platform and library.
    std::mt19937 engine(kNoiseSeed);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = char(static_cast<unsigned char>(double(engine() % 256) * factor));
    return bytes;
}

QImage noiseImage(int width, int height, double factor)
{
    const QByteArray bytes = noiseBytes(width, height, factor);
    if (bytes.isEmpty())
        return {};
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        std::copy_n(bytes.constData() + qsizetype(y) * width, width, image.scanLine(y));
    return image;
}

} // namespace Bastwick
