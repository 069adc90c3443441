#pragma once
// What the seven device control classes share: the kind's row of the kind
// table, the descriptor filled from it, the open sequence and the close.
// A class adds only its handler slots, in slot order.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "devices/device_kinds.h"
#include "devices/olectrls2/ole_control.h"
#include "platform/com/bstr_value.h"

namespace zorv::devices {

// One call the window made on a device, as those who watch calls see it.
struct DeviceCall {
    std::u16string_view member;
    // The argument as text: a name, a timeout, "True".
    std::u16string argument;
    // What a method answered (its result code); puts answer nothing.
    std::optional<LONG> result;
    // The error's text when the call raised; empty otherwise.
    std::u16string failure;
};

class TZORVDeviceControl;
using CallObserver = std::function<void(TZORVDeviceControl& control, const DeviceCall& call)>;

class TZORVDeviceControl : public TOleControl {
public:
    // Open, then the kind's further steps; results are not read, and a
    // failing call ends the sequence at that step.
    void OpenDevice(std::u16string_view name);
    void CloseDevice();

    const DeviceKind& Kind() const { return FKind; }
    std::u16string_view LogicalDeviceName() const { return FLogicalDeviceName.View(); }
    // Sees every call OpenDevice and CloseDevice make, after it returned or raised.
    void SetCallObserver(CallObserver observer) { FCallObserver = std::move(observer); }
    // The handler slots in slot order.
    const std::vector<HandlerSlotBase*>& HandlerSlots() const { return FSlots; }

protected:
    TZORVDeviceControl(TComponent* owner, const DeviceKind& kind,
                       std::initializer_list<HandlerSlotBase*> slots);

    void FillControlDescriptor() override;

private:
    void PutTrue(std::u16string_view property);
    template <class Call> void Observed(std::u16string_view member, std::u16string argument, Call&& call);

    const DeviceKind& FKind;
    CallObserver FCallObserver;
    // The variable Open receives by reference.
    com::Bstr FLogicalDeviceName;
    TControlDescriptor FDescriptor;
    std::vector<HandlerSlotBase*> FSlots;
};

} // namespace zorv::devices
