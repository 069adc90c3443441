#pragma once
// One simulated OPOS device: the standard's state machine shared by every
// kind (open, claim, enable, result codes, input queue, events, power),
// with the kind's table rows and behaviour plugged in.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "event_queue.h"
#include "kind_behaviour.h"
#include "kind_table.h"
#include "profile.h"

namespace zorv::opos {

// The object that carries the device to the outside world.
class EventTarget {
public:
    // Runs `call` later from the apartment's queue, keeping the object alive.
    virtual void Post(std::function<void()> call) = 0;
    // Fires one event on the advised sinks, arguments in natural order.
    virtual void Fire(DISPID id, VARIANT* args, UINT count) = 0;

protected:
    ~EventTarget() = default;
};

class Device {
public:
    Device(const KindInfo& kind, EventTarget& target);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const KindInfo& Info() const { return kind_; }
    KindBehaviour& Behaviour() { return *behaviour_; }
    const Profile& Logical() const { return profile_; }

    // The common methods; each answers its result code and records it.
    LONG Open(std::u16string_view name);
    LONG Close();
    LONG Claim(LONG timeout);
    LONG Release();
    LONG CheckHealth(LONG level);
    LONG ClearInput();
    LONG ClearOutput();
    LONG DirectIO(LONG command, LONG& data, std::u16string& text);

    Value Get(Prop prop) const;
    LONG Long(Prop prop) const { return std::get<LONG>(Get(prop)); }
    bool Bool(Prop prop) const { return std::get<bool>(Get(prop)); }
    std::u16string Text(Prop prop) const { return std::get<std::u16string>(Get(prop)); }
    // Sets a stored value with no rule applied: for the kinds' own state.
    void Set(Prop prop, Value value);
    // A put by the application, with the rules of the property's row.
    LONG Put(const PropertyRow& row, const Value& value);

    // Records the result of a call and answers it.
    LONG Finish(LONG code, LONG extended = 0);
    bool IsOpen() const { return open_; }
    bool IsEnabled() const { return open_ && Bool(Prop::DeviceEnabled); }
    // Why a call that uses the device cannot go ahead now (closed, claimed
    // elsewhere, not claimed, disabled), or OPOS_SUCCESS.
    LONG Refusal(bool needsEnabled = true) const;

    // What the kinds report. Input and errors are refused unless enabled.
    LONG Arrived(Input input);
    // An input error; `retryText` is the input command's text that a retry
    // brings back, `partial` what was read cleanly and goes with the error.
    LONG InputFailed(LONG code, LONG extended, std::u16string retryText, std::optional<Input> partial = {});
    void OutputFailed(LONG code, LONG extended);
    void StatusUpdate(LONG status);
    void Raise(Event event, LONG first, LONG second = 0, std::u16string text = {});
    void Post(std::function<void()> call) { target_.Post(std::move(call)); }

    // Called by the posted delivery: fires one event, if one may go.
    void DeliverOne();
    // The container's IOleControl::FreezeEvents, counted.
    void HostFreeze(bool freeze);

private:
    LONG CurrentState() const;
    LONG ReportedPower() const;
    LONG PutCommon(Prop prop, const Value& value);
    LONG Enable(bool on);
    LONG SetPowerNotify(LONG value);
    LONG SetPower(LONG state);
    LONG SimulateCommon(LONG command, LONG& data, std::u16string& text);
    void ResetProperties();
    void Queue(PendingEvent event);
    void ScheduleDelivery();
    bool Frozen() const { return hostFreezes_ > 0 || Bool(Prop::FreezeEvents); }
    void Deliver(PendingEvent& event);
    void DeliverData(PendingEvent& event);
    void DeliverError(PendingEvent& event);
    void DeliverDirectIO(PendingEvent& event);
    void InputErrorAnswered(const PendingEvent& event, LONG response);

    const KindInfo& kind_;
    EventTarget& target_;
    std::unique_ptr<KindBehaviour> behaviour_;
    std::array<Value, kPropCount> values_;
    Profile profile_;
    EventQueue queue_;
    bool open_ = false;
    bool claimed_ = false;
    bool inError_ = false;
    bool deliveryPosted_ = false;
    int hostFreezes_ = 0;
    LONG power_ = 2001;
    LONG lastReportedPower_ = 2000;
    LONG replyData_ = 0;
    std::u16string replyText_;
};

} // namespace zorv::opos
