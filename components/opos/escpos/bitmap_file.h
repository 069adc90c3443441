#pragma once
// BMP files made printable: checked before decoding (a file that is not a
// BMP, or too large, is refused with a reason), converted to grey, scaled
// down to the paper's dot width when wider, and dithered unless it is
// already black and white.
#include <string>
#include <string_view>

#include "escpos/raster.h"

namespace zorv::opos::escpos {

struct LoadedBitmap {
    MonoImage image;
    std::string error;
    bool ok() const { return error.empty(); }
};

constexpr size_t kMostBitmapBytes = 16 * 1024 * 1024;
constexpr int kMostBitmapSide = 8192;

LoadedBitmap LoadBmpFile(const std::string& path, int paperDots);
LoadedBitmap LoadBmpBytes(std::string_view bytes, int paperDots);

} // namespace zorv::opos::escpos
