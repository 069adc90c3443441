#pragma once
// Messages as lines on standard output; text read as a line from standard input.
#include "platform/ui/user_interface.h"

namespace zorv::ui {

class ConsoleUserInterface : public UserInterface {
public:
    Answer ShowMessage(const Message& message) override;
    std::optional<std::u16string> AskText(const TextRequest& request) override;
};

} // namespace zorv::ui
