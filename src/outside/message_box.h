#pragma once
// Every message box of the program: the application title as caption, the
// icon given, a single OK button.
#include <string_view>

#include "platform/ui/user_interface.h"

namespace zorv::outside {

void ShowMessageBox(std::u16string_view text, ui::Icon icon);

} // namespace zorv::outside
