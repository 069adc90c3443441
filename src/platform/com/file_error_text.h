#pragma once
// The common file errors in French, like every other text the program shows;
// the system's own texts follow its locale, which is seldom French.
#include <string>

namespace zorv::com {

// The text for an errno value, without a final full stop.
std::string FileErrorText(int error);

} // namespace zorv::com
