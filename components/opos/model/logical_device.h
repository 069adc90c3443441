#pragma once
// One physical device as the process sees it: every control object opened
// under the same logical name shares it, with its back end, its sensors,
// its power and its statistics, while each object keeps its own open,
// claim and enable state. What the back end reports reaches every object.
#include <any>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "model/backend.h"
#include "model/statistics.h"
#include "model/profile.h"

namespace zorv::opos {

class Device;

class LogicalDevice final : public BackendEvents {
public:
    // The device open under that profile's name, made when the first
    // object opens it and gone when the last one closes.
    static std::shared_ptr<LogicalDevice> Attach(const Profile& profile, Device& device);
    void Detach(Device& device);

    LogicalDevice(const Profile& profile, std::unique_ptr<Backend> backend);
    ~LogicalDevice();
    LogicalDevice(const LogicalDevice&) = delete;
    LogicalDevice& operator=(const LogicalDevice&) = delete;

    Backend& Hardware() { return *backend_; }
    Statistics& Stats() { return statistics_; }
    LONG Power() const { return power_; }
    // The sensors' values as last reported, for an object that opens.
    const std::map<Prop, Value>& Sensors() const { return sensors_; }
    // State a kind keeps once per device (the line display's screen).
    std::any& KindState() { return kindState_; }

    // Output goes with a ticket taken first, so that a back end may
    // complete it inside Send.
    std::uint64_t NewTicket(Device& owner);
    void Send(std::uint64_t ticket, const Output& output);
    LONG UpdateFirmware(Device& owner, std::u16string_view file);

    int InputArrived(Input input) override;
    int InputFailed(LONG code, LONG extended, std::u16string retry, std::optional<Input> partial) override;
    int SensorChanged(Prop prop, Value value, std::optional<LONG> status) override;
    int PowerChanged(LONG state) override;
    void OutputDone(std::uint64_t ticket, LONG code, LONG extended) override;
    void FirmwareStatus(LONG status) override;

private:
    void Count(const Input& input);
    int ForEach(const std::function<bool(Device&)>& tell);

    Kind kind_;
    std::unique_ptr<Backend> backend_;
    Statistics statistics_;
    std::vector<Device*> devices_;
    std::map<Prop, Value> sensors_;
    std::map<std::uint64_t, Device*> tickets_;
    std::uint64_t lastTicket_ = 0;
    // Screens sent and not yet drawn, counted once drawn.
    std::set<std::uint64_t> screenTickets_;
    Device* firmwareOwner_ = nullptr;
    LONG power_;
    std::any kindState_;
};

// The property values that a kind's back end reports as sensors.
std::span<const Prop> SensorProps(Kind kind);
// A property's value at Open for that device: the kind's, or the profile's.
Value InitialValue(const Profile& profile, Prop prop);

} // namespace zorv::opos
