#pragma once
// Horizontal ruled lines as a picture the width of the paper, printed as
// raster like any bitmap: ESC/POS has no command of its own for them in
// standard mode.
#include <vector>

#include "protocols/escpos/raster.h"
#include "protocols/print/ruled_line.h"

namespace zorv::opos::escpos {

// The standard's line styles: 1 solid, 2 double, 3 broken, 4 chain.
enum class RuleStyle { Solid = 1, Double = 2, Broken = 3, Chain = 4 };

// Rules reaching past the paper are cut at its edge; the thickness is
// kept between 1 and kThickestRule dots.
MonoImage HorizontalRules(const std::vector<print::RuleSegment>& rules, int paperDots, int thickness,
                          RuleStyle style);
constexpr int kThickestRule = 32;

} // namespace zorv::opos::escpos
