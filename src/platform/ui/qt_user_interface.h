#pragma once
// The seam's Qt implementation: message boxes and input boxes. Events posted
// meanwhile keep flowing, since the boxes run Qt's loop.
#include "platform/ui/user_interface.h"

class QWidget;

namespace zorv::ui {

class QtUserInterface : public UserInterface {
public:
    Answer ShowMessage(const Message& message) override;
    std::optional<std::u16string> AskText(const TextRequest& request) override;
};

// The window the boxes belong to: they block it alone (window-modal), so that
// the tester's other top-level windows stay usable while a script waits in
// one. Without an owner (null), a box blocks the whole application.
void SetBoxOwner(QWidget* owner);

} // namespace zorv::ui
