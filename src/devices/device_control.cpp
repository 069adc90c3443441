#include "devices/device_control.h"

#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"

namespace zorv::devices {
namespace {

// Every kind's events answer 1, 2, ... in slot order.
constexpr std::int32_t kEventDispIds[] = {1, 2, 3, 4};
constexpr std::int32_t kDescriptorVersion = 401;
constexpr LONG kClaimTimeout = 1000;

// Names the reason when a registration file declared the ProgID but it could not be served.
void ShowUnregisteredWarning(std::u16string_view progId, const outside::EOleError& error) {
    std::u16string text = std::u16string(progId) + u" : " + outside::ErrorText(error);
    if (const auto why = com::WhyProgIDUnavailable(progId))
        text += u" (" + com::Utf8ToUtf16(*why) + u")";
    outside::ShowMessageBox(text, ui::Icon::Warning);
}

} // namespace

TZORVDeviceControl::TZORVDeviceControl(TComponent* owner, const DeviceKind& kind,
                                       std::initializer_list<HandlerSlotBase*> slots)
    : TOleControl(owner), FKind(kind), FSlots(slots) {}

void TZORVDeviceControl::FillControlDescriptor() {
    CLSID clsid = CLSID_NULL;
    const std::u16string progId(FKind.progId);
    try {
        outside::CheckResult(CLSIDFromProgID(progId.c_str(), &clsid));
    } catch (const outside::EOleError& error) {
        ShowUnregisteredWarning(FKind.progId, error);
        throw;
    }
    FDescriptor.ClassId = clsid;
    FDescriptor.Version = kDescriptorVersion;
    FDescriptor.EventCount = static_cast<std::int32_t>(FSlots.size());
    FDescriptor.EventDispIds = kEventDispIds;
    FDescriptor.FirstHandlerSlot = FSlots.data();
    SetControlData(&FDescriptor);
}

void TZORVDeviceControl::OpenDevice(std::u16string_view name) {
    FLogicalDeviceName = com::Bstr(name);
    outside::CallMethod(DeviceObject().Get(), u"Open", {outside::Arg::Ref(FLogicalDeviceName)});
    for (const OpenStep step : FKind.openSteps) {
        switch (step) {
        case OpenStep::Claim: outside::CallMethod(DeviceObject().Get(), u"Claim", {kClaimTimeout}); break;
        case OpenStep::EnableDevice: outside::PutProperty(DeviceObject().Get(), u"DeviceEnabled", true); break;
        case OpenStep::EnableDataEvents:
            outside::PutProperty(DeviceObject().Get(), u"DataEventEnabled", true);
            break;
        }
    }
}

void TZORVDeviceControl::CloseDevice() { outside::CallMethod(DeviceObject().Get(), u"Close"); }

} // namespace zorv::devices
