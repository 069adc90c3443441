#pragma once
// What a kind does beyond the shared OPOS rules. The defaults are those of
// a kind that has no such thing.
#include <optional>
#include <string>

#include "event_queue.h"
#include "opos_codes.h"

namespace zorv::opos {

class Device;

class KindBehaviour {
public:
    virtual ~KindBehaviour() = default;

    // After Open has given every property its initial value.
    virtual void Opened(Device&) {}
    virtual void Closing(Device&) {}
    // A put on a property whose row says Custom; the device is open.
    virtual LONG Put(Device&, Prop, const Value&) { return OPOS_E_ILLEGAL; }
    // One of the kind's simulation commands; none when the command is not its own.
    virtual std::optional<LONG> Simulate(Device&, LONG /*command*/, LONG& /*data*/,
                                         std::u16string& /*text*/) {
        return std::nullopt;
    }
    // Fills the data properties as a DataEvent goes out; answers its Status.
    virtual LONG Load(Device&, const Input&) { return 0; }
    // Input errors only make sense for kinds that read something.
    virtual bool TakesInput() const { return false; }
    virtual bool OutputPending() const { return false; }
    virtual void ClearOutput(Device&) {}
    // The application's answer to an ErrorEvent of locus output.
    virtual void OutputErrorAnswered(Device&, LONG /*response*/) {}
};

} // namespace zorv::opos
