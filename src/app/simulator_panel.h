#pragma once
// The simulator panel: plays the hardware of the current kind's simulated
// device through its DirectIO commands (a scan, a swipe, a key turn, a key
// press, the drawer, the printer's sensors, power, input errors). Every input
// is logged with its result and refreshes the window's pages. It says when the
// current device is not open or not a simulated one, and then offers nothing.
#include <QWidget>
#include <functional>

#include "app/elided_label.h"
#include "devices/device_control.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace zorv::app {

struct SimulatorHost {
    // The current kind's control, or none.
    std::function<devices::TZORVDeviceControl*()> current;
    // Refreshes the window's pages.
    std::function<void()> refresh;
    // Records a call in the event log.
    std::function<void(devices::TZORVDeviceControl&, const devices::DeviceCall&)> record;
};

class TSimulatorPanel : public QWidget {
public:
    TSimulatorPanel(SimulatorHost host, QWidget* parent = nullptr);

    // Shows the current kind's inputs and whether they can be used.
    void UpdateState();
    // Whether the current device is open and simulated, as last seen.
    bool InputsEnabled() const { return FInputsEnabled; }

    // DirectIO(command, data, text) on the current device; answers its result code.
    LONG DirectIO(LONG command, LONG data, const QString& text);

    QLabel* LbEtat;
    // The last input's result; a long one is cut, whole in its tooltip.
    TElidedLabel* LbResultat;
    QStackedWidget* Pages;
    // Scanner
    QComboBox* CbSymbology;
    QLineEdit* EdtLabel;
    // MSR
    QLineEdit* EdtTrack[3];
    // POS keyboard
    QSpinBox* SpnKeyCode;
    // Printer
    QComboBox* CbStation;
    // Input errors
    QSpinBox* SpnExtended;

    // The named button of the panel, for those who press them.
    QPushButton* Button(const QString& name) const;

private:
    QWidget* CreateScannerPage();
    QWidget* CreatePrinterPage();
    QWidget* CreateLineDisplayPage();
    QWidget* CreateKeylockPage();
    QWidget* CreateMSRPage();
    QWidget* CreatePOSKeyboardPage();
    QWidget* CreateCashDrawerPage();
    QWidget* CreateCommonInputs();
    QPushButton* AddButton(QWidget* page, const QString& name, const QString& caption,
                           std::function<void()> action);
    void Swipe();
    void OpenDrawer();
    void InputError();
    void Finish(devices::TZORVDeviceControl& control, const devices::DeviceCall& call);

    SimulatorHost FHost;
    bool FInputsEnabled = false;
    QWidget* FCommon;
};

} // namespace zorv::app
