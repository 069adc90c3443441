#pragma once
// Modal dialogs are shown through this seam, so that tests can answer them.
#include <functional>

class QDialog;

namespace zorv::app {

using ModalRunner = std::function<int(QDialog& dialog)>;

// Shows `dialog` modally and answers its result (QDialog::Accepted or Rejected).
int ShowModal(QDialog& dialog);
// Replaces how dialogs are shown; an empty runner restores exec().
void SetModalRunner(ModalRunner runner);

} // namespace zorv::app
