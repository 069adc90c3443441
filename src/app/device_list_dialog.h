#pragma once
// The devices found on this machine that could serve a kind: what each looks
// like, the profile section to copy and, for one the program may not open,
// the group or udev rule it lacks. Discovery reads a few small files and
// runs at once on the window's thread; nothing here waits on a device.
#include <QDialog>
#include <vector>

#include "hardware/discovery/device_discovery.h"
#include "hardware/discovery/device_profiles.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace zorv::app {

// Where discovery looks and how it checks access; tests point it at a tree of their own.
struct DeviceDiscovery {
    opos::discovery::Roots roots;
    opos::discovery::AccessCheck check = opos::discovery::SystemAccess;
};

class TFrmListePeriph : public QDialog {
public:
    // `kindCaption`: the window's caption of the kind to list first ("Printer"...).
    TFrmListePeriph(DeviceDiscovery discovery, const QString& kindCaption, QWidget* parent = nullptr);

    // Reads the devices again.
    void Actualiser();
    // The selected device's section on the clipboard.
    void Copier();

    enum Column { ColChemin, ColNom, ColAspect, ColAcces };

    QComboBox* CbKind;
    QTreeWidget* LvDevices;
    QLabel* LbEtat;
    QPlainTextEdit* MmProfil;
    QLabel* LbAcces;
    QPushButton* BtnCopier;
    QPushButton* BtnActualiser;
    QPushButton* BtnFermer;

private:
    void CreateKinds(const QString& kindCaption);
    void CreateButtons();
    void ShowList();
    void ShowSelected();
    QString StateText() const;

    DeviceDiscovery FDiscovery;
    std::vector<opos::discovery::Candidate> FDevices;
    std::vector<opos::discovery::Listed> FListed;
};

} // namespace zorv::app
