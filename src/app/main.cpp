// ZORVApp: the application object, the apartment and the message boxes, then the program.
#include <QApplication>
#include <exception>
#include <iostream>

#include "app/application_setup.h"
#include "app/program.h"
#include "platform/com/apartment.h"
#include "platform/ui/qt_user_interface.h"

namespace {

int Main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZORV"));
    zorv::app::SetUpApplication(application);
    CoInitialize(nullptr);
    zorv::ui::QtUserInterface boxes;
    zorv::ui::SetUserInterface(&boxes);
    const int result = zorv::app::RunProgram();
    zorv::ui::SetUserInterface(nullptr);
    CoUninitialize();
    return result;
}

} // namespace

// Every operator command is guarded on its own; this is for what no one foresaw.
int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "ZORV : erreur interne : " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "ZORV : erreur interne" << std::endl;
    }
    return 1;
}
