#include "app/modal_runner.h"

#include <QDialog>

namespace zorv::app {
namespace {

ModalRunner& Runner() {
    static ModalRunner runner;
    return runner;
}

} // namespace

int ShowModal(QDialog& dialog) {
    return Runner() ? Runner()(dialog) : dialog.exec();
}

void SetModalRunner(ModalRunner runner) {
    Runner() = std::move(runner);
}

} // namespace zorv::app
