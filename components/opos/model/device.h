#pragma once
// One control object's view of an OPOS device: the standard's state machine
// shared by every kind and every back end (open, claim, enable, result
// codes, input queue, events, power, statistics, health, firmware), with the
// kind's table rows and rules plugged in. The hardware itself sits behind
// the logical device that every object opened on the same name shares.
#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "model/event_queue.h"
#include "model/kind_behaviour.h"
#include "model/kind_info.h"
#include "model/logical_device.h"
#include "model/profile.h"

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
    const Profile& ProfileOf() const { return profile_; }
    // The shared device; only while open.
    LogicalDevice& Hardware() { return *logical_; }

    // The common methods; each answers its result code and records it.
    LONG Open(std::u16string_view name);
    LONG Close();
    LONG Claim(LONG timeout);
    LONG Release();
    LONG CheckHealth(LONG level);
    LONG ClearInput();
    LONG ClearInputProperties();
    LONG ClearOutput();
    LONG DirectIO(LONG command, LONG& data, std::u16string& text);
    LONG RetrieveStatistics(std::u16string& buffer);
    LONG ResetStatistics(std::u16string_view request);
    LONG UpdateStatistics(std::u16string_view request);
    LONG CompareFirmwareVersion(std::u16string_view file, LONG& result);
    LONG UpdateFirmware(std::u16string_view file);

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
    LONG Finish(Outcome outcome) { return Finish(outcome.code, outcome.extended); }
    bool IsOpen() const { return open_; }
    bool IsEnabled() const { return open_ && Bool(Prop::DeviceEnabled); }
    // Why a call that uses the device cannot go ahead now (closed, claimed
    // elsewhere, not claimed, disabled), or OPOS_SUCCESS.
    LONG Refusal(bool needsEnabled = true) const;

    // What the logical device hands each object; false when this one does
    // not take it (not enabled).
    bool TakeInput(Input input);
    bool TakeInputError(LONG code, LONG extended, const std::u16string& retry,
                        const std::optional<Input>& partial);
    bool SensorChanged(Prop prop, const Value& value, std::optional<LONG> status);
    bool PowerChanged(LONG state);
    void OutputDone(std::uint64_t ticket, LONG code, LONG extended);
    void FirmwareStatus(LONG status);

    // What the kinds do with input they admit.
    void QueueData(Input input);
    void QueueInputError(LONG code, LONG extended, std::u16string retry, std::optional<Input> partial = {});
    // Output: sent and waited for (the apartment keeps running meanwhile),
    // or sent with a ticket, taken first, whose completion (maybe inside
    // the send) reaches the kind's OutputDone.
    Outcome SendNow(const Output& output);
    std::uint64_t NewTicket() { return logical_->NewTicket(*this); }
    void SendLater(std::uint64_t ticket, const Output& output) { logical_->Send(ticket, output); }
    // Runs posted calls until `done` or the timeout (OPOS_FOREVER: none),
    // telling the back end first that a sensor is awaited.
    bool WaitFor(const std::function<bool()>& done, LONG timeoutMs);

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
    LONG SimulateCommon(LONG command, LONG& data, std::u16string& text);
    LONG StatisticsRefusal() const;
    void ResetProperties();
    void Detach();
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
    std::shared_ptr<LogicalDevice> logical_;
    EventQueue queue_;
    std::map<std::uint64_t, std::optional<Outcome>> waitingOutput_;
    bool open_ = false;
    bool claimed_ = false;
    bool inError_ = false;
    bool deliveryPosted_ = false;
    bool firmwareBusy_ = false;
    int hostFreezes_ = 0;
    LONG power_ = 2001;
    LONG lastReportedPower_ = 2000;
    LONG replyData_ = 0;
    std::u16string replyText_;
};

} // namespace zorv::opos
