#include "protocols/escpos/raster.h"

#include <algorithm>

namespace zorv::opos::escpos {
namespace {

constexpr int kMiddle = 128;

char Byte(int value) {
    return static_cast<char>(static_cast<uint8_t>(value));
}

// The error of each dot goes 7/16 right, 3/16 down-left, 5/16 down, 1/16 down-right.
void Spread(std::vector<int>& row, std::vector<int>& next, int x, int error) {
    const int width = static_cast<int>(row.size());
    if (x + 1 < width) {
        row[x + 1] += error * 7 / 16;
        next[x + 1] += error / 16;
    }
    if (x > 0)
        next[x - 1] += error * 3 / 16;
    next[x] += error * 5 / 16;
}

void Band(const MonoImage& image, int top, int rows, Bytes& out) {
    const int rowBytes = (image.width + 7) / 8;
    out += Bytes{
        kGs, 'v', '0', 0, Byte(rowBytes & 0xFF), Byte(rowBytes >> 8), Byte(rows & 0xFF), Byte(rows >> 8)};
    for (int y = top; y < top + rows; ++y) {
        const uint8_t* dots = image.dots.data() + static_cast<size_t>(y) * image.width;
        for (int xb = 0; xb < rowBytes; ++xb) {
            int packed = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = xb * 8 + bit;
                if (x < image.width && dots[x] != 0)
                    packed |= 0x80 >> bit;
            }
            out.push_back(Byte(packed));
        }
    }
}

} // namespace

MonoImage Threshold(const GrayImage& image) {
    MonoImage mono{image.width, image.height, std::vector<uint8_t>(image.luma.size())};
    std::transform(image.luma.begin(), image.luma.end(), mono.dots.begin(),
                   [](uint8_t luma) { return luma < kMiddle ? 1 : 0; });
    return mono;
}

MonoImage Dither(const GrayImage& image) {
    MonoImage mono{image.width, image.height, std::vector<uint8_t>(image.luma.size())};
    std::vector<int> row(image.width), next(image.width);
    for (int x = 0; x < image.width; ++x)
        row[x] = image.height > 0 ? image.luma[x] : 0;
    for (int y = 0; y < image.height; ++y) {
        const size_t base = static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x)
            next[x] = y + 1 < image.height ? image.luma[base + image.width + x] : 0;
        for (int x = 0; x < image.width; ++x) {
            const bool black = row[x] < kMiddle;
            mono.dots[base + x] = black ? 1 : 0;
            Spread(row, next, x, row[x] - (black ? 0 : 255));
        }
        std::swap(row, next);
    }
    return mono;
}

Bytes RasterImage(const MonoImage& image) {
    Bytes out;
    if (image.width <= 0 || image.height <= 0)
        return out;
    for (int top = 0; top < image.height; top += kRasterBandRows)
        Band(image, top, std::min(kRasterBandRows, image.height - top), out);
    return out;
}

} // namespace zorv::opos::escpos
