// How a device's events travel: queued when they arise, posted to the
// apartment, and fired one per posted call so that none is ever delivered
// inside the call that caused it.
#include "model/device.h"
#include "platform/com/variant_value.h"
#include "model/simulation_commands.h"

namespace zorv::opos {
namespace {

VARIANT Number(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT NumberRef(LONG& value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.plVal = &value;
    return v;
}

VARIANT TextRef(com::Bstr& text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = text.AddressOf();
    return v;
}

} // namespace

bool Device::TakeInput(Input input) {
    if (!IsEnabled())
        return false;
    behaviour_->Arriving(*this, std::move(input));
    return true;
}

bool Device::TakeInputError(LONG code, LONG extended, const std::u16string& retry,
                            const std::optional<Input>& partial) {
    if (!IsEnabled())
        return false;
    QueueInputError(code, extended, retry, partial);
    return true;
}

void Device::QueueData(Input input) {
    PendingEvent event{Event::Data};
    event.input = true;
    event.carriesData = true;
    event.data = std::move(input);
    Queue(std::move(event));
    if (Bool(Prop::AutoDisable))
        Enable(false);
}

// With data still waiting the error goes ahead of it (locus input-data) and
// the application may let the data through; otherwise it follows (locus input).
void Device::QueueInputError(LONG code, LONG extended, std::u16string retry, std::optional<Input> partial) {
    const bool dataWaiting = queue_.DataCount() > 0;
    PendingEvent event{Event::Error};
    event.values[0] = code;
    event.values[1] = extended;
    event.values[2] = dataWaiting ? OPOS_EL_INPUT_DATA : OPOS_EL_INPUT;
    event.values[3] = dataWaiting ? OPOS_ER_CONTINUEINPUT : OPOS_ER_CLEAR;
    event.input = true;
    event.text = std::move(retry);
    event.carriesData = partial.has_value();
    if (partial)
        event.data = std::move(*partial);
    inError_ = true;
    if (dataWaiting)
        queue_.PushFront(std::move(event));
    else
        queue_.Push(std::move(event));
    ScheduleDelivery();
}

void Device::OutputFailed(LONG code, LONG extended) {
    PendingEvent event{Event::Error};
    event.values[0] = code;
    event.values[1] = extended;
    event.values[2] = OPOS_EL_OUTPUT;
    event.values[3] = OPOS_ER_RETRY;
    inError_ = true;
    Queue(std::move(event));
}

// Status updates tell an enabled device's application of a change.
void Device::StatusUpdate(LONG status) {
    if (IsEnabled())
        Raise(Event::StatusUpdate, status);
}

void Device::Raise(Event event, LONG first, LONG second, std::u16string text) {
    PendingEvent pending{event};
    pending.values[0] = first;
    pending.values[1] = second;
    pending.text = std::move(text);
    Queue(std::move(pending));
}

void Device::Queue(PendingEvent event) {
    if (EventDispId(kind_, event.event) == 0)
        return;
    queue_.Push(std::move(event));
    ScheduleDelivery();
}

void Device::ScheduleDelivery() {
    if (deliveryPosted_ || Frozen() || !queue_.HasDeliverable(Bool(Prop::DataEventEnabled)))
        return;
    deliveryPosted_ = true;
    target_.Post([this] { DeliverOne(); });
}

void Device::HostFreeze(bool freeze) {
    hostFreezes_ = freeze ? hostFreezes_ + 1 : std::max(0, hostFreezes_ - 1);
    ScheduleDelivery();
}

void Device::DeliverOne() {
    deliveryPosted_ = false;
    if (Frozen())
        return;
    std::optional<PendingEvent> event = queue_.Take(Bool(Prop::DataEventEnabled));
    if (event)
        Deliver(*event);
    ScheduleDelivery();
}

void Device::Deliver(PendingEvent& event) {
    switch (event.event) {
    case Event::Data:
        return DeliverData(event);
    case Event::Error:
        return DeliverError(event);
    case Event::DirectIO:
        return DeliverDirectIO(event);
    case Event::OutputComplete:
    case Event::StatusUpdate:
        break;
    }
    VARIANT value = Number(event.values[0]);
    target_.Fire(EventDispId(kind_, event.event), &value, 1);
}

// The application re-arms data events itself after each one.
void Device::DeliverData(PendingEvent& event) {
    const LONG status = behaviour_->Load(*this, event.data);
    Set(Prop::DataEventEnabled, false);
    VARIANT value = Number(status);
    target_.Fire(EventDispId(kind_, Event::Data), &value, 1);
}

void Device::DeliverError(PendingEvent& event) {
    if (event.carriesData)
        behaviour_->Load(*this, event.data);
    LONG response = event.values[3];
    VARIANT args[] = {Number(event.values[0]), Number(event.values[1]), Number(event.values[2]),
                      NumberRef(response)};
    target_.Fire(EventDispId(kind_, Event::Error), args, 4);
    if (event.values[2] == OPOS_EL_OUTPUT) {
        inError_ = false;
        behaviour_->OutputErrorAnswered(*this, response);
    } else {
        InputErrorAnswered(event, response);
    }
}

// Unless cleared, data queued behind an input error goes out first, the
// device staying in error; the error then comes back with locus input once
// the data is gone and data events are enabled again.
void Device::InputErrorAnswered(const PendingEvent& event, LONG response) {
    if (event.values[2] == OPOS_EL_INPUT_DATA && response != OPOS_ER_CLEAR) {
        PendingEvent again = event;
        again.values[2] = OPOS_EL_INPUT;
        again.values[3] = OPOS_ER_CLEAR;
        again.carriesData = false;
        queue_.Push(std::move(again));
        ScheduleDelivery();
        return;
    }
    inError_ = false;
    if (response != OPOS_ER_RETRY)
        queue_.ClearInput();
    else if (!event.text.empty() && logical_)
        logical_->Hardware().RetryInput(event.text);
}

void Device::FirmwareStatus(LONG status) {
    if (status >= OPOS_SUE_UF_COMPLETE)
        firmwareBusy_ = false;
    if (IsEnabled())
        Raise(Event::StatusUpdate, status);
}

// What the sink writes back is kept for the application to read (DirectIO 7).
void Device::DeliverDirectIO(PendingEvent& event) {
    replyData_ = event.values[1];
    com::Bstr text(event.text);
    VARIANT args[] = {Number(event.values[0]), NumberRef(replyData_), TextRef(text)};
    target_.Fire(EventDispId(kind_, Event::DirectIO), args, 3);
    replyText_ = text.Str();
}

} // namespace zorv::opos
