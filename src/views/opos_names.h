#pragma once
// The symbolic OPOS names of the four coded common properties; a code
// outside its table is written in decimal.
#include <string>

#include "platform/com/types.h"

namespace zorv::views {

std::u16string StateToStr(LONG code);
std::u16string ResultCodeToStr(LONG code);
std::u16string PowerReportingToStr(LONG code);
std::u16string PowerStateToStr(LONG code);

} // namespace zorv::views
