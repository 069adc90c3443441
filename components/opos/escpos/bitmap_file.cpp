#include "escpos/bitmap_file.h"

#include <QFile>
#include <QImage>
#include <cstdlib>
#include <cstring>

namespace zorv::opos::escpos {
namespace {

int32_t LittleEndian32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return static_cast<int32_t>(value);
}

// The header says how large the picture is before Qt allocates anything.
std::string HeaderError(std::string_view bytes) {
    constexpr size_t kHeaderBytes = 26;
    if (bytes.size() < kHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return "not a BMP file";
    const int64_t width = LittleEndian32(bytes, 18);
    const int64_t height = std::llabs(static_cast<int64_t>(LittleEndian32(bytes, 22)));
    if (width <= 0 || height <= 0)
        return "the BMP file has no pixels";
    if (width > kMostBitmapSide || height > kMostBitmapSide)
        return "the bitmap is too large (" + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, at most " + std::to_string(kMostBitmapSide) + " per side)";
    return {};
}

GrayImage Gray(const QImage& image) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    GrayImage out{gray.width(), gray.height(), {}};
    out.luma.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.luma.data() + static_cast<size_t>(y) * out.width, gray.constScanLine(y), out.width);
    return out;
}

bool BlackAndWhite(const GrayImage& image) {
    for (const uint8_t luma : image.luma)
        if (luma != 0 && luma != 255)
            return false;
    return true;
}

} // namespace

LoadedBitmap LoadBmpBytes(std::string_view bytes, int paperDots) {
    LoadedBitmap result;
    if (bytes.size() > kMostBitmapBytes) {
        result.error = "the bitmap file is too large (more than 16 MB)";
        return result;
    }
    result.error = HeaderError(bytes);
    if (!result.ok())
        return result;
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                            "BMP")) {
        result.error = "the BMP file is damaged or uses an encoding that cannot be read";
        return result;
    }
    if (paperDots > 0 && image.width() > paperDots)
        image = image.scaledToWidth(paperDots, Qt::SmoothTransformation);
    // Transparent pixels print as paper, not as black.
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const double a = c.alphaF();
                flat.setPixelColor(x, y,
                                   QColor::fromRgbF(c.redF() * a + (1 - a), c.greenF() * a + (1 - a),
                                                    c.blueF() * a + (1 - a)));
            }
        image = flat;
    }
    const GrayImage gray = Gray(image);
    result.image = BlackAndWhite(gray) ? Threshold(gray) : Dither(gray);
    return result;
}

LoadedBitmap LoadBmpFile(const std::string& path, int paperDots) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {{}, "cannot read the bitmap file " + path};
    if (file.size() > static_cast<qint64>(kMostBitmapBytes))
        return {{}, "the bitmap file is too large (more than 16 MB)"};
    const QByteArray bytes = file.readAll();
    return LoadBmpBytes(std::string_view(bytes.constData(), bytes.size()), paperDots);
}

} // namespace zorv::opos::escpos
