#pragma once
// The text the default error report shows: the error's text, with a full
// stop appended when it is not empty and its last character's code is above
// that of "." (a letter, a digit, ":" or "?" gets one; ".", "!", ")" or a
// space does not).
#include <string>
#include <string_view>

namespace zorv::outside {

std::u16string ErrorReportText(std::u16string_view text);

} // namespace zorv::outside
