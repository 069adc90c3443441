#include "platform/ui/user_interface.h"

#include "platform/ui/console_user_interface.h"

namespace zorv::ui {
namespace {

UserInterface* current = nullptr;

} // namespace

void SetUserInterface(UserInterface* ui) { current = ui; }

UserInterface& CurrentUserInterface() {
    static ConsoleUserInterface console;
    return current ? *current : console;
}

Answer DismissAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    default: return Answer::Cancel;
    }
}

} // namespace zorv::ui
