#pragma once
// The simulated hardware behind a logical device: what a script or a test
// injects through DirectIO (input, errors, power, sensors) is reported to
// the model as a real device's back end would report it, and what the model
// sends (paper, screen, drawer pulses) is kept to be read back.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/backend.h"
#include "model/profile.h"

namespace zorv::opos {

class SimBackend final : public Backend {
public:
    explicit SimBackend(const Profile& profile);

    void Start(BackendEvents& events) override { events_ = &events; }
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    std::u16string FirmwareRevision() const override { return firmware_; }
    LONG CompareFirmware(std::u16string_view file, LONG& result) override;
    LONG UpdateFirmware(std::u16string_view file) override;
    std::optional<LONG> DirectIO(LONG command, LONG& data, std::u16string& text) override;
    void WaitStarted() override;
    void RetryInput(const std::u16string& text) override;
    std::u16string Interface() const override { return u"Simulated"; }

private:
    // sim_input.cpp: what arrives from outside.
    std::optional<LONG> Inject(LONG& data, std::u16string& text);
    LONG InjectScan(LONG& data, const std::u16string& text);
    LONG InjectSwipe(LONG& data, const std::u16string& text);
    LONG InjectKey(LONG& data, const std::u16string& text);
    LONG InjectError(LONG& data, std::u16string& text);
    LONG TurnKey(LONG position);
    LONG InsertKey(LONG& data, const std::u16string& text);
    LONG ChangeKey(std::u16string key);
    LONG ShutDrawer();
    LONG Arm(LONG data, const std::u16string& text);
    // sim_output.cpp: what the model sends, and the sensors.
    Outcome Print(const Output& output);
    void ShowScreen(const std::u16string& rows);
    LONG ReadBack(LONG& data, std::u16string& text, bool rendered);
    LONG Sense(LONG what, const std::u16string& state);
    LONG SenseCover(const std::u16string& state);
    LONG MoveForm(bool in);
    LONG SlipForm(LONG data, const std::u16string& text);
    bool Has(Prop capability) const;
    LONG Number(Prop prop) const;
    Value Initial(Prop prop) const;
    // sim_backend.cpp
    LONG SetPower(LONG state);
    void Later(std::function<void(SimBackend&)> call);
    void FirmwareStep(std::u16string revision, LONG percent);

    Profile profile_;
    BackendEvents* events_ = nullptr;
    // Lives as long as this back end; posted calls hold it weakly.
    std::shared_ptr<SimBackend*> self_;
    LONG power_;
    std::u16string firmware_ = u"1.0.0";
    // Printer.
    std::array<std::u16string, 3> paper_;
    std::optional<Outcome> fault_;
    bool coverOpen_;
    std::array<bool, 3> paperEmpty_{};
    // A slip form armed to go in (1) or out (-1) during the next wait.
    int armedForm_ = 0;
    // Line display.
    std::vector<std::u16string> screen_;
    // Keylock and drawer.
    LONG keyPosition_;
    LONG armedPosition_ = 0;
    // An electronic keylock: the key's bytes, one per character.
    std::u16string electronicKey_;
    std::optional<std::u16string> armedKey_;
    bool drawerOpen_;
    bool closeArmed_ = false;
    LONG beeps_ = 0;
};

} // namespace zorv::opos
