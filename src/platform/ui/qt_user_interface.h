#pragma once
// The seam's Qt implementation: application-modal message boxes and input
// boxes. Events posted meanwhile keep flowing, since the boxes run Qt's loop.
#include "platform/ui/user_interface.h"

namespace zorv::ui {

class QtUserInterface : public UserInterface {
public:
    Answer ShowMessage(const Message& message) override;
    std::optional<std::u16string> AskText(const TextRequest& request) override;
};

} // namespace zorv::ui
