#pragma once
// Pictures as the printer takes them: one bit per dot, printed with GS v 0.
// Grey pictures become dots by Floyd-Steinberg error diffusion, which keeps
// the average tone where a plain threshold would turn photographs into blots.
#include <cstdint>
#include <vector>

#include "protocols/escpos/commands.h"

namespace zorv::opos::escpos {

// Luminance per pixel, row by row: 0 black, 255 white.
struct GrayImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> luma;
};

// One byte per dot, row by row: 1 prints black.
struct MonoImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;

    bool operator==(const MonoImage&) const = default;
};

MonoImage Threshold(const GrayImage& image);
MonoImage Dither(const GrayImage& image);

// GS v 0 in bands of at most kRasterBandRows rows, rows padded to whole bytes.
Bytes RasterImage(const MonoImage& image);
constexpr int kRasterBandRows = 256;

} // namespace zorv::opos::escpos
