#pragma once
// Print data as a person reads it back: text as printed, each escape
// sequence shown as a bracketed word ("[bold]", "[cut 50%]").
#include <string>

namespace zorv::opos {

std::u16string RenderPrintData(std::u16string_view data);

} // namespace zorv::opos
