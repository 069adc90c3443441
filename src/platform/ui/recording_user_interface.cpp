#include "platform/ui/recording_user_interface.h"

namespace zorv::ui {

RecordingUserInterface::RecordingUserInterface() : previous_(&CurrentUserInterface()) { SetUserInterface(this); }

RecordingUserInterface::~RecordingUserInterface() { SetUserInterface(previous_); }

Answer RecordingUserInterface::ShowMessage(const Message& message) {
    messages_.push_back(message);
    if (whileShowing_)
        whileShowing_();
    if (answers_.empty())
        return DismissAnswer(message.buttons);
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::u16string> RecordingUserInterface::AskText(const TextRequest& request) {
    textRequests_.push_back(request);
    if (whileShowing_)
        whileShowing_();
    if (texts_.empty())
        return std::nullopt;
    auto text = std::move(texts_.front());
    texts_.pop_front();
    return text;
}

} // namespace zorv::ui
