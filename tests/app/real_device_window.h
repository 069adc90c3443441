#pragma once
// What the window tests over real back ends share: the window over the
// installed control objects and script engine, what the devices post
// delivered through Qt's loop as in the program, waiting on the window with
// a timeout, a profile file owned for the test, and a pseudo-terminal
// standing in for a serial device.
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "app/app_fixture.h"
#include "fd_support.h"

namespace zorv::testing {

class RealDeviceWindow : public AppFixture {
protected:
    RealDeviceWindow();
    ~RealDeviceWindow() override;

    // Chooses `kind` in the menu and opens it with `name` typed in the dialog.
    void OpenThroughTheDialog(const QString& kind, const std::u16string& name);
    // Runs `procedure` of `script` from the script page, as the operator does.
    void RunScript(const QString& script, const QString& procedure);
    // Runs the window's event loop until `done` answers true, for at most `timeoutMs`.
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000);
    // The current kind's row captioned `name` on the specific page.
    QString Value(const QString& name);
    bool Checked(const QString& name);
    // Whether the event log holds an entry of `kind` whose text has `part`.
    bool Logged(const QString& kind, const QString& part);
    // Whether the simulator panel, shown for the current kind, refuses to play a real device.
    bool PanelStaysOff();
    // The profile file beside the control objects, removed after the test.
    void WriteProfiles(const std::string& text);

private:
    bool ownsProfiles_ = false;
};

// A serial device's far end: the back end opens Path(), a link to a
// pseudo-terminal that moves to a fresh one when the device is plugged in
// again (as a by-id name follows an adapter); the test plays the device.
class PseudoSerialDevice {
public:
    PseudoSerialDevice();
    ~PseudoSerialDevice();
    std::string Path() const { return link_.string(); }
    void Send(const std::string& bytes);
    // What the program sent, read until nothing more comes for `quietMs`.
    std::string Received(int quietMs = 150);
    // The far end goes away with its name; Plug brings a fresh one under it.
    void Unplug();
    void Plug();

private:
    std::filesystem::path dir_;
    std::filesystem::path link_;
    device_test::FdPair pty_;
};

} // namespace zorv::testing
