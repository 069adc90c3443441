#include "app/program.h"

#include <QApplication>

#include "app/app_zorv.h"
#include "app/posted_call_pump.h"
#include "app/saisie_ldn.h"

namespace zorv::app {

int RunProgram() {
    DrivePostedCallsFromQt();
    int result = 1;
    {
        TFrmAppZORV window;
        TFrmSaisieLDN dialog;
        window.SetLogicalNameDialog(&dialog);
        if (!window.TerminateRequested()) {
            window.show();
            result = QApplication::exec();
        }
    }
    StopDrivingPostedCalls();
    return result;
}

} // namespace zorv::app
