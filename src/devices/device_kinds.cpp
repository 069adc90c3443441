#include "devices/device_kinds.h"

namespace zorv::devices {

const DeviceKind* FindKind(std::u16string_view displayName) {
    for (const DeviceKind& kind : DeviceKinds())
        if (kind.displayName == displayName)
            return &kind;
    return nullptr;
}

std::u16string_view EventName(DeviceEventId event) {
    switch (event) {
    case DeviceEventId::DataEvent:
        return u"DataEvent";
    case DeviceEventId::DirectIOEvent:
        return u"DirectIOEvent";
    case DeviceEventId::ErrorEvent:
        return u"ErrorEvent";
    case DeviceEventId::OutputCompleteEvent:
        return u"OutputCompleteEvent";
    case DeviceEventId::StatusUpdateEvent:
        return u"StatusUpdateEvent";
    }
    return u"";
}

} // namespace zorv::devices
