#include "devices/device_control.h"

#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"
#include "platform/com/variant_value.h"

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
        outside::CheckResult(com::FindClass(progId, &clsid));
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

template <class Call>
void TZORVDeviceControl::Observed(std::u16string_view member, std::u16string argument, Call&& call) {
    if (!FCallObserver) {
        call();
        return;
    }
    DeviceCall seen{member, std::move(argument), std::nullopt, {}};
    try {
        seen.result = call();
    } catch (const std::exception& error) {
        seen.failure = outside::ErrorText(error);
        FCallObserver(*this, seen);
        throw;
    }
    FCallObserver(*this, seen);
}

namespace {

// A method's answer as a result code, when it is a number.
std::optional<LONG> ResultOf(const com::Variant& answer) {
    com::Variant code;
    if (FAILED(VariantChangeType(&code, &answer, 0, VT_I4)))
        return std::nullopt;
    return code.lVal;
}

} // namespace

void TZORVDeviceControl::OpenDevice(std::u16string_view name) {
    FLogicalDeviceName = com::Bstr(name);
    Observed(u"Open", std::u16string(name), [&] {
        return ResultOf(
            outside::CallMethod(DeviceObject().Get(), u"Open", {outside::Arg::Ref(FLogicalDeviceName)}));
    });
    for (const OpenStep step : FKind.openSteps) {
        switch (step) {
        case OpenStep::Claim:
            Observed(u"Claim", u"1000", [&] {
                return ResultOf(outside::CallMethod(DeviceObject().Get(), u"Claim", {kClaimTimeout}));
            });
            break;
        case OpenStep::EnableDevice:
            PutTrue(u"DeviceEnabled");
            break;
        case OpenStep::EnableDataEvents:
            PutTrue(u"DataEventEnabled");
            break;
        }
    }
}

void TZORVDeviceControl::PutTrue(std::u16string_view property) {
    Observed(property, u"True", [&]() -> std::optional<LONG> {
        outside::PutProperty(DeviceObject().Get(), property, true);
        return std::nullopt;
    });
}

void TZORVDeviceControl::CloseDevice() {
    Observed(u"Close", {}, [&] { return ResultOf(outside::CallMethod(DeviceObject().Get(), u"Close")); });
}

} // namespace zorv::devices
