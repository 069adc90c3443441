#include "outside/message_box.h"

#include "outside/error_report.h"

namespace zorv::outside {

void ShowMessageBox(std::u16string_view text, ui::Icon icon) {
    ui::Message message;
    message.caption = std::u16string(kApplicationTitle);
    message.text = std::u16string(text);
    message.icon = icon;
    message.buttons = ui::Buttons::Ok;
    ui::CurrentUserInterface().ShowMessage(message);
}

} // namespace zorv::outside
