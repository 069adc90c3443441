#include "platform/ui/console_user_interface.h"

#include <iostream>

#include "platform/com/text.h"

namespace zorv::ui {

Answer ConsoleUserInterface::ShowMessage(const Message& message) {
    std::cout << com::Utf16ToUtf8(message.text) << std::endl;
    // Nobody can choose on a console: the first button is the answer.
    switch (message.buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel: return Answer::Ok;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    case Buttons::YesNoCancel:
    case Buttons::YesNo: return Answer::Yes;
    case Buttons::RetryCancel: return Answer::Retry;
    }
    return Answer::Ok;
}

std::optional<std::u16string> ConsoleUserInterface::AskText(const TextRequest& request) {
    if (!request.prompt.empty())
        std::cout << com::Utf16ToUtf8(request.prompt) << std::endl;
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return com::Utf8ToUtf16(line);
}

} // namespace zorv::ui
