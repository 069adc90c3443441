#include "app/data_event_input.h"

#include <exception>

#include "outside/late_bound.h"

namespace zorv::app {
namespace {

using devices::DeviceKindId;

// Per kind: the property holding the input's text and the one holding its number.
struct InputProperties {
    DeviceKindId kind;
    const char16_t* text;
    const char16_t* number;
};

constexpr InputProperties kInputs[] = {
    {DeviceKindId::Scanner, u"ScanDataLabel", u"ScanDataType"},
    {DeviceKindId::MSR, u"AccountNumber", nullptr},
    {DeviceKindId::POSKeyboard, nullptr, u"POSKeyData"},
};

} // namespace

void ReadDataEventInput(DeviceKindId kind, IDispatch* device, views::EventLogEntry& entry) {
    if (device == nullptr)
        return;
    for (const InputProperties& input : kInputs) {
        if (input.kind != kind)
            continue;
        try {
            if (input.text != nullptr)
                entry.input = outside::ToText(outside::GetProperty(device, input.text));
            // Without decoding a scanner has no label: its raw data stands in.
            if (kind == DeviceKindId::Scanner && entry.input.empty())
                entry.input = outside::ToText(outside::GetProperty(device, u"ScanData"));
            if (input.number != nullptr)
                entry.inputNumber = outside::ToLong(outside::GetProperty(device, input.number));
            entry.hasInput = true;
        } catch (const std::exception&) {
            // A device that cannot say: the log shows the event's own values.
        }
        return;
    }
}

} // namespace zorv::app
