#pragma once
// For tests: records every box and answers from a queue the test fills.
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/user_interface.h"

namespace zorv::ui {

class RecordingUserInterface : public UserInterface {
public:
    // Installs itself for its lifetime, and restores the previous one after.
    RecordingUserInterface();
    ~RecordingUserInterface() override;
    RecordingUserInterface(const RecordingUserInterface&) = delete;
    RecordingUserInterface& operator=(const RecordingUserInterface&) = delete;

    Answer ShowMessage(const Message& message) override;
    std::optional<std::u16string> AskText(const TextRequest& request) override;

    // Answers used in turn; when none is left, a box is dismissed.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    void QueueText(std::optional<std::u16string> text) { texts_.push_back(std::move(text)); }
    // Runs while a box is "open", as events that arrive during a modal loop do.
    void WhileShowing(std::function<void()> action) { whileShowing_ = std::move(action); }

    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<TextRequest>& TextRequests() const { return textRequests_; }
    void Clear() {
        messages_.clear();
        textRequests_.clear();
    }

private:
    UserInterface* previous_;
    std::vector<Message> messages_;
    std::vector<TextRequest> textRequests_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::u16string>> texts_;
    std::function<void()> whileShowing_;
};

} // namespace zorv::ui
