#pragma once
// BMP files to printable dots without an image library (every program that
// loads the components, script runners included, would carry it):
// uncompressed 1, 4, 8, 24 and 32-bit pictures, checked before anything is
// allocated, scaled down to the paper and dithered unless black and white.
#include <string>
#include <string_view>

#include "protocols/escpos/raster.h"

namespace zorv::opos::escpos {

struct ReadBitmap {
    MonoImage image;
    std::string error;
    bool ok() const { return error.empty(); }
};

ReadBitmap ReadBmp(std::string_view bytes, int paperDots);
ReadBitmap ReadBmpFile(const std::string& path, int paperDots);

} // namespace zorv::opos::escpos
