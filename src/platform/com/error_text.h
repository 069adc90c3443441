#pragma once
// The platform's text for a failure code, in French like the rest of the
// interface, without a final full stop. Codes outside the table have none.
#include <optional>
#include <string>

#include "types.h"

namespace zorv::com {

std::optional<std::string> PlatformErrorText(HRESULT code);

} // namespace zorv::com
