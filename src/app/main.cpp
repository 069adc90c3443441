// ZORVApp: the main window, the hidden logical-device-name dialog, the message loop.
#include <QApplication>

#include "app/app_zorv.h"
#include "app/application_setup.h"
#include "app/posted_call_pump.h"
#include "app/saisie_ldn.h"
#include "platform/com/apartment.h"
#include "platform/ui/qt_user_interface.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZORV"));
    zorv::app::SetUpApplication(application);
    CoInitialize(nullptr);
    zorv::ui::QtUserInterface boxes;
    zorv::ui::SetUserInterface(&boxes);
    zorv::app::DrivePostedCallsFromQt();
    int result = 0;
    {
        zorv::app::TFrmAppZORV window;
        zorv::app::TFrmSaisieLDN dialog;
        window.SetLogicalNameDialog(&dialog);
        if (!window.TerminateRequested()) {
            window.show();
            result = QApplication::exec();
        }
    }
    zorv::app::StopDrivingPostedCalls();
    zorv::ui::SetUserInterface(nullptr);
    CoUninitialize();
    return result;
}
