#pragma once
// The main window: creates the registry object and one device control per
// kind at start-up, publishes their device objects, and runs the operator's
// commands on the current kind. Every command and handler is an entry point:
// what escapes it goes to the default error report.
#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/device_list_dialog.h"
#include "devices/device_controls.h"
#include "platform/com/com_ptr.h"
#include "script/script_files.h"
#include "views/event_log.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace zorv::tools {
class ControlErrors;
}

namespace zorv::app {

class TCommonPropertiesPage;
class TSpecificPropertiesPage;
class TFrmSaisieLDN;
class TEventLogWindow;
class TSimulatorPanel;

class TFrmAppZORV : public QMainWindow {
public:
    // Runs FormCreate before anything is shown.
    explicit TFrmAppZORV(QWidget* parent = nullptr);
    ~TFrmAppZORV() override;

    void SetLogicalNameDialog(TFrmSaisieLDN* dialog) { FrmSaisieLDN = dialog; }
    // Start-up found no kind: the program ends without showing anything.
    bool TerminateRequested() const { return FTerminateRequested; }

    void MntPeriphClick(QAction* sender);
    void BtnOpenClick();
    void BtnCloseClick();
    void PgcOPOSChange(int index);
    void BtnRafraichirClick();
    void MntAProposClick();
    void OpenCurrentDevice();
    void CloseCurrentDevice();
    void AddDeviceMenuItem(std::u16string_view displayName);
    void InitScriptControl();
    void BtnExecuterClick();
    void BtnEnregistrerClick();
    // An event of `kind`'s device: re-arm its data events where the kind
    // does, then refresh the current kind.
    void DeviceEvent(devices::DeviceKindId kind);
    // Shows the event log window, or the simulator panel, beside this one.
    void MntJournalClick();
    void MntSimulateurClick();
    // Lists the devices found on this machine for the current kind, with the
    // profile lines to copy.
    void MntListePeriphClick();
    void SetDeviceDiscovery(DeviceDiscovery discovery) { FDeviceDiscovery = std::move(discovery); }
    // Adds a call made on `control`'s device to the event log.
    void RecordCall(devices::TZORVDeviceControl& control, const devices::DeviceCall& call);
    void PublishDeviceObject(std::u16string_view registryName, IDispatch* deviceObject);

    const std::u16string& CurrentDevice() const { return FCurrentDevice; }
    bool ScriptEnabled() const { return FScriptEnabled; }
    IDispatch* ScriptControl() const { return FScriptControl.Get(); }
    // The script page's text, lines separated by CR LF.
    QString ScriptText() const;
    void SetScriptText(const QString& text);
    IDispatch* Registry() const { return FRegistry.Get(); }
    // The control of a kind, or none when its creation failed.
    devices::TZORVDeviceControl* Control(devices::DeviceKindId kind) const;
    // The control of the current kind, or none.
    devices::TZORVDeviceControl* CurrentControl() const;
    views::EventLog& EventLog() { return FEventLog; }
    // Created on first use. Top-level windows without a parent, so that a
    // script's message box, modal to this window, leaves them usable.
    TEventLogWindow* EventLogWindow();
    TSimulatorPanel* SimulatorPanel();

    QMenu* MnPeriph;
    QAction* MntAPropos;
    QAction* MntJournal;
    QAction* MntSimulateur;
    QAction* MntListePeriph;
    QTabWidget* PgcOPOS;
    TCommonPropertiesPage* TabSheet1;
    TSpecificPropertiesPage* TabSheet2;
    QWidget* TabSheet4;
    QPlainTextEdit* MmScript;
    QPushButton* BtnEnregistrer;
    QWidget* Panel1;
    QPushButton* BtnOpen;
    QPushButton* BtnClose;
    QLabel* LbScript;
    QLineEdit* EdtFonction;
    QPushButton* BtnExecuter;

protected:
    // Enter anywhere but in the script text presses "Exécuter", the default button.
    void keyPressEvent(QKeyEvent* event) override;
    // The log and the panel are windows of their own: they close with this one.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreatePages();
    void CreateBottomBar();
    void FormCreate();
    void CreateKind(const devices::DeviceKind& kind);
    void RecordEvent(devices::DeviceKindId kind, devices::DeviceEventId event,
                     const devices::EventValues& values);
    void RefreshRecorded();
    void LoadScriptOfCurrentKind();
    void ScriptPreparationFailed(std::u16string_view errorText);
    // WScript for the script control (Echo in a box, Sleep, event binding)
    // and the report of event handlers that fail outside a run.
    void AddScriptHostObjects();
    std::vector<const devices::DeviceKind*> PresentKinds() const;
    void RefreshCurrentKind();

    // Private state, in this order.
    com::ComPtr<IDispatch> FRegistry;
    com::ComPtr<IDispatch> FScriptControl;
    std::shared_ptr<tools::ControlErrors> FScriptErrors;
    bool FScriptEnabled = false;
    // One control per kind, in kind order; none where its creation failed.
    std::array<devices::TZORVDeviceControl*, devices::kKindCount> FControls{};
    std::u16string FCurrentDevice;

    // Owns the device controls; declared after the registry and the script
    // control so that it goes first: the controls, the last created first,
    // then those references.
    devices::TComponent FDeviceOwner{nullptr};
    QActionGroup* FDeviceItems;
    TFrmSaisieLDN* FrmSaisieLDN = nullptr;
    bool FTerminateRequested = false;
    // How the current kind's script file was read, which its save respects.
    script::ScriptFileOrigin FScriptFile;
    // A refresh asked for while one runs (an event fired inside a property
    // read) waits for it to finish, so the lists never mix two readings.
    bool FRefreshing = false;
    int FPendingRefreshes = 0;
    views::EventLog FEventLog;
    TEventLogWindow* FEventLogWindow = nullptr;
    TSimulatorPanel* FSimulatorPanel = nullptr;
    DeviceDiscovery FDeviceDiscovery;
};

} // namespace zorv::app
