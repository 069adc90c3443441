#pragma once
// What a kind's OPOS rules add to the shared ones. The defaults are those of
// a kind that has no such thing.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/event_queue.h"
#include "model/opos_codes.h"

namespace zorv::opos {

class Device;

class KindBehaviour {
public:
    virtual ~KindBehaviour() = default;

    // After Open has given every property its initial value.
    virtual void Opened(Device&) {}
    virtual void Closing(Device&) {}
    // DeviceEnabled changed (Release and disabling alike).
    virtual void EnabledChanged(Device&, bool /*enabled*/) {}
    // A put on a property whose row says Custom; the device is open.
    virtual LONG Put(Device&, Prop, const Value&) { return OPOS_E_ILLEGAL; }
    // Input from the device while enabled: queued as data by default; a
    // kind may turn it into an input error by its own settings.
    virtual void Arriving(Device& device, Input input);
    // Fills the data properties as a DataEvent goes out; answers its Status.
    virtual LONG Load(Device&, const Input&) { return 0; }
    virtual bool OutputPending() const { return false; }
    virtual void ClearOutput(Device&) {}
    // Output sent with Device::SendLater has completed.
    virtual void OutputDone(Device&, std::uint64_t /*ticket*/, LONG /*code*/, LONG /*extended*/) {}
    // The application's answer to an ErrorEvent of locus output.
    virtual void OutputErrorAnswered(Device&, LONG /*response*/) {}
    // A sensor property changed (output held back may go now).
    virtual void SensorChanged(Device&, Prop) {}
    // A kind that may only be shared answers Claim with 106.
    virtual bool Claimable() const { return true; }
    // What a DataEvent or an input ErrorEvent fills, which ClearInputProperties
    // sets back; none for a kind without input.
    virtual std::span<const Prop> InputProperties() const { return {}; }
};

} // namespace zorv::opos
