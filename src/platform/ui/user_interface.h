#pragma once
// The message-box and input-box seam shared by the program and the script
// engine. The host installs the implementation that fits it (Qt dialogs in
// the program, the console in command-line hosts, a recorder in tests);
// whoever needs to ask the user goes through CurrentUserInterface().
#include <optional>
#include <string>

namespace zorv::ui {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct Message {
    std::u16string caption;
    std::u16string text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    int defaultButton = 0; // 0-based among the buttons
};

struct TextRequest {
    std::u16string caption;
    std::u16string prompt;
    std::u16string defaultText;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual Answer ShowMessage(const Message& message) = 0;
    // The text typed, or nothing when the user cancelled.
    virtual std::optional<std::u16string> AskText(const TextRequest& request) = 0;
};

// Not owned. Null restores the console implementation.
void SetUserInterface(UserInterface* ui);
UserInterface& CurrentUserInterface();

// The answer a box gives when it is dismissed without a choice (Escape or
// the close button): Cancel, No or Ok, as the buttons allow.
Answer DismissAnswer(Buttons buttons);

} // namespace zorv::ui
