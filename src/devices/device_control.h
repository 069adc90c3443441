#pragma once
// What the seven device control classes share: the kind's row of the kind
// table, the descriptor filled from it, the open sequence and the close.
// A class adds only its handler slots, in slot order.
#include <initializer_list>
#include <vector>

#include "devices/device_kinds.h"
#include "devices/olectrls2/ole_control.h"
#include "platform/com/bstr_value.h"

namespace zorv::devices {

class TZORVDeviceControl : public TOleControl {
public:
    // Open, then the kind's further steps; results are not read, and a
    // failing call ends the sequence at that step.
    void OpenDevice(std::u16string_view name);
    void CloseDevice();

    const DeviceKind& Kind() const { return FKind; }
    std::u16string_view LogicalDeviceName() const { return FLogicalDeviceName.View(); }
    // The handler slots in slot order.
    const std::vector<HandlerSlotBase*>& HandlerSlots() const { return FSlots; }

protected:
    TZORVDeviceControl(TComponent* owner, const DeviceKind& kind, std::initializer_list<HandlerSlotBase*> slots);

    void FillControlDescriptor() override;

private:
    const DeviceKind& FKind;
    // The variable Open receives by reference.
    com::Bstr FLogicalDeviceName;
    TControlDescriptor FDescriptor;
    std::vector<HandlerSlotBase*> FSlots;
};

} // namespace zorv::devices
