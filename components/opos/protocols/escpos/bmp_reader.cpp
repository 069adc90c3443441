#include "protocols/escpos/bmp_reader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zorv::opos::escpos {
namespace {

constexpr size_t kMostBytes = 16 * 1024 * 1024;
constexpr int64_t kMostSide = 8192;
constexpr size_t kFileHeader = 14;

uint32_t U32(std::string_view b, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(b[at + i]);
    return value;
}

uint16_t U16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint8_t Luma(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint8_t>((299 * r + 587 * g + 114 * b) / 1000);
}

struct Header {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    int bits = 0;
    size_t pixels = 0;
    size_t palette = 0;
    int colours = 0;
};

std::string ReadHeader(std::string_view b, Header& h) {
    if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M')
        return "not a BMP file";
    const uint32_t infoSize = U32(b, 14);
    if (infoSize < 40 || kFileHeader + infoSize > b.size())
        return "the BMP header is not one this reader knows";
    const int64_t width = static_cast<int32_t>(U32(b, 18));
    const int64_t height = static_cast<int32_t>(U32(b, 22));
    if (width <= 0 || height == 0)
        return "the BMP file has no pixels";
    if (width > kMostSide || std::llabs(height) > kMostSide)
        return "the bitmap is too large (" + std::to_string(width) + " x " +
               std::to_string(std::llabs(height)) + " pixels, at most " + std::to_string(kMostSide) +
               " per side)";
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(std::llabs(height));
    h.bottomUp = height > 0;
    h.bits = U16(b, 28);
    const uint32_t compression = U32(b, 30);
    // Bit fields are accepted for 32 bits when they are the usual BGRA masks.
    if (compression != 0 && !(compression == 3 && h.bits == 32))
        return "compressed BMP files are not supported";
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24 && h.bits != 32)
        return "BMP files of " + std::to_string(h.bits) + " bits per pixel are not supported";
    h.pixels = U32(b, 10);
    h.palette = kFileHeader + infoSize + (compression == 3 && infoSize == 40 ? 12 : 0);
    const uint32_t used = U32(b, 46);
    h.colours = h.bits <= 8 ? (used != 0 && used < (1u << h.bits) ? static_cast<int>(used) : 1 << h.bits) : 0;
    const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
    if (h.palette + static_cast<size_t>(h.colours) * 4 > b.size() || h.pixels > b.size() ||
        b.size() - h.pixels < stride * h.height)
        return "the BMP file is shorter than its header says";
    return {};
}

GrayImage Decode(std::string_view b, const Header& h) {
    const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
    GrayImage out{h.width, h.height, std::vector<uint8_t>(static_cast<size_t>(h.width) * h.height)};
    for (int y = 0; y < h.height; ++y) {
        const size_t row = h.pixels + stride * static_cast<size_t>(h.bottomUp ? h.height - 1 - y : y);
        for (int x = 0; x < h.width; ++x) {
            uint8_t luma = 255;
            if (h.bits <= 8) {
                const size_t bit = static_cast<size_t>(x) * h.bits;
                const uint8_t byte = static_cast<uint8_t>(b[row + bit / 8]);
                const int index = (byte >> (8 - h.bits - bit % 8)) & ((1 << h.bits) - 1);
                if (index < h.colours) {
                    const size_t at = h.palette + static_cast<size_t>(index) * 4;
                    luma = Luma(static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]),
                                static_cast<uint8_t>(b[at]));
                }
            } else {
                const size_t at = row + static_cast<size_t>(x) * (h.bits / 8);
                luma = Luma(static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]),
                            static_cast<uint8_t>(b[at]));
            }
            out.luma[static_cast<size_t>(y) * h.width + x] = luma;
        }
    }
    return out;
}

// Each dot the average of the pixels it covers.
GrayImage ScaleToWidth(const GrayImage& in, int width) {
    // Rounded, so that the picture keeps its proportions as closely as dots allow.
    const int height =
        std::max(1, static_cast<int>((static_cast<int64_t>(in.height) * width + in.width / 2) / in.width));
    GrayImage out{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const int y0 = static_cast<int>(static_cast<int64_t>(y) * in.height / height);
        const int y1 = std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * in.height / height));
        for (int x = 0; x < width; ++x) {
            const int x0 = static_cast<int>(static_cast<int64_t>(x) * in.width / width);
            const int x1 = std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * in.width / width));
            uint64_t sum = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    sum += in.luma[static_cast<size_t>(sy) * in.width + sx];
            out.luma[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(sum / static_cast<uint64_t>((y1 - y0) * (x1 - x0)));
        }
    }
    return out;
}

bool BlackAndWhite(const GrayImage& image) {
    for (const uint8_t luma : image.luma)
        if (luma != 0 && luma != 255)
            return false;
    return true;
}

} // namespace

ReadBitmap ReadBmp(std::string_view bytes, int paperDots) {
    if (bytes.size() > kMostBytes)
        return {{}, "the bitmap file is too large (more than 16 MB)"};
    Header header;
    if (std::string error = ReadHeader(bytes, header); !error.empty())
        return {{}, error};
    GrayImage gray = Decode(bytes, header);
    if (paperDots > 0 && gray.width > paperDots)
        gray = ScaleToWidth(gray, paperDots);
    return {BlackAndWhite(gray) ? Threshold(gray) : Dither(gray), {}};
}

ReadBitmap ReadBmpFile(const std::string& path, int paperDots) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {{}, "cannot read the bitmap file " + path};
    if (std::filesystem::file_size(path, error) > kMostBytes || error)
        return {{}, "the bitmap file is too large (more than 16 MB)"};
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    return ReadBmp(bytes, paperDots);
}

} // namespace zorv::opos::escpos
