// Takes the README's pictures of the event log and the simulator panel: the
// window over the simulated devices, a short scenario played through the
// panel, then each window grabbed into the folder given as argument.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "app/app_zorv.h"
#include "app/application_setup.h"
#include "app/event_log_window.h"
#include "app/modal_runner.h"
#include "app/posted_call_pump.h"
#include "app/saisie_ldn.h"
#include "app/simulator_panel.h"
#include "platform/com/apartment.h"
#include "platform/ui/recording_user_interface.h"

namespace {

void Settle() {
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

void Open(zorv::app::TFrmAppZORV& window, const QString& kind, const QString& name) {
    for (QAction* item : window.MnPeriph->actions())
        if (item->text() == kind)
            item->trigger();
    zorv::app::SetModalRunner([name](QDialog& dialog) {
        dynamic_cast<zorv::app::TFrmSaisieLDN&>(dialog).EdtLDN->setText(name);
        return static_cast<int>(QDialog::Accepted);
    });
    window.BtnOpen->click();
    Settle();
}

void Press(zorv::app::TFrmAppZORV& window, const char* button) {
    if (QPushButton* pressed = window.SimulatorPanel()->Button(QString::fromLatin1(button)))
        pressed->click();
    Settle();
}

int TakePictures(const QString& folder) {
    zorv::ui::RecordingUserInterface boxes;
    zorv::app::TFrmAppZORV window;
    zorv::app::TFrmSaisieLDN dialog;
    window.SetLogicalNameDialog(&dialog);
    window.show();
    window.MntJournal->trigger();
    window.MntSimulateur->trigger();
    window.EventLogWindow()->resize(820, 360);

    Open(window, QStringLiteral("Printer"), QStringLiteral("SimPrinter"));
    Press(window, "BtnCoverOpen");
    Press(window, "BtnCoverClosed");
    Open(window, QStringLiteral("Keylock"), QStringLiteral("SimKeylock"));
    Press(window, "BtnKeySupr");
    Open(window, QStringLiteral("MSR"), QStringLiteral("SimMSR"));
    Press(window, "BtnGoodCard");
    Press(window, "BtnBadTrack");
    Open(window, QStringLiteral("Scanner"), QStringLiteral("SimScanner"));
    Press(window, "BtnGoodScan");
    window.EventLogWindow()->Follow();
    Settle();

    const bool saved = window.EventLogWindow()->grab().save(folder + QStringLiteral("/event-log.png")) &&
                       window.SimulatorPanel()->grab().save(folder + QStringLiteral("/simulator-panel.png"));
    zorv::app::SetModalRunner(nullptr);
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    zorv::app::SetUpApplication(application);
    CoInitialize(nullptr);
    zorv::app::DrivePostedCallsFromQt();
    int result = 1;
    try {
        result = TakePictures(QString::fromLocal8Bit(argv[1]));
    } catch (...) {
        result = 1;
    }
    zorv::app::StopDrivingPostedCalls();
    CoUninitialize();
    return result;
}
